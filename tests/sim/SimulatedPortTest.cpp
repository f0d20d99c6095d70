#include "SimTestSupport.h"
#include "sim/SimulatedBench.h"
#include "sim/SimulatedPort.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>
#include <vector>

namespace zmt::sim {
namespace {

using namespace std::chrono_literals;
using link::WaitResult;
using std::chrono::milliseconds;

// The station on a virtual clock that the test moves itself: nothing runs in between.
struct PortFixture : ::testing::Test {
    VirtualClock clock;
    std::shared_ptr<SimulatedBench> bench = std::make_shared<SimulatedBench>(clock);
    std::shared_ptr<SimulatedStation> com2 = bench->addStation(2);
    link::PlatformDeviceFactory factory = SimulatedDeviceFactory(bench);

    std::unique_ptr<link::PlatformDevice> openPort(int number = 2) {
        auto port = factory();
        EXPECT_TRUE(port->open(number).ok());
        EXPECT_TRUE(port->setEventMask(link::ev::RxChar | link::ev::TxEmpty));
        return port;
    }
    // What has come in after `span` on the wire.
    std::vector<std::uint8_t> receivedAfter(link::PlatformDevice& port, milliseconds span) {
        clock.advanceBy(span);
        std::vector<std::uint8_t> received(256);
        received.resize(std::max(0, port.read(received.data(), 256)));
        return received;
    }
    void startMeter(link::PlatformDevice& port) {
        port.lineFunction(link::LineFunction::SetDtr);
        clock.advanceBy(LineTiming{}.startup);
    }
};

struct OpenCase {
    const char* name;
    int number;
    bool takenFirst;
    link::OpenFailure expected;
};

TEST_F(PortFixture, OpensOnlyFreeStations) {
    const std::vector<OpenCase> cases = {
        {"free station", 2, false, link::OpenFailure::None},
        {"station held by another port", 2, true, link::OpenFailure::Busy},
        {"number without a station", 3, false, link::OpenFailure::NoSuchDevice},
    };
    for (const auto& c : cases) {
        auto holder = factory();
        if (c.takenFirst) {
            ASSERT_TRUE(holder->open(c.number).ok()) << c.name;
        }
        auto port = factory();
        EXPECT_EQ(port->open(c.number).failure, c.expected) << c.name;
        EXPECT_EQ(port->isOpen(), c.expected == link::OpenFailure::None) << c.name;
    }
    EXPECT_FALSE(com2->isAttached());  // every port above closed on destruction
}

TEST_F(PortFixture, LinesDriveThePowerAndTheSignal) {
    auto port = openPort();
    EXPECT_FALSE(com2->powered());
    port->lineFunction(link::LineFunction::SetDtr);
    port->lineFunction(link::LineFunction::SetRts);
    EXPECT_TRUE(com2->powered());
    EXPECT_TRUE(com2->rts());
    EXPECT_EQ(com2->powerUps(), 1);
    port->close();
    // Closing the port lets both lines fall: the meter loses its supply.
    EXPECT_FALSE(com2->powered());
    EXPECT_FALSE(com2->rts());
}

TEST_F(PortFixture, ReadFrameThroughTheDevice) {
    const ImageWords image = test::SampleImage();
    com2->setStoredImage(image);
    auto port = openPort();
    startMeter(*port);
    std::vector<std::uint8_t> received;
    for (std::uint8_t byte : test::ReadFrame()) {
        ASSERT_EQ(port->write(&byte, 1), 1);
        const auto pair = receivedAfter(*port, 40ms);  // the engine's pacing
        received.insert(received.end(), pair.begin(), pair.end());
    }
    EXPECT_EQ(received.size(), 66u);
    EXPECT_EQ(test::ImageFromAnswers(received), image);
}

TEST_F(PortFixture, StatusCountsWaitingAndQueuedBytes) {
    auto port = openPort();
    const auto frame = test::ReadFrame();
    ASSERT_EQ(port->write(frame.data(), 33), 33);
    link::CommStatus status;
    ASSERT_TRUE(port->status(status));
    EXPECT_EQ(status.outQueue, 33u);
    clock.advanceBy(1s);
    ASSERT_TRUE(port->status(status));
    EXPECT_EQ(status.outQueue, 0u);
    EXPECT_EQ(status.bytesWaiting, 33u);  // unpowered: echoes only
}

TEST_F(PortFixture, PurgeDropsWhatWaits) {
    auto port = openPort();
    const auto frame = test::ReadFrame();
    port->write(frame.data(), 4);
    clock.advanceBy(20ms);  // echoed
    ASSERT_TRUE(port->purge(link::purge::RxClear | link::purge::TxClear));
    std::uint8_t buffer[8];
    EXPECT_EQ(port->read(buffer, 8), 0);
}

// The waits on the machine's clock: a thread waits while the test acts.
struct WaitFixture : ::testing::Test {
    std::shared_ptr<SimulatedBench> bench = std::make_shared<SimulatedBench>();
    std::shared_ptr<SimulatedStation> com2 = bench->addStation(2);

