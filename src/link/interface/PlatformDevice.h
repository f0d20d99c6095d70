#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace zmt::link {

// The comm state record of a port: the 28-byte device control block that the component
// rebuilds from its properties and the core applies to the device.
struct CommState {
    std::uint32_t DCBlength = 28;
    std::uint32_t BaudRate = 0;
    std::uint32_t Flags = 0;  // binary 0x1, parity check 0x2, DTR control 0x10, ...
    std::uint16_t wReserved = 0;
    std::uint16_t XonLim = 0;
    std::uint16_t XoffLim = 0;
    std::uint8_t ByteSize = 8;
    std::uint8_t Parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::uint8_t StopBits = 0;  // 0 one, 1 one and a half, 2 two
    char XonChar = 17;
    char XoffChar = 19;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;
    std::uint16_t wReserved1 = 0;
};

// Flag bits of CommState::Flags.
namespace dcb {
inline constexpr std::uint32_t Binary = 0x1;
inline constexpr std::uint32_t ParityCheck = 0x2;
inline constexpr std::uint32_t OutxCtsFlow = 0x4;
inline constexpr std::uint32_t OutxDsrFlow = 0x8;
inline constexpr std::uint32_t DtrControlEnable = 0x10;
inline constexpr std::uint32_t DtrControlHandshake = 0x20;
inline constexpr std::uint32_t DsrSensitivity = 0x40;
inline constexpr std::uint32_t TxContinueOnXoff = 0x80;
inline constexpr std::uint32_t OutX = 0x100;
inline constexpr std::uint32_t InX = 0x200;
inline constexpr std::uint32_t ErrorChar = 0x400;
inline constexpr std::uint32_t Null = 0x800;
inline constexpr std::uint32_t RtsControlEnable = 0x1000;
inline constexpr std::uint32_t RtsControlHandshake = 0x2000;
}  // namespace dcb

// Comm event mask bits.
namespace ev {
inline constexpr std::uint32_t RxChar = 0x1;
inline constexpr std::uint32_t TxEmpty = 0x4;
inline constexpr std::uint32_t Cts = 0x8;
inline constexpr std::uint32_t Dsr = 0x10;
inline constexpr std::uint32_t Rlsd = 0x20;
inline constexpr std::uint32_t Err = 0x80;
inline constexpr std::uint32_t Ring = 0x100;
inline constexpr std::uint32_t DefaultMask = 0x1B9;  // RxChar|Cts|Dsr|Rlsd|Err|Ring
}  // namespace ev

// Line error bits reported with the status.
namespace ce {
inline constexpr std::uint32_t RxOver = 0x1;
inline constexpr std::uint32_t Overrun = 0x2;
inline constexpr std::uint32_t RxParity = 0x4;
inline constexpr std::uint32_t Frame = 0x8;
inline constexpr std::uint32_t Break = 0x10;
inline constexpr std::uint32_t IoError = 0x400;  // the device went away
}  // namespace ce

// The modem line functions (escape codes).
enum class LineFunction { SetRts = 3, ClrRts = 4, SetDtr = 5, ClrDtr = 6 };

// Purge flags.
namespace purge {
inline constexpr std::uint32_t TxAbort = 0x1;
inline constexpr std::uint32_t RxAbort = 0x2;
inline constexpr std::uint32_t TxClear = 0x4;
inline constexpr std::uint32_t RxClear = 0x8;
}  // namespace purge

// Why an open failed, so that a message can say what the user can do about it.
enum class OpenFailure { None, NoSuchDevice, Busy, PermissionDenied, NotSerial, Other };

struct OpenResult {
    OpenFailure failure = OpenFailure::None;
    int errorNumber = 0;  // errno of the failing call, 0 when none
    std::string path;     // what the port number resolved to
    bool ok() const { return failure == OpenFailure::None; }
};

struct CommStatus {
    std::uint32_t errors = 0;        // line error bits (ce::...)
    std::uint32_t bytesWaiting = 0;  // input bytes waiting in the driver
    std::uint32_t outQueue = 0;      // output bytes not yet sent
};

enum class WaitResult {
    Event,      // a comm event completed; `mask` says which (0 when the mask was changed)
    Cancelled,  // cancelWait() was called
    TimedOut,   // nothing within the time-out
    Failed      // the device cannot wait (gone); the caller must not retry at once
};

// One serial device as the port core needs it. Implementations: the POSIX terminal
// backend and the simulated programming interface. All calls may come from any thread;
// waitEvent() runs in the event thread while the others run elsewhere, and
// cancelWait() must wake it at once.
class PlatformDevice {
  public:
    virtual ~PlatformDevice() = default;

    // Opens port COM<number> exclusively. On failure the device stays closed.
    virtual OpenResult open(int number) = 0;
    virtual bool isOpen() const = 0;
    // Reads return at once with what is waiting; writes never time out.
    virtual bool setTimeouts() = 0;
    virtual bool setQueueSizes(int inSize, int outSize) = 0;
    // Setting the mask completes a pending wait with mask 0.
    virtual bool setEventMask(std::uint32_t mask) = 0;
    virtual bool setCommState(const CommState& state) = 0;
    virtual bool getCommState(CommState& state) = 0;
    // A refused line function returns false; callers ignore it.
    virtual bool lineFunction(LineFunction function) = 0;
    virtual bool status(CommStatus& status) = 0;
    // Non-blocking: returns the number of bytes read (0 when none waits), -1 on failure.
    virtual int read(std::uint8_t* buffer, int count) = 0;
    // Returns the number of bytes the device took, -1 on failure.
    virtual int write(const std::uint8_t* buffer, int count) = 0;
    virtual bool purge(std::uint32_t flags) = 0;
    // Waits up to timeoutMs for a comm event of the mask or for cancelWait(). The core
    // wakes the wait with cancelWait() for its own signals (stop, transmit drained).
    // A cancelWait() that comes while no wait runs makes the next wait return at once.
    virtual WaitResult waitEvent(int timeoutMs, std::uint32_t& mask) = 0;
    virtual void cancelWait() = 0;
    // Waits up to timeoutMs until write() can take more bytes, or for cancelWriteWait();
    // false when the device cannot take any more (gone). A device whose write() always
    // takes everything keeps these defaults.
    virtual bool waitWritable(int timeoutMs) {
        (void)timeoutMs;
        return true;
    }
    virtual void cancelWriteWait() {}
    virtual void close() = 0;
};

// Makes the device for a port; the port component holds one factory, so that tests and
// the demo can put the simulated interface behind every COM port.
using PlatformDeviceFactory = std::function<std::unique_ptr<PlatformDevice>()>;

}  // namespace zmt::link
