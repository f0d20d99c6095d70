#pragma once

#include "sim/InterfaceAndMeter.h"
#include "sim/MeterImage.h"

#include <chrono>
#include <cstdint>
#include <vector>

namespace zmt::sim::test {

using namespace std::chrono_literals;

// A read frame: the command byte and 32 zero bytes.
inline std::vector<std::uint8_t> ReadFrame() {
    std::vector<std::uint8_t> frame(33, 0);
    frame[0] = CommandByte;
    return frame;
}

// A write frame carrying `image`.
inline std::vector<std::uint8_t> WriteFrame(const ImageWords& image) {
    std::vector<std::uint8_t> frame = ReadFrame();
    for (int i = 0; i < ImageByteCount; ++i) frame.push_back(ImageByte(image, i));
    return frame;
}

// The image a read frame returns: the meter's answers to bytes 1..32.
inline ImageWords ImageFromAnswers(const std::vector<std::uint8_t>& received) {
    ImageWords image{};
    for (int i = 0; i < ImageByteCount && 3 + 2 * i < static_cast<int>(received.size()); ++i)
        SetImageByte(image, i, received[static_cast<std::size_t>(3 + 2 * i)]);
    return image;
}

inline ImageWords SampleImage() {
    return {65533, 100,   8233,  2049,  0xC0,  2,     3538,  3438,
            7,     10000, 12000, 10000, 12000, 11500, 11400, 1};
}

// Plays the wire on simulated time: a clock the test moves by hand.
struct WireClock {
    SimTime now = SimTime{} + 1h;

    void pass(InterfaceAndMeter& line, SimDuration d, std::vector<std::uint8_t>& received) {
        now += d;
        line.advance(now);
        std::uint8_t buffer[256];
        for (int n = line.takeReceived(buffer, 256); n > 0; n = line.takeReceived(buffer, 256))
            received.insert(received.end(), buffer, buffer + n);
    }

    // Sends the frame one byte every 40 ms, as the transfer engine paces it, then waits a
    // second for stragglers; returns everything that came back.
    std::vector<std::uint8_t> exchange(InterfaceAndMeter& line,
                                       const std::vector<std::uint8_t>& frame) {
        std::vector<std::uint8_t> received;
        for (std::uint8_t byte : frame) {
            line.hostWrite(&byte, 1, now);
            pass(line, 40ms, received);
        }
        pass(line, 1s, received);
        return received;
    }

    // DTR up and the start-up waited out.
    void powerUp(InterfaceAndMeter& line) {
        line.setDtr(true, now);
        std::vector<std::uint8_t> ignored;
        pass(line, MeterStartup + 100ms, ignored);
    }

    void powerCycle(InterfaceAndMeter& line) {
        line.setDtr(false, now);
        std::vector<std::uint8_t> ignored;
        pass(line, 500ms, ignored);
        powerUp(line);
    }
};

}  // namespace zmt::sim::test
