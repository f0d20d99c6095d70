#include "SimTestSupport.h"
#include "sim/InterfaceAndMeter.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace zmt::sim {
namespace {

using namespace std::chrono_literals;
using test::ImageFromAnswers;
using test::ReadFrame;
using test::SampleImage;
using test::WireClock;
using test::WriteFrame;

std::vector<std::uint8_t> Echoes(const std::vector<std::uint8_t>& received) {
    std::vector<std::uint8_t> echoes;
    for (std::size_t i = 0; i < received.size(); i += 2) echoes.push_back(received[i]);
    return echoes;
}

TEST(InterfaceAndMeter, ReadFrameReturnsEchoAndImageInPairs) {
    InterfaceAndMeter line({}, SampleImage());
    WireClock clock;
    clock.powerUp(line);
    const auto received = clock.exchange(line, ReadFrame());
    ASSERT_EQ(received.size(), 66u);
    EXPECT_EQ(received[0], CommandByte);
    EXPECT_EQ(received[1], CommandByte);
    EXPECT_EQ(Echoes(received), ReadFrame());
    EXPECT_EQ(ImageFromAnswers(received), SampleImage());
}

TEST(InterfaceAndMeter, WrittenImageIsUsedOnlyFromTheNextPowerUp) {
    InterfaceAndMeter line;
    WireClock clock;
    clock.powerUp(line);
    EXPECT_EQ(clock.exchange(line, WriteFrame(SampleImage())).size(), 130u);
    EXPECT_EQ(line.storedImage(), SampleImage());
    EXPECT_EQ(line.activeImage(), FactoryImage());
    EXPECT_EQ(line.imagesStored(), 1);
    // A read before the power cycle already hands out the stored image.
    EXPECT_EQ(ImageFromAnswers(clock.exchange(line, ReadFrame())), SampleImage());
    clock.powerCycle(line);
    EXPECT_EQ(line.activeImage(), SampleImage());
    EXPECT_EQ(line.powerUps(), 2);
}

TEST(InterfaceAndMeter, EchoThenAnswerEachTakeOneByteTime) {
    InterfaceAndMeter line;
    WireClock clock;
    clock.powerUp(line);
    const SimDuration byteTime = line.format().byteTime();
    const double byteMs = std::chrono::duration<double, std::milli>(byteTime).count();
    EXPECT_NEAR(byteMs, 1.0417, 0.001);
    const std::uint8_t command = CommandByte;
    line.hostWrite(&command, 1, clock.now);
    EXPECT_EQ(line.nextEventAt(), clock.now + byteTime);
    line.advance(clock.now + byteTime);
    EXPECT_EQ(line.bytesWaiting(), 1);  // the echo
    EXPECT_EQ(line.nextEventAt(), clock.now + 2 * byteTime);
    line.advance(clock.now + 2 * byteTime);
    EXPECT_EQ(line.bytesWaiting(), 2);  // and the meter's answer
    EXPECT_FALSE(line.nextEventAt());   // an idle line has nothing scheduled
}

TEST(InterfaceAndMeter, BytesWrittenTogetherQueueOnTheWire) {
    InterfaceAndMeter line;
    WireClock clock;
    clock.powerUp(line);
    const auto frame = ReadFrame();
    line.hostWrite(frame.data(), 3, clock.now);
    EXPECT_EQ(line.bytesToSend(), 3);
    line.advance(clock.now + 2 * line.format().byteTime());
    EXPECT_EQ(line.bytesToSend(), 1);
}

struct SilenceCase {
    const char* name;
    std::function<void(InterfaceAndMeter&, WireClock&)> prepare;
    std::size_t expectedBytes;  // all of them echoes
};

TEST(InterfaceAndMeter, MeterStaysSilentUnlessPoweredStartedAndSpokenToRight) {
    const std::vector<SilenceCase> cases = {
        {"unpowered", [](InterfaceAndMeter&, WireClock&) {}, 33},
        {"starting", [](InterfaceAndMeter& l, WireClock& c) { l.setDtr(true, c.now); }, 33},
        {"powered off again",
         [](InterfaceAndMeter& l, WireClock& c) {
             c.powerUp(l);
             l.setDtr(false, c.now);
         },
         33},
        {"wrong baud rate",
         [](InterfaceAndMeter& l, WireClock& c) {
             l.setFormat({4800, 8, 0, 0});
             c.powerUp(l);
         },
         33},
        {"even parity",
         [](InterfaceAndMeter& l, WireClock& c) {
             l.setFormat({9600, 8, 2, 0});
             c.powerUp(l);
         },
         33},
    };
    for (const auto& c : cases) {
        InterfaceAndMeter line;
        WireClock clock;
        c.prepare(line, clock);
        const auto received = clock.exchange(line, ReadFrame());
        EXPECT_EQ(received, ReadFrame()) << c.name;
        EXPECT_EQ(received.size(), c.expectedBytes) << c.name;
    }
}

TEST(InterfaceAndMeter, AnswersOnceStartedUp) {
    InterfaceAndMeter line;
    WireClock clock;
    line.setDtr(true, clock.now);
    std::vector<std::uint8_t> received;
    clock.pass(line, MeterStartup - 100ms, received);
    const std::uint8_t command = CommandByte;
    line.hostWrite(&command, 1, clock.now);
    clock.pass(line, 200ms, received);
    EXPECT_EQ(received.size(), 1u);  // still starting: only the echo
    EXPECT_TRUE(line.ready(clock.now));
    line.hostWrite(&command, 1, clock.now);
    clock.pass(line, 40ms, received);
    EXPECT_EQ(received, (std::vector<std::uint8_t>{CommandByte, CommandByte, CommandByte}));
}

TEST(InterfaceAndMeter, PauseRestartsTheFrame) {
    InterfaceAndMeter line;
    WireClock clock;
    clock.powerUp(line);
    auto frame = ReadFrame();
    frame.resize(5);
    clock.exchange(line, frame);  // ends with a one-second pause
    const auto received = clock.exchange(line, ReadFrame());
    EXPECT_EQ(ImageFromAnswers(received), FactoryImage());
    EXPECT_EQ(received[1], CommandByte);
}

TEST(InterfaceAndMeter, PowerLossDropsAnUnfinishedWrite) {
    InterfaceAndMeter line;
    WireClock clock;
    clock.powerUp(line);
    auto frame = WriteFrame(SampleImage());
    frame.resize(60);
    clock.exchange(line, frame);
    clock.powerCycle(line);
    EXPECT_EQ(line.storedImage(), FactoryImage());
    EXPECT_EQ(line.imagesStored(), 0);
}

struct FaultCase {
    const char* name;
    Fault fault;
    std::vector<std::uint8_t> frame;
    std::function<void(const std::vector<std::uint8_t>&, const InterfaceAndMeter&)> check;
};

TEST(InterfaceAndMeter, FaultModes) {
    const auto read = ReadFrame();
    const auto write = WriteFrame(SampleImage());
    const std::vector<FaultCase> cases = {
        {"no interface", Fault::noInterface(), read,
         [](const auto& r, const auto& l) {
             EXPECT_TRUE(r.empty());
             EXPECT_FALSE(l.powered());
         }},
        {"interface without meter", Fault::noMeter(), read,
         [](const auto& r, const auto&) { EXPECT_EQ(r, ReadFrame()); }},
        {"answers stop after 7 bytes", Fault::stopAfter(7), read,
         [](const auto& r, const auto&) {
             ASSERT_EQ(r.size(), 7u);
             EXPECT_EQ(r[1], CommandByte);
         }},
        {"extra byte after a read", Fault::extraByte(), read,
         [](const auto& r, const auto&) {
             ASSERT_EQ(r.size(), 67u);
             EXPECT_EQ(r.back(), ExtraAnswer);
             EXPECT_EQ(ImageFromAnswers(r), FactoryImage());
         }},
        {"extra byte after a write only at its end", Fault::extraByte(), write,
         [](const auto& r, const auto& l) {
             ASSERT_EQ(r.size(), 131u);
             EXPECT_EQ(r.back(), ExtraAnswer);
             EXPECT_EQ(l.storedImage(), SampleImage());
         }},
        {"wrong answer to the command", Fault::wrongAnswer(), read,
         [](const auto& r, const auto&) {
             ASSERT_EQ(r.size(), 66u);
             EXPECT_EQ(r[0], CommandByte);
             EXPECT_EQ(r[1], WrongCommandAnswer);
             EXPECT_EQ(ImageFromAnswers(r), FactoryImage());
         }},
        {"unplugged at the fifth byte", Fault::disappearAfter(5), read,
         [](const auto& r, const auto& l) {
             EXPECT_EQ(r.size(), 8u);
             EXPECT_TRUE(l.gone());
             EXPECT_FALSE(l.powered());
         }},
        {"slow answers still all arrive", Fault::slowAnswers(25ms), read,
         [](const auto& r, const auto&) {
             ASSERT_EQ(r.size(), 66u);
             EXPECT_EQ(ImageFromAnswers(r), FactoryImage());
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InterfaceAndMeter line;
        WireClock clock;
        line.setFault(c.fault, clock.now);
        clock.powerUp(line);
        c.check(clock.exchange(line, c.frame), line);
    }
}

TEST(InterfaceAndMeter, SlowAnswerComesItsDelayAfterTheEcho) {
    InterfaceAndMeter line;
    WireClock clock;
    line.setFault(Fault::slowAnswers(300ms), clock.now);
    clock.powerUp(line);
    const std::uint8_t command = CommandByte;
    line.hostWrite(&command, 1, clock.now);
    std::vector<std::uint8_t> received;
    clock.pass(line, 299ms, received);
    EXPECT_EQ(received.size(), 1u);
    clock.pass(line, 5ms, received);
    EXPECT_EQ(received.size(), 2u);
}

TEST(InterfaceAndMeter, ClearingTheFaultPlugsTheInterfaceBackIn) {
    InterfaceAndMeter line;
    WireClock clock;
    line.setFault(Fault::disappearAfter(1), clock.now);
    clock.powerUp(line);
    clock.exchange(line, {0x00});
    ASSERT_TRUE(line.gone());
    line.setFault(Fault::none(), clock.now);
    EXPECT_FALSE(line.gone());
    clock.powerUp(line);
    EXPECT_EQ(clock.exchange(line, ReadFrame()).size(), 66u);
}

struct ShownCase {
    const char* name;
    MeterAnalog analog;
    double input;
    bool signal;
    const char* text;
};

TEST(InterfaceAndMeter, DisplaysItsInputOrTheCalibrationSignal) {
    const std::vector<ShownCase> cases = {
        {"input value", {20, 0, 1}, 4, false, "400"},
        {"signal switches full scale in", {20, 0, 1}, 4, true, "2000"},
        {"10 V type", {10, 0, 1}, 2.5, false, "500"},
        {"offset error", {20, 12, 1}, 0, false, "12"},
        {"gain error at full scale", {20, 0, 1.0125}, 0, true, "2025"},
    };
    for (const auto& c : cases) {
        InterfaceAndMeter line;
        WireClock clock;
        line.setAnalog(c.analog, clock.now);
        line.setInput(c.input, clock.now);
        line.setRts(c.signal, clock.now);
        EXPECT_FALSE(line.displayed(clock.now)) << c.name;
        clock.powerUp(line);
        ASSERT_TRUE(line.displayed(clock.now)) << c.name;
        EXPECT_EQ(line.displayed(clock.now)->text, c.text) << c.name;
    }
}

TEST(InterfaceAndMeter, ContactFollowsTheInputAndFallsWithThePower) {
    ImageWords image = FactoryImage();
    image[word::ContactOn] = 3048;  // raw 1000
    image[word::ContactOff] = 2848;
    InterfaceAndMeter line({}, image);
    WireClock clock;
    clock.powerUp(line);
    EXPECT_EQ(line.contact(clock.now), ContactState::Open);
    line.setInput(10, clock.now);
    EXPECT_EQ(line.contact(clock.now), ContactState::Closed);
    line.setInput(8.5, clock.now);  // inside the band
    EXPECT_EQ(line.contact(clock.now), ContactState::Closed);
    line.setDtr(false, clock.now);
    EXPECT_EQ(line.contact(clock.now), ContactState::Open);
    clock.powerUp(line);
    EXPECT_EQ(line.contact(clock.now), ContactState::Open);  // restarted inside the band
}

// One meter after another on the same interface: off the interface only the echo comes
// back; put on while DTR is high, the new meter starts and answers after its start-up.
TEST(InterfaceAndMeter, MeterUnpluggedLeavesTheEchoAndAPluggedOneStartsUnderPower) {
    InterfaceAndMeter line({}, SampleImage());
    WireClock clock;
    clock.powerUp(line);
    line.setMeterPlugged(false, clock.now);
    EXPECT_FALSE(line.powered());
    EXPECT_EQ(clock.exchange(line, {CommandByte}), std::vector<std::uint8_t>{CommandByte});

    line.setStoredImage(FactoryImage());
    line.setMeterPlugged(true, clock.now);
    EXPECT_TRUE(line.powered());
    EXPECT_FALSE(line.ready(clock.now));
    std::vector<std::uint8_t> ignored;
    clock.pass(line, MeterStartup, ignored);
    const auto received = clock.exchange(line, ReadFrame());
    ASSERT_EQ(received.size(), 66u);
    EXPECT_EQ(ImageFromAnswers(received), FactoryImage());
}

TEST(InterfaceAndMeter, MeterPluggedWhileUnpoweredWaitsForDtr) {
    InterfaceAndMeter line;
    WireClock clock;
    line.setMeterPlugged(false, clock.now);
    line.setMeterPlugged(true, clock.now);
    EXPECT_FALSE(line.powered());
    line.setMeterPlugged(false, clock.now);
    line.setDtr(true, clock.now);
    EXPECT_FALSE(line.powered());
}

}  // namespace
}  // namespace zmt::sim
