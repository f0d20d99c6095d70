#pragma once

// Runs a frame through the real port component the way the transfer engine paces it:
// one byte, then wait for its echo and the meter's answer before the next.

#include "link/SpComPort.h"

#include <QTest>

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace zmt::sim::test {

class PortExchange {
  public:
    // `runUntilQuiet` lets the exchange run until the line has nothing more to bring; by
    // default in real time (for a meter that runs on the machine's clock).
    explicit PortExchange(link::TSpComPort& port, std::function<void()> runUntilQuiet = {})
        : port_(port), runUntilQuiet_(std::move(runUntilQuiet)) {
        port_.OnDataRecived = [this](link::TSpComPort* sender, int) { take(*sender); };
        if (!runUntilQuiet_) runUntilQuiet_ = [this] { waitForQuiet(); };
    }

    // Sends `frame` and returns what came back once the line has fallen quiet.
    std::vector<std::uint8_t> run(const std::vector<std::uint8_t>& frame) {
        frame_ = frame;
        received_.clear();
        sent_ = 0;
        sendNext();
        runUntilQuiet_();
        return received_;
    }

  private:
    void take(link::TSpComPort& port) {
        while (port.InBufUsed() > 0) received_.push_back(port.ReadChar());
        if (received_.size() == 2 * sent_) sendNext();
    }

    void sendNext() {
        if (sent_ >= frame_.size()) return;
        port_.WriteChar(frame_[sent_++]);
    }

    // Quiet for 700 ms, longer than the pause after which the meter takes the next byte as
    // the start of a new frame. Bounded: a frame of 65 bytes needs well under a second.
    void waitForQuiet() {
        std::size_t seen = 0;
        for (int quietRounds = 0, round = 0; quietRounds < 14 && round < 400; ++round) {
            QTest::qWait(50);
            quietRounds = received_.size() == seen ? quietRounds + 1 : 0;
            seen = received_.size();
        }
    }

    link::TSpComPort& port_;
    std::function<void()> runUntilQuiet_;
    std::vector<std::uint8_t> frame_;
    std::vector<std::uint8_t> received_;
    std::size_t sent_ = 0;
};

// The port as the transfer window holds it: 9600 bit/s, DTR and RTS low.
inline void ConfigureLikeTransferWindow(link::TSpComPort& port, int comNumber) {
    port.setBaudRate(link::br9600);
    port.setComNumber(comNumber);
    port.setDTR(false);
    port.setRTS(false);
    port.Loaded();
}

}  // namespace zmt::sim::test
