#include "link/PosixTerminalDevice.h"

#include "PtyPorts.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cerrno>
#include <filesystem>
#include <thread>

namespace zmt::link {
namespace {

using test::PtyPorts;

CommState Record(std::uint32_t baud, std::uint8_t bytes = 8, std::uint8_t parity = 0,
                 std::uint8_t stop = 0, std::uint32_t flags = dcb::Binary) {
    CommState state;
    state.BaudRate = baud;
    state.ByteSize = bytes;
    state.Parity = parity;
    state.StopBits = stop;
    state.Flags = flags;
    return state;
}

class PosixDeviceOnPty : public ::testing::Test {
  protected:
    PtyPorts ports{2};
    PosixTerminalDevice device;
    void SetUp() override {
        ASSERT_TRUE(device.open(1).ok());
        ASSERT_TRUE(device.setEventMask(ev::DefaultMask));
        ASSERT_TRUE(device.setCommState(Record(9600)));
    }
    void waitUntilWaiting(std::uint32_t count) {
        CommStatus status;
        ASSERT_TRUE(test::ProcessUntil(
            [&] { return device.status(status) && status.bytesWaiting == count; }));
    }
    WaitResult wait(std::uint32_t& mask, int timeoutMs = 300) {
        return device.waitEvent(timeoutMs, mask);
    }
};

TEST(PosixComPortPath, PrefersTheLinkInTheWorkingDirectory) {
    PtyPorts ports(1);
    EXPECT_EQ(ComPortPath(1), "com1");
    EXPECT_EQ(ComPortPath(3), "/dev/ttyS2");  // named only, never opened here
}

struct OpenCase {
    const char* name;
    int number;
    const char* linkTarget;  // for com5; nullptr: none
    OpenFailure failure;
    int errorNumber;
};

void PrintTo(const OpenCase& c, std::ostream* os) {
    *os << c.name;
}

class PosixDeviceOpen : public ::testing::TestWithParam<OpenCase> {};

TEST_P(PosixDeviceOpen, SaysWhyItFailed) {
    PtyPorts ports(1);
    if (GetParam().linkTarget) std::filesystem::create_symlink(GetParam().linkTarget, "com5");
    PosixTerminalDevice device;
    const OpenResult result = device.open(GetParam().number);
    EXPECT_EQ(result.failure, GetParam().failure);
    EXPECT_EQ(result.errorNumber, GetParam().errorNumber);
    EXPECT_EQ(device.isOpen(), result.ok());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PosixDeviceOpen,
    ::testing::Values(OpenCase{"Pty", 1, nullptr, OpenFailure::None, 0},
                      OpenCase{"NumberZero", 0, nullptr, OpenFailure::NoSuchDevice, ENOENT},
                      OpenCase{"DanglingLink", 5, "/nonexistent/ttyUSB0", OpenFailure::NoSuchDevice,
                               ENOENT},
                      OpenCase{"NotATerminal", 5, "/dev/null", OpenFailure::NotSerial, ENOTTY}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PosixDeviceOnPty, ASecondOpenIsRefusedUntilTheFirstCloses) {
    PosixTerminalDevice second;
    EXPECT_EQ(second.open(1).failure, OpenFailure::Busy);
    device.close();
    EXPECT_TRUE(second.open(1).ok());
}

struct FrameCase {
    const char* name;
    CommState record;
    bool accepted;
};

void PrintTo(const FrameCase& c, std::ostream* os) {
    *os << c.name;
}

// A pseudo-terminal keeps its 8N1 frame whatever it is told: the read-back must notice.
class PosixDeviceFrames : public ::testing::TestWithParam<FrameCase> {};

TEST_P(PosixDeviceFrames, AreAppliedAndReadBack) {
    PtyPorts ports(1);
    PosixTerminalDevice device;
    ASSERT_TRUE(device.open(1).ok());
    EXPECT_EQ(device.setCommState(GetParam().record), GetParam().accepted);
    if (!GetParam().accepted) return;
    CommState back;
    ASSERT_TRUE(device.getCommState(back));
    EXPECT_EQ(back.ByteSize, GetParam().record.ByteSize);
    EXPECT_EQ(back.StopBits != 0, GetParam().record.StopBits != 0);
    EXPECT_EQ(back.BaudRate, GetParam().record.BaudRate);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PosixDeviceFrames,
    ::testing::Values(FrameCase{"Meter", Record(9600), true},
                      FrameCase{"PtyKeepsItsSevenEvenTwo", Record(19200, 7, 2, 2), false},
                      FrameCase{"PtyKeepsItsFiveOdd", Record(4800, 5, 1, 1), false},
                      FrameCase{"OtherRate", Record(19200), true},
                      FrameCase{"XOnXOff", Record(9600, 8, 0, 0, 0x301), true},
                      FrameCase{"NonStandardRate", Record(14400), true},
                      FrameCase{"FourDataBits", Record(9600, 4), false},
                      FrameCase{"UnknownParity", Record(9600, 8, 5), false},
                      FrameCase{"RateZeroWouldHangUp", Record(0), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PosixDeviceOnPty, AByteIsAnnouncedOnceUntilMoreArriveOrItIsRead) {
    std::uint32_t mask = 0;
    ports.peer(1).send({1});
    EXPECT_EQ(wait(mask), WaitResult::Event);
    EXPECT_EQ(mask, ev::RxChar);
    EXPECT_EQ(wait(mask, 100), WaitResult::TimedOut);  // still waiting unread: no new event
    ports.peer(1).send({2});
    waitUntilWaiting(2);
    EXPECT_EQ(wait(mask), WaitResult::Event);
    std::uint8_t buffer[4];
    EXPECT_EQ(device.read(buffer, 1), 1);
    EXPECT_EQ(wait(mask, 100), WaitResult::TimedOut);  // the one left was announced
    EXPECT_EQ(device.read(buffer, 4), 1);
    ports.peer(1).send({3});
    EXPECT_EQ(wait(mask), WaitResult::Event);
}

TEST_F(PosixDeviceOnPty, AReadOfTheAnnouncedBytesWakesAWaitThatIgnoredInput) {
    std::uint32_t mask = 0;
    ports.peer(1).send({1});
    ASSERT_EQ(wait(mask), WaitResult::Event);
    WaitResult woken = WaitResult::Failed;
    std::thread waiter([&] {
        std::uint32_t ignored = 0;
        woken = device.waitEvent(120000, ignored);  // stalls the test without the wake-up
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::uint8_t byte = 0;
    EXPECT_EQ(device.read(&byte, 1), 1);
    waiter.join();
    EXPECT_EQ(woken, WaitResult::Cancelled);
    ports.peer(1).send({2});
    EXPECT_EQ(wait(mask, 5000), WaitResult::Event);
}

TEST_F(PosixDeviceOnPty, ACancelBeforeTheWaitEndsItAtOnce) {
    std::uint32_t mask = 0;
    device.cancelWait();
    EXPECT_EQ(wait(mask, 30000), WaitResult::Cancelled);
    EXPECT_EQ(wait(mask, 50), WaitResult::TimedOut);
}

TEST_F(PosixDeviceOnPty, ClearingTheMaskCompletesTheWaitWithMaskZero) {
    std::uint32_t mask = 1;
    device.setEventMask(0);
    EXPECT_EQ(wait(mask, 30000), WaitResult::Event);
    EXPECT_EQ(mask, 0u);
}

TEST_F(PosixDeviceOnPty, AHungUpPeerFailsTheWaitEveryTimeWithoutBlocking) {
    std::uint32_t mask = 0;
    ports.peer(1).hangUp();
    EXPECT_EQ(wait(mask, 30000), WaitResult::Failed);
    EXPECT_EQ(wait(mask, 30000), WaitResult::Failed);
    EXPECT_FALSE(device.waitWritable(30000));
}

TEST_F(PosixDeviceOnPty, StatusCountsAndPurgeDiscardsInput) {
    ports.peer(1).send({1, 2, 3});
    CommStatus status;
    ASSERT_TRUE(
        test::ProcessUntil([&] { return device.status(status) && status.bytesWaiting == 3; }));
    EXPECT_TRUE(device.purge(purge::RxAbort | purge::RxClear));
    ASSERT_TRUE(device.status(status));
    EXPECT_EQ(status.bytesWaiting, 0u);
    std::uint8_t buffer[4];
    EXPECT_EQ(device.read(buffer, 4), 0);  // returns at once with nothing
}

TEST_F(PosixDeviceOnPty, RefusedModemLinesAreReportedNotFatal) {
    // A pseudo-terminal has no modem lines.
    EXPECT_FALSE(device.lineFunction(LineFunction::SetDtr));
    EXPECT_FALSE(device.lineFunction(LineFunction::ClrRts));
    const std::uint8_t byte = 0x13;
    EXPECT_EQ(device.write(&byte, 1), 1);
    EXPECT_EQ(ports.peer(1).receive(1, 5000), std::vector<std::uint8_t>{0x13});
}

TEST(PosixDeviceClosed, RefusesEverything) {
    PosixTerminalDevice device;
    std::uint8_t byte = 0;
    std::uint32_t mask = 0;
    CommStatus status;
    EXPECT_EQ(device.read(&byte, 1), -1);
    EXPECT_EQ(device.write(&byte, 1), -1);
    EXPECT_FALSE(device.status(status));
    EXPECT_FALSE(device.setCommState(Record(9600)));
    EXPECT_EQ(device.waitEvent(10, mask), WaitResult::Failed);
}

}  // namespace
}  // namespace zmt::link
