#include "link/SpComPort.h"

#include "FakeDevice.h"
#include "PtyPorts.h"
#include "link/SpSafeSync.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <ctime>
#include <thread>

namespace zmt::link {
namespace {

using test::FakeDeviceLog;
using test::FakeFactory;
using test::ProcessUntil;
using test::PtyPorts;

// The port as the transfer window holds it: COM1, 9600 bit/s, DTR and RTS low.
void ConfigureLikeTransferWindow(TSpComPort& port) {
    port.setBaudRate(br9600);
    port.setComNumber(1);
    port.setDTR(false);
    port.setRTS(false);
    port.setEventThreadPriority(tpHighest);
    port.setWriteThreadPriority(tpHigher);
    port.Loaded();
}

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no exception)";
}

// Runs what is queued for this thread now; then nothing may be left for a port.
void RunQueuedCalls() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

class SpComPortOnPty : public ::testing::Test {
  protected:
    PtyPorts ports{4};
    TSpComPort port{nullptr, "RS232"};
    void SetUp() override {
        ASSERT_TRUE(ports.peer(1).valid());
        ConfigureLikeTransferWindow(port);
    }
};

// ---- opening ----

struct OpenFailureCase {
    const char* name;
    int comNumber;
    std::function<void(PtyPorts&)> prepare;
    const char* message;
    OpenFailure failure;
};

void PrintTo(const OpenFailureCase& c, std::ostream* os) {
    *os << c.name;
}

class SpComPortOpenFailure : public ::testing::TestWithParam<OpenFailureCase> {};

