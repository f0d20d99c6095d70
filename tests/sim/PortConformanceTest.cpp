// The simulated interface and meter behind the real port component.

#include "PortExchange.h"
#include "SimTestSupport.h"
#include "VirtualBench.h"

#include <gtest/gtest.h>

#include <QTest>

#include <functional>
#include <string>
#include <vector>

namespace zmt::sim {
namespace {

using namespace std::chrono_literals;
using test::ImageFromAnswers;
using test::ReadFrame;
using test::SampleImage;
using test::WriteFrame;

constexpr int MeterPort = 2;

// The real port component with its threads over the station, on a virtual clock.
struct SimulatedPortBench : ::testing::Test {
    zmt::test::VirtualBench wire;
    std::shared_ptr<SimulatedStation> meter = wire.bench->addStation(MeterPort);
    link::TSpComPort port{nullptr, "RS232", wire.deviceFactory()};
    test::PortExchange exchange{port, [this] { runUntilQuiet(); }};

    void SetUp() override {
        wire.watchPort(port);
        test::ConfigureLikeTransferWindow(port, MeterPort);
        port.Open();
    }
    // Until nothing more is under way on the wire.
    void runUntilQuiet() {
        wire.time.runUntil([] { return false; }, std::chrono::minutes(1));
    }

    void powerUp() {
        port.setDTR(true);
        wire.time.runFor(LineTiming{}.startup);
    }

    void powerCycle() {
        port.setDTR(false);
        wire.time.runFor(50ms);
        powerUp();
    }
};

TEST_F(SimulatedPortBench, OpeningLeavesTheMeterUnpowered) {
    EXPECT_TRUE(meter->isAttached());
    EXPECT_FALSE(meter->dtr());
    EXPECT_FALSE(meter->rts());
}

TEST_F(SimulatedPortBench, ReadFrameReturnsTheStoredImage) {
    meter->setStoredImage(SampleImage());
    powerUp();
    const auto received = exchange.run(ReadFrame());
    ASSERT_EQ(received.size(), 66u);
    EXPECT_EQ(received[0], CommandByte);
    EXPECT_EQ(received[1], CommandByte);
    EXPECT_EQ(ImageFromAnswers(received), SampleImage());
}

TEST_F(SimulatedPortBench, WriteFrameStoresTheImageForTheNextPowerUp) {
    powerUp();
    EXPECT_EQ(exchange.run(WriteFrame(SampleImage())).size(), 130u);
    EXPECT_EQ(meter->storedImage(), SampleImage());
    EXPECT_EQ(meter->activeImage(), FactoryImage());
    powerCycle();
    EXPECT_EQ(meter->activeImage(), SampleImage());
    EXPECT_EQ(meter->powerUps(), 2);
    EXPECT_EQ(ImageFromAnswers(exchange.run(ReadFrame())), SampleImage());
}

TEST_F(SimulatedPortBench, SignalLineSwitchesTheCalibrationSignalIn) {
    meter->setInput(5);
    powerUp();
    EXPECT_EQ(meter->displayText(), "500");
    port.setRTS(true);
    EXPECT_EQ(meter->displayText(), "2000");
    port.setRTS(false);
    EXPECT_EQ(meter->displayText(), "500");
}

TEST_F(SimulatedPortBench, NoAnswerWhileUnpoweredOrStarting) {
    // The frame goes out at once after power-up, while the meter still starts.
    for (bool powered : {false, true}) {
        if (powered) port.setDTR(true);
        // Only the interface's echo of the command byte: nothing answers it.
        EXPECT_EQ(exchange.run(ReadFrame()), std::vector<std::uint8_t>{CommandByte})
            << (powered ? "starting" : "unpowered");
    }
}

struct PortFaultCase {
    const char* name;
    Fault fault;
    std::vector<std::uint8_t> frame;
    std::function<void(const std::vector<std::uint8_t>&, SimulatedStation&)> check;
};

class SimulatedPortFault : public SimulatedPortBench,
                           public ::testing::WithParamInterface<PortFaultCase> {};

TEST_P(SimulatedPortFault, ShowsOnTheWireAsTheTransferSeesIt) {
    meter->setFault(GetParam().fault);
    powerUp();
    GetParam().check(exchange.run(GetParam().frame), *meter);
}

const PortFaultCase PortFaultCases[] = {
    {"no_interface", Fault::noInterface(), ReadFrame(),
     [](const auto& r, auto&) { EXPECT_TRUE(r.empty()); }},
    {"echo_only", Fault::noMeter(), ReadFrame(),
     [](const auto& r, auto&) { EXPECT_EQ(r, std::vector<std::uint8_t>{CommandByte}); }},
    {"stop_after_9", Fault::stopAfter(9), ReadFrame(),
     [](const auto& r, auto&) { EXPECT_EQ(r.size(), 9u); }},
    {"one_extra_byte", Fault::extraByte(), ReadFrame(),
     [](const auto& r, auto&) {
         ASSERT_EQ(r.size(), 67u);
         EXPECT_EQ(ImageFromAnswers(r), FactoryImage());
     }},
    {"wrong_answer", Fault::wrongAnswer(), ReadFrame(),
     [](const auto& r, auto&) {
         ASSERT_GE(r.size(), 2u);
         EXPECT_EQ(r[0], CommandByte);
         EXPECT_NE(r[1], CommandByte);
     }},
    {"gone_mid_write", Fault::disappearAfter(20), WriteFrame(SampleImage()),
     [](const auto& r, auto& m) {
         EXPECT_EQ(r.size(), 38u);
         EXPECT_TRUE(m.gone());
         EXPECT_EQ(m.storedImage(), FactoryImage());
     }},
    {"slow_answers", Fault::slowAnswers(60ms), ReadFrame(),
     [](const auto& r, auto&) {
         ASSERT_EQ(r.size(), 66u);
         EXPECT_EQ(ImageFromAnswers(r), FactoryImage());
     }},
};

INSTANTIATE_TEST_SUITE_P(Faults, SimulatedPortFault, ::testing::ValuesIn(PortFaultCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zmt::sim