    std::unique_ptr<link::PlatformDevice> openPort() {
        auto port = SimulatedDeviceFactory(bench)();
        EXPECT_TRUE(port->open(2).ok());
        EXPECT_TRUE(port->setEventMask(link::ev::RxChar | link::ev::TxEmpty));
        return port;
    }
    // Until a thread waits on the station.
    void awaitWaiter() {
        for (int round = 0; round < 100000 && !com2->PortWaiting(); ++round)
            std::this_thread::yield();
        ASSERT_TRUE(com2->PortWaiting());
    }
};

TEST_F(WaitFixture, CancelWaitWakesAWaiterAndIsKeptForTheNextWait) {
    auto port = openPort();
    auto waiter = std::async(std::launch::async, [&port] {
        std::uint32_t mask = 0;
        return port->waitEvent(20000, mask);
    });
    awaitWaiter();
    port->cancelWait();
    EXPECT_EQ(waiter.get(), WaitResult::Cancelled);
    port->cancelWait();  // nobody waits: the next wait returns at once
    std::uint32_t mask = 0;
    EXPECT_EQ(port->waitEvent(20000, mask), WaitResult::Cancelled);
    EXPECT_EQ(port->waitEvent(10, mask), WaitResult::TimedOut);
}

TEST_F(WaitFixture, NewMaskCompletesAPendingWaitWithMaskZero) {
    auto port = openPort();
    auto waiter = std::async(std::launch::async, [&port] {
        std::uint32_t mask = 99;
        const WaitResult result = port->waitEvent(20000, mask);
        return std::make_pair(result, mask);
    });
    awaitWaiter();
    port->setEventMask(link::ev::RxChar);
    const auto [result, mask] = waiter.get();
    EXPECT_EQ(result, WaitResult::Event);
    EXPECT_EQ(mask, 0u);
}

TEST_F(WaitFixture, WaitReportsReceivedBytesAndDrainedOutput) {
    auto port = openPort();
    const std::uint8_t byte = 0x11;
    port->write(&byte, 1);
    std::uint32_t seen = 0;
    for (int i = 0; i < 10 && seen != (link::ev::RxChar | link::ev::TxEmpty); ++i) {
        std::uint32_t mask = 0;
        if (port->waitEvent(1000, mask) == WaitResult::Event) seen |= mask;
    }
    EXPECT_EQ(seen, link::ev::RxChar | link::ev::TxEmpty);
}

TEST_F(PortFixture, UnpluggedInterfaceFailsEveryCallUntilPluggedBackIn) {
    com2->setFault(Fault::disappearAfter(2));
    auto port = openPort();
    const auto frame = test::ReadFrame();
    port->write(frame.data(), 3);
    clock.advanceBy(10ms);
    std::uint32_t mask = 0;
    EXPECT_EQ(port->waitEvent(100, mask), WaitResult::Failed);
    std::uint8_t buffer[4];
    EXPECT_EQ(port->read(buffer, 4), -1);
    EXPECT_EQ(port->write(buffer, 1), -1);
    link::CommStatus status;
    EXPECT_FALSE(port->status(status));
    EXPECT_EQ(status.errors, link::ce::IoError);
    EXPECT_FALSE(port->lineFunction(link::LineFunction::SetDtr));
    port->close();
    auto again = factory();
    EXPECT_EQ(again->open(2).failure, link::OpenFailure::NoSuchDevice);
    com2->setFault(Fault::none());
    EXPECT_TRUE(again->open(2).ok());
}

TEST_F(PortFixture, CommStateSelectsTheLineFormat) {
    auto port = openPort();
    link::CommState state;
    ASSERT_TRUE(port->getCommState(state));
    EXPECT_EQ(state.BaudRate, 9600u);
    state.BaudRate = 19200;
    ASSERT_TRUE(port->setCommState(state));
    startMeter(*port);
    const std::uint8_t command = CommandByte;
    port->write(&command, 1);
    // At the wrong rate only the interface's loop-back answers.
    EXPECT_EQ(receivedAfter(*port, 1s), std::vector<std::uint8_t>{CommandByte});
}

}  // namespace
}  // namespace zmt::sim
