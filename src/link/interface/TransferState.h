#pragma once

#include <array>
#include <climits>
#include <cstdint>

namespace zmt {

// The shared state of one byte exchange with the programming interface. Callers fill the
// send side; the transfer engine fills the receive side.
struct TransferState {
    static constexpr int SendCapacity = 128;
    // A write frame expects 130 bytes and one more is accepted; bytes past the capacity
    // are counted but never stored.
    static constexpr int ReceiveCapacity = 256;

    std::array<std::uint16_t, SendCapacity> SendBuffer{};  // low byte of entry k is sent k-th
    std::int32_t SendCount = 0;
    std::int32_t ExpectedCount = 0;
    std::uint8_t TransferKind = 0;  // 1: interface check, send only the first byte

    std::array<std::uint16_t, ReceiveCapacity> ReceiveBuffer{};
    std::int32_t ReceiveCount = 0;
    std::uint8_t NextByte = 0;
    bool ByteReceived = false;
    bool ReceiveTimedOut = false;
    bool TransferStarted = false;

    // Stores one received byte at ReceiveCount (when it fits) and counts it.
    void StoreReceived(std::uint8_t byte) {
        if (ReceiveCount >= 0 && ReceiveCount < ReceiveCapacity) ReceiveBuffer[ReceiveCount] = byte;
        if (ReceiveCount < INT32_MAX) ++ReceiveCount;
    }
    // Receive entry k, or 0 when k lies outside the buffer.
    std::uint16_t received(int k) const {
        return (k >= 0 && k < ReceiveCapacity) ? ReceiveBuffer[k] : 0;
    }
};

}  // namespace zmt