TEST_P(SpComPortOpenFailure, LeavesThePortClosedWithTheMessage) {
    const OpenFailureCase& c = GetParam();
    PtyPorts ports(2);
    c.prepare(ports);
    TSpComPort holder(nullptr, "holder");
    holder.setComNumber(1);
    holder.Open();  // COM1 is in use by another port in every case
    TSpComPort port;
    port.setComNumber(c.comNumber);
    try {
        port.Open();
        FAIL() << "opened";
    } catch (const ESpComPortCoreError& e) {
        EXPECT_STREQ(e.what(), c.message);
        EXPECT_EQ(e.failure(), c.failure);
    }
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.OutBufFree(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpComPortOpenFailure,
    ::testing::Values(OpenFailureCase{"ComponentDefault", 0, [](PtyPorts&) {},
                                      "Invalid port number (COM0)", OpenFailure::NoSuchDevice},
                      OpenFailureCase{"Negative", -3, [](PtyPorts&) {},
                                      "Invalid port number (COM-3)", OpenFailure::NoSuchDevice},
                      OpenFailureCase{"MissingPath", 5,
                                      [](PtyPorts&) {
                                          std::filesystem::create_symlink("/nonexistent/ttyUSB9",
                                                                          "com5");
                                      },
                                      "Invalid port number (COM5)", OpenFailure::NoSuchDevice},
                      OpenFailureCase{
                          "NotATerminal", 6,
                          [](PtyPorts&) { std::filesystem::create_symlink("/dev/null", "com6"); },
                          "Can't open device COM6", OpenFailure::NotSerial},
                      OpenFailureCase{"HeldByAnotherPort", 1, [](PtyPorts&) {},
                                      "Can't open device COM1", OpenFailure::Busy}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SpComPortOnPty, OpenOnAnOpenPortDoesNothingAndCloseReportsEvenWhenClosed) {
    int opens = 0, closes = 0;
    port.OnPortOpen = [&](TSpComPort*) { ++opens; };
    port.OnPortClose = [&](TSpComPort*) { ++closes; };
    port.Close();
    port.Open();
    port.Open();
    EXPECT_TRUE(port.IsOpen());
    port.Close();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(closes, 2);
}

TEST_F(SpComPortOnPty, ClosedPortLetsAnotherOpenIt) {
    port.Open();
    port.Close();
    TSpComPort other;
    other.setComNumber(1);
    EXPECT_NO_THROW(other.Open());
}

// ---- data ----

TEST_F(SpComPortOnPty, BytesPassUnchangedBothWays) {
    // XON/XOFF, CR/LF and NUL must pass: the frames are binary.
    const std::vector<std::uint8_t> bytes{0x11, 0x13, 0x00, 0xFF, '\r', '\n', 0xA6, 0x7F};
    port.Open();
    ASSERT_TRUE(ports.peer(1).send(bytes));
    ASSERT_TRUE(ProcessUntil([&] { return port.InBufUsed() == static_cast<int>(bytes.size()); }));
    std::vector<std::uint8_t> received(bytes.size());
    port.ReadData(received.data(), static_cast<int>(received.size()));
    EXPECT_EQ(received, bytes);

    port.WriteData(bytes.data(), static_cast<int>(bytes.size()));
    EXPECT_EQ(ports.peer(1).receive(bytes.size(), 5000), bytes);
}

TEST_F(SpComPortOnPty, WriteCharQueuesAndReadCharTakesOneByte) {
    port.Open();
    port.WriteChar(0xA6);
    EXPECT_EQ(ports.peer(1).receive(1, 5000), std::vector<std::uint8_t>{0xA6});
    ports.peer(1).send({0x42, 0x43});
    ASSERT_TRUE(ProcessUntil([&] { return port.InBufUsed() == 2; }));
    EXPECT_EQ(port.ReadChar(), 0x42);
    EXPECT_EQ(port.InBufUsed(), 1);
}

struct ErrorCase {
    const char* name;
    bool open;
    std::function<void(TSpComPort&)> action;
    const char* message;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.name;
}

class SpComPortErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(SpComPortErrors, RaiseWithTheComponentName) {
    PtyPorts ports(1);
    TSpComPort port;
    ConfigureLikeTransferWindow(port);
    if (GetParam().open) port.Open();
    EXPECT_EQ(MessageOf([&] { GetParam().action(port); }), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpComPortErrors,
    ::testing::Values(
        ErrorCase{"ReadCharWithNothingWaiting", true, [](TSpComPort& p) { p.ReadChar(); },
                  "Read data error - RS232 "},
        ErrorCase{"ReadCharOnClosedPort", false, [](TSpComPort& p) { p.ReadChar(); },
                  "Read data error - RS232 "},
        ErrorCase{"WriteCharOnClosedPort", false, [](TSpComPort& p) { p.WriteChar('x'); },
                  "Write data error [requested: 1, free: 0] - RS232 "},
        ErrorCase{"WriteMoreThanTheRingHolds", true,
                  [](TSpComPort& p) {
                      std::vector<std::uint8_t> block(2049);
                      p.WriteData(block.data(), 2049);
                  },
                  "Write data error [requested: 2049, free: 2048] - RS232 "},
        ErrorCase{"BufferSizeWhileOpen", true, [](TSpComPort& p) { p.setInBufSize(100); },
                  "Port is not closed - RS232 "},
        ErrorCase{"OutBufferSizeWhileOpen", true, [](TSpComPort& p) { p.setOutBufSize(100); },
                  "Port is not closed - RS232 "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SpComPortOnPty, PurgeRxDiscardsWaitingInput) {
    port.Open();
    ports.peer(1).send({1, 2, 3});
    ASSERT_TRUE(ProcessUntil([&] { return port.InBufUsed() == 3; }));
    port.PurgeRx();
    EXPECT_EQ(port.InBufUsed(), 0);
    ports.peer(1).send({4});
    ASSERT_TRUE(ProcessUntil([&] { return port.InBufUsed() == 1; }));
    EXPECT_EQ(port.ReadChar(), 4);
}

TEST_F(SpComPortOnPty, PurgeTxEmptiesTheRingAndClosedPurgesDoNothing) {
    port.PurgeRx();
    port.PurgeTx();
    port.Open();
    std::vector<std::uint8_t> block(1000, 0x55);
    port.WriteData(block.data(), 1000);
    port.PurgeTx();
    EXPECT_EQ(port.OutBufFree(), 2048);
}

// ---- notifications ----

TEST_F(SpComPortOnPty, NotificationsRunOnTheGuiThreadOneAtATime) {
    std::atomic<int> inFlight{0};
    int most = 0, offThread = 0, received = 0;
    port.OnDataRecived = [&](TSpComPort* sender, int) {
        most = std::max(most, ++inFlight);
        if (QThread::currentThread() != QCoreApplication::instance()->thread()) ++offThread;
        while (sender->InBufUsed() > 0) {
            sender->ReadChar();
            ++received;
        }
        // The next byte arrives meanwhile; its notification would come up in here if the
        // worker did not wait for this one.
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        QCoreApplication::processEvents();
        --inFlight;
    };
    port.Open();
    std::thread sender([&] {
        for (int i = 0; i < 40; ++i) {
            ports.peer(1).send({static_cast<std::uint8_t>(i)});
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
        }
    });
    const bool all = ProcessUntil([&] { return received == 40; }, 10000);
    sender.join();
    EXPECT_TRUE(all) << received;
    EXPECT_EQ(offThread, 0);
    EXPECT_EQ(most, 1);
}

TEST_F(SpComPortOnPty, BytesThatAnEventAlreadyAnnouncedComeAgainThroughThePoll) {
    // The transfer window reads exactly one byte per notification.
    std::vector<std::uint8_t> got;
    port.OnDataRecived = [&](TSpComPort* sender, int count) {
        if (count > 0) got.push_back(sender->ReadChar());
    };
    port.Open();
    ports.peer(1).send({7, 8, 9});
    EXPECT_TRUE(ProcessUntil([&] { return got.size() == 3; }));
    EXPECT_EQ(got, (std::vector<std::uint8_t>{7, 8, 9}));
}

TEST_F(SpComPortOnPty, CloseDuringTrafficReturnsAndTheNextOpenStillReceives) {
    int notifications = 0;
    port.OnDataRecived = [&](TSpComPort* sender, int) {
        ++notifications;
        std::vector<std::uint8_t> sink(4096);
        if (const int n = sender->InBufUsed(); n > 0) sender->ReadData(sink.data(), n);
    };
    std::atomic<bool> streaming{true};
    std::thread sender([&] {
        while (streaming) {
            ports.peer(1).send({0x5A, 0xA5});
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    for (int round = 0; round < 5; ++round) {
        port.Open();
        const int before = notifications;
        EXPECT_TRUE(ProcessUntil([&] { return notifications > before + 3; })) << round;
        port.Close();
        EXPECT_FALSE(port.IsOpen());
    }
    streaming = false;
    sender.join();
}

TEST_F(SpComPortOnPty, NoHandlerRunsAfterCloseReturned) {
    int handled = 0;
    port.OnDataRecived = [&](TSpComPort*, int) { ++handled; };
    port.Open();
    ports.peer(1).send({1});
    // Let the worker post its hand-off while this thread runs no events.
    for (int i = 0; i < 250 && SafeSyncPendingCalls() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_GT(SafeSyncPendingCalls(), 0);
    port.Close();
    RunQueuedCalls();
    EXPECT_EQ(handled, 0);
    EXPECT_EQ(SafeSyncPendingCalls(), 0);
}

TEST(SpComPortHandOff, ATimedOutHandOffNeverReachesADestroyedPort) {
    PtyPorts ports(1);
    int handled = 0;
    auto port = std::make_unique<TSpComPort>();
    ConfigureLikeTransferWindow(*port);
    port->OnDataRecived = [&](TSpComPort*, int) { ++handled; };
    port->Open();
    ports.peer(1).send({1});
    for (int i = 0; i < 250 && SafeSyncPendingCalls() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_GT(SafeSyncPendingCalls(), 0);
    // Past the hand-off's time limit: the worker gave up, the call stays queued.
    std::this_thread::sleep_for(std::chrono::milliseconds(core_limits::HandOffMs + 300));
    port.reset();
    RunQueuedCalls();
    EXPECT_EQ(handled, 0);
    EXPECT_EQ(SafeSyncPendingCalls(), 0);
}

// What a hung-up peer costs in CPU afterwards is a figure of link_cpu_bench.
TEST_F(SpComPortOnPty, APeerThatHangsUpIsReportedOnce) {
    std::vector<std::uint32_t> lineErrors;
    port.OnLineError = [&](TSpComPort*, std::uint32_t errors) { lineErrors.push_back(errors); };
    port.Open();
    ports.peer(1).hangUp();
    ASSERT_TRUE(ProcessUntil([&] { return !lineErrors.empty(); }));
    // From then on only the slow poll runs; give it a few rounds to report again.
    QTest::qWait(3 * core_limits::PollIntervalMs);
    ASSERT_EQ(lineErrors.size(), 1u);
    EXPECT_TRUE(lineErrors[0] & ce::IoError);
    EXPECT_NO_THROW(port.Close());
}

TEST(SpComPortRegistry, APortWithoutASlotDeliversNothing) {
    PtyPorts ports(1);
    std::vector<std::uint32_t> fillers;
    for (std::uint32_t id; (id = SafeSyncRegister([](int) {})) != 0;) fillers.push_back(id);
    int handled = 0;
    {
        TSpComPort port;
        ConfigureLikeTransferWindow(port);
        port.OnDataRecived = [&](TSpComPort*, int) { ++handled; };
        port.Open();
        ports.peer(1).send({1, 2});
        // The bytes arrived and the notification found no slot to go through.
        EXPECT_TRUE(ProcessUntil([&] { return port.InBufUsed() == 2; }));
        RunQueuedCalls();
    }
    for (std::uint32_t id : fillers) SafeSyncUnregister(id);
    EXPECT_EQ(handled, 0);
}

TEST(SpComPortExceptions, AnEventThreadFailureIsRaisedOnTheGuiThread) {
    PtyPorts ports(1);
    std::vector<std::string> shown;
    int offThread = 0;
    SafeSyncSetExceptionHandler([&](std::exception_ptr error) {
        if (QThread::currentThread() != QCoreApplication::instance()->thread()) ++offThread;
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            shown.push_back(e.what());
        }
    });
    TSpComPort port;
    ConfigureLikeTransferWindow(port);
    port.OnNonSyncEvent = [](TSpComPort*, TSpCoreEvent, std::uint32_t) {
        throw std::runtime_error("handler failed");
    };
    port.Open();
    ports.peer(1).send({1});
    EXPECT_TRUE(ProcessUntil([&] { return !shown.empty(); }));
    port.Close();
    SafeSyncSetExceptionHandler({});
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown[0], "handler failed");
    EXPECT_EQ(offThread, 0);
}

// ---- lines and settings, over the recording device ----

class SpComPortOnFake : public ::testing::Test {
  protected:
    std::shared_ptr<FakeDeviceLog> log = std::make_shared<FakeDeviceLog>();
    TSpComPort port{nullptr, "RS232", FakeFactory(log)};
    std::vector<LineFunction> lines() {
        std::lock_guard lock(log->mutex);
        return log->lines;
    }
    CommState lastState() {
        std::lock_guard lock(log->mutex);
        return log->states.back();
    }
};

TEST_F(SpComPortOnFake, OpenLeavesBothLinesLowAndTheNextTrueDrivesThem) {
    port.setComNumber(1);
    port.setDTR(true);  // closed: only remembered
    port.setRTS(true);
    EXPECT_TRUE(lines().empty());
    port.Open();
    EXPECT_FALSE(port.DTR());
    EXPECT_FALSE(port.RTS());
    EXPECT_EQ(lastState().Flags & (dcb::DtrControlEnable | dcb::RtsControlEnable), 0u);
    port.setRTS(true);
    port.setDTR(true);
    port.setDTR(true);  // unchanged: no second drive
    port.setDTR(false);
    EXPECT_EQ(lines(), (std::vector<LineFunction>{LineFunction::SetRts, LineFunction::SetDtr,
                                                  LineFunction::ClrDtr}));
}

TEST_F(SpComPortOnFake, ReopenAfterPowerOnStillDrivesPowerAtTheNextTrue) {
    port.setComNumber(1);
    port.Open();
    port.setDTR(true);
    port.Close();
    port.Open();
    port.setDTR(true);
    EXPECT_EQ(lines(), (std::vector<LineFunction>{LineFunction::SetDtr, LineFunction::SetDtr}));
}

TEST_F(SpComPortOnFake, EndOfLoadingOpensOnlyWithAutoOpen) {
    port.setComNumber(1);
    port.Loaded();
    EXPECT_FALSE(port.IsOpen());
    port.setAutoOpen(true);
    port.Loaded();
    EXPECT_TRUE(port.IsOpen());
}

TEST_F(SpComPortOnFake, ComNumberReopensOnlyOnAChange) {
    port.setComNumber(2);
    port.Open();
    port.setComNumber(2);
    EXPECT_EQ(log->opens, 1);
    port.setComNumber(3);
    EXPECT_EQ(log->opens, 2);
    EXPECT_EQ(log->lastNumber, 3);
    EXPECT_TRUE(port.IsOpen());
}

TEST_F(SpComPortOnFake, ARebuildWhileOpenReachesTheDevice) {
    port.setComNumber(1);
    port.Open();
    port.setBaudRate(br19200);
    EXPECT_EQ(lastState().BaudRate, 19200u);
}

TEST_F(SpComPortOnFake, ARefusedRebuildTakesTheDevicesRecord) {
    port.setComNumber(1);
    port.Open();
    log->refuseState = true;
    EXPECT_EQ(MessageOf([&] { port.setBaudRate(br19200); }), "Error setting parameters from DCB");
    EXPECT_EQ(port.GetCommState().BaudRate, 1234u);
}

struct ConfigureFailureCase {
    const char* name;
    bool FakeDeviceLog::*refuse;
    const char* message;
};

void PrintTo(const ConfigureFailureCase& c, std::ostream* os) {
    *os << c.name;
}

class SpComPortConfigureFailure : public ::testing::TestWithParam<ConfigureFailureCase> {};

TEST_P(SpComPortConfigureFailure, ClosesTheDeviceAgain) {
    auto log = std::make_shared<FakeDeviceLog>();
    log.get()->*(GetParam().refuse) = true;
    TSpComPort port(nullptr, "RS232", FakeFactory(log));
    port.setComNumber(1);
    EXPECT_EQ(MessageOf([&] { port.Open(); }), GetParam().message);
    EXPECT_FALSE(port.IsOpen());
    log.get()->*(GetParam().refuse) = false;
    EXPECT_NO_THROW(port.Open());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpComPortConfigureFailure,
    ::testing::Values(
        ConfigureFailureCase{"Timeouts", &FakeDeviceLog::refuseTimeouts, "Error setting timeouts"},
        ConfigureFailureCase{"Queues", &FakeDeviceLog::refuseQueues, "Error initializing buffers"},
        ConfigureFailureCase{"EventMask", &FakeDeviceLog::refuseMask, " Error setting EventMask"},
        ConfigureFailureCase{"CommState", &FakeDeviceLog::refuseState,
                             "Error setting parameters from DCB"}),
    [](const auto& info) { return std::string(info.param.name); });

// How often the write thread tries such a device is a figure of link_cpu_bench.
TEST_F(SpComPortOnFake, BytesThatTheDeviceDoesNotTakeStayQueuedUntilPurged) {
    port.setComNumber(1);
    port.Open();
    log->takeNothing = true;
    std::vector<std::uint8_t> block(100, 1);
    port.WriteData(block.data(), 100);
    ASSERT_TRUE(ProcessUntil([&] {
        std::lock_guard lock(log->mutex);
        return log->writeCalls >= 2;  // tried, and tried again
    }));
    EXPECT_EQ(port.OutBufFree(), 2048 - 100);
    port.PurgeTx();
    EXPECT_EQ(port.OutBufFree(), 2048);
}

TEST_F(SpComPortOnFake, QueuedBytesReachTheDeviceInOrder) {
    port.setComNumber(1);
    port.Open();
    for (int i = 0; i < 300; ++i) port.WriteChar(static_cast<std::uint8_t>(i));
    ASSERT_TRUE(ProcessUntil([&] {
        std::lock_guard lock(log->mutex);
        return log->written.size() == 300;
    }));
    std::lock_guard lock(log->mutex);
    for (int i = 0; i < 300; ++i) ASSERT_EQ(log->written[i], static_cast<std::uint8_t>(i));
}

TEST_F(SpComPortOnFake, TheDrainedRingIsReportedOnTheGuiThread) {
    int drained = 0;
    port.OnOutBufFree = [&](TSpComPort*) { ++drained; };
    port.setComNumber(1);
    port.Open();
    port.WriteChar(1);
    EXPECT_TRUE(ProcessUntil([&] { return drained > 0; }));
}

// ---- the comm state record ----

struct RecordCase {
    const char* name;
    std::function<void(TSpComPort&)> configure;
    std::uint32_t baud;
    std::uint32_t flags;
    std::uint8_t byteSize, parity, stopBits;
    std::uint16_t xonLim, xoffLim;
};

void PrintTo(const RecordCase& c, std::ostream* os) {
    *os << c.name;
}

class SpComPortRecord : public ::testing::TestWithParam<RecordCase> {};

TEST_P(SpComPortRecord, FollowsTheProperties) {
    auto log = std::make_shared<FakeDeviceLog>();
    TSpComPort port(nullptr, "RS232", FakeFactory(log));
    GetParam().configure(port);
    const CommState& s = port.GetCommState();
    EXPECT_EQ(s.DCBlength, 28u);
    EXPECT_EQ(s.BaudRate, GetParam().baud);
    EXPECT_EQ(s.Flags, GetParam().flags);
    EXPECT_EQ(s.ByteSize, GetParam().byteSize);
    EXPECT_EQ(s.Parity, GetParam().parity);
    EXPECT_EQ(s.StopBits, GetParam().stopBits);
    EXPECT_EQ(s.XonLim, GetParam().xonLim);
    EXPECT_EQ(s.XoffLim, GetParam().xoffLim);
    EXPECT_EQ(s.XonChar, 17);
    EXPECT_EQ(s.XoffChar, 19);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpComPortRecord,
    ::testing::Values(
        RecordCase{"ComponentDefaults", [](TSpComPort&) {}, 115200, 0x1011, 8, 0, 0, 0, 0},
        RecordCase{"TransferWindow", ConfigureLikeTransferWindow, 9600, 0x1, 8, 0, 0, 0, 0},
        RecordCase{"XOnXOff", [](TSpComPort& p) { p.setFlowControl(fwXOnXOff); }, 115200, 0x1311, 8,
                   0, 0, 1024, 3072},
        RecordCase{"RtsCtsKeepsRtsToTheHandshake",
                   [](TSpComPort& p) { p.setFlowControl(fwRtsCts); }, 115200, 0x2015, 8, 0, 0, 1024,
                   3072},
        RecordCase{"DtrDsrKeepsDtrToTheHandshake",
                   [](TSpComPort& p) { p.setFlowControl(fwDtrDsr); }, 115200, 0x1029, 8, 0, 0, 1024,
                   3072},
        RecordCase{"BackToNoFlowControl",
                   [](TSpComPort& p) {
                       p.setFlowControl(fwXOnXOff);
                       p.setFlowControl(fwNone);
                   },
                   115200, 0x1011, 8, 0, 0, 0, 0},
        RecordCase{"Options",
                   [](TSpComPort& p) {
                       p.setOptions(SpComOption(coParityCheck) | SpComOption(coDsrSensitivity) |
                                    SpComOption(coIgnoreXOff) | SpComOption(coErrorChar) |
                                    SpComOption(coStripNull));
                   },
                   115200, 0x1CD3, 8, 0, 0, 0, 0},
        RecordCase{"Frame",
                   [](TSpComPort& p) {
                       p.setDatabits(db7);
                       p.setParity(paMark);
                       p.setStopbits(sbTwo);
                   },
                   115200, 0x1011, 7, 3, 2, 0, 0},
        RecordCase{"UserBaudRate", [](TSpComPort& p) { p.setUserBaudRate(31250); }, 31250, 0x1011,
                   8, 0, 0, 0, 0},
        RecordCase{"NamedRateClearsTheUserRate",
                   [](TSpComPort& p) {
                       p.setUserBaudRate(31250);
                       p.setBaudRate(br56000);
                   },
                   56000, 0x1011, 8, 0, 0, 0, 0},
        RecordCase{"XOnLimSetsXOffLimWithoutRebuild",
                   [](TSpComPort& p) {
                       p.setXOnLim(100);
                       p.setDatabits(db6);  // the next rebuild takes both
                   },
                   115200, 0x1011, 6, 0, 0, 100, 3996},
        RecordCase{"LimitsFollowTheInputBuffer",
                   [](TSpComPort& p) {
                       p.setInBufSize(1000);
                       p.setFlowControl(fwXOnXOff);
                   },
                   115200, 0x1311, 8, 0, 0, 250, 750}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zmt::link
