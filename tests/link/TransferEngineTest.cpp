// The exchange rule of the transfer engine, step by step without timers: a scripted port
// answers as the interface and the meter would, and each notification is delivered by hand.
#include "link/TransferEngine.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

namespace zmt::link {
namespace {

enum class Failing { Nothing, Close, Purge, Lines, Write, Read };

// Echoes every byte and answers it as the meter does: the command with itself, every
// further byte with an image byte (here its position).
class ScriptedPort : public TransferPort {
  public:
    std::deque<std::uint8_t> waiting;
    std::vector<std::uint8_t> written;
    int purges = 0;
    int answersLeft = 1 << 20;  // bytes the far end still sends back
    bool meterPresent = true;
    Failing failing = Failing::Nothing;

    void Close() override { failIf(Failing::Close); }
    void PurgeRx() override {
        failIf(Failing::Purge);
        ++purges;
        waiting.clear();
    }
    void PurgeTx() override { failIf(Failing::Purge); }
    int InBufUsed() override { return static_cast<int>(waiting.size()); }
    std::uint8_t ReadChar() override {
        failIf(Failing::Read);
        if (waiting.empty()) throw std::runtime_error("Read data error - RS232 ");
        const std::uint8_t byte = waiting.front();
        waiting.pop_front();
        return byte;
    }
    void WriteChar(std::uint8_t byte) override {
        failIf(Failing::Write);
        written.push_back(byte);
        answer(byte);
        if (meterPresent) answer(byte == 0xA6 ? 0xA6 : static_cast<std::uint8_t>(written.size()));
    }
    void setDTR(bool) override { failIf(Failing::Lines); }
    void setRTS(bool) override { failIf(Failing::Lines); }

  private:
    void answer(std::uint8_t byte) {
        if (answersLeft-- > 0) waiting.push_back(byte);
    }
    void failIf(Failing what) const {
        if (failing == what) throw std::runtime_error("port failure");
    }
};

class TransferEngineTest : public ::testing::Test {
  protected:
    void Frame(int sendCount, int expected, std::uint8_t kind = 0) {
        state.SendBuffer.fill(0);
        state.SendBuffer[0] = 0x1A6;  // the high byte is never sent
        state.SendCount = sendCount;
        state.ExpectedCount = expected;
        state.TransferKind = kind;
    }
    // Runs the start-up steps in order, as their timers would.
    void StartUp() {
        engine.Start();
        engine.veryfirsttimerTimer();
        engine.firsttimerTimer();
        engine.inittimerTimer();
        engine.inittimer1Timer();
        engine.inittimer2Timer();
    }
    // Sends while the write timer is armed, delivering one notification per waiting byte,
    // then lets the receive time-out end the exchange.
    void Exchange() {
        while (engine.timer(TransferEngine::writetimer).enabled()) {
            engine.writetimerTimer();
            for (std::size_t n = port.waiting.size(); n > 0; --n) engine.RS232DataRecived();
        }
        engine.Timer1Timer();
    }

    TransferState state;
    ScriptedPort port;
    VirtualClock clock;  // the steps run by hand; no timer fires by itself
    TransferEngine engine{state, port, clock};
    QSignalSpy ended{&engine, &TransferEngine::exchangeEnded};
};

TEST_F(TransferEngineTest, ProgressIsRoundedHalfToEvenAndHeldWithinTheBar) {
    const struct {
        std::int64_t received, expected;
        int percent;
    } cases[] = {{1, 66, 2},  {33, 66, 50}, {66, 66, 100}, {67, 66, 100}, {0, 66, 0},
                 {1, 130, 1}, {1, 8, 12},   {3, 8, 38},    {5, 8, 62},    {1, 2, 50},
                 {5, 0, 0},   {1, -2, 0},   {300, 2, 100}};
    for (const auto& c : cases)
        EXPECT_EQ(TransferEngine::ProgressPercent(c.received, c.expected), c.percent)
            << c.received << "/" << c.expected;
}

TEST_F(TransferEngineTest, SendsEachByteOnlyAfterItsEchoAndAnswer) {
    const struct {
        const char* name;
        int sendCount, expected;
        std::uint8_t kind;
        bool meter;
        int answers;
        int sent, received;
    } cases[] = {
        {"read frame", 33, 66, 0, true, 1 << 20, 33, 66},
        {"write frame", 65, 130, 0, true, 1 << 20, 65, 130},
        {"interface check sends one byte", 1, 2, 1, true, 1 << 20, 1, 2},
        {"kind 1 with a read's count", 33, 66, 1, true, 1 << 20, 1, 2},
        {"echo without meter", 33, 66, 0, false, 1 << 20, 1, 1},
        {"answers stop after 9 bytes", 33, 66, 0, true, 9, 5, 9},
        {"nothing comes back", 33, 66, 0, true, 0, 1, 0},
    };
    for (const auto& c : cases) {
        port = ScriptedPort{};
        port.meterPresent = c.meter;
        port.answersLeft = c.answers;
        Frame(c.sendCount, c.expected, c.kind);
        StartUp();
        Exchange();
        EXPECT_EQ(static_cast<int>(port.written.size()), c.sent) << c.name;
        EXPECT_EQ(state.ReceiveCount, c.received) << c.name;
        EXPECT_EQ(state.ByteReceived, c.received > 0) << c.name;
        EXPECT_TRUE(state.ReceiveTimedOut) << c.name;
        EXPECT_EQ(port.written.front(), 0xA6) << c.name;
        EXPECT_FALSE(engine.Running()) << c.name;
    }
    EXPECT_EQ(ended.count(), 7);
}

TEST_F(TransferEngineTest, OneExtraByteIsKeptAndASecondEndsTheExchangeAtOnce) {
    Frame(33, 66);
    StartUp();
    while (engine.timer(TransferEngine::writetimer).enabled()) {
        engine.writetimerTimer();
        engine.RS232DataRecived();
    }
    ASSERT_EQ(state.ReceiveCount, 66);
    port.waiting = {0x67, 0x68, 0x69};  // a device that does not fall silent
    engine.RS232DataRecived();
    EXPECT_EQ(state.ReceiveCount, 68);
    EXPECT_EQ(state.ReceiveBuffer[66], 0x67);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(engine.Running());
    EXPECT_FALSE(state.ReceiveTimedOut);
    EXPECT_FALSE(engine.timer(TransferEngine::Timer1).enabled());
    engine.RS232DataRecived();  // what still comes is discarded
    EXPECT_EQ(state.ReceiveCount, 68);
    EXPECT_TRUE(port.waiting.empty());
    EXPECT_EQ(port.written.size(), 33u);
}

TEST_F(TransferEngineTest, BytesPastTheBufferAreCountedButNeverStored) {
    Frame(1, 1000, 1);  // a caller expecting more than the buffer holds
    StartUp();
    engine.writetimerTimer();
    const int capacity = TransferState::ReceiveCapacity;
    for (int k = 0; k < capacity + 40; ++k) port.waiting.push_back(static_cast<std::uint8_t>(k));
    engine.RS232DataRecived();
    EXPECT_EQ(state.ReceiveCount, capacity + 42);
    EXPECT_EQ(state.ReceiveBuffer[capacity - 1], (capacity - 3) & 0xFF);
    EXPECT_EQ(engine.Progress(), 30);
    EXPECT_TRUE(engine.Running());
}

TEST_F(TransferEngineTest, BytesBeforeTheExchangeAreDiscarded) {
    Frame(33, 66);
    engine.Start();
    port.waiting = {1, 2, 3};
    engine.RS232DataRecived();
    EXPECT_TRUE(port.waiting.empty());
    EXPECT_EQ(state.ReceiveCount, 0);
    EXPECT_FALSE(engine.timer(TransferEngine::Timer1).enabled());
}

TEST_F(TransferEngineTest, ANotificationWithoutAByteStillLeavesTheTimeOutArmed) {
    const Failing cases[] = {Failing::Nothing, Failing::Read};
    for (Failing failing : cases) {
        Frame(33, 66);
        StartUp();
        port.failing = failing;
        port.waiting =
            failing == Failing::Read ? std::deque<std::uint8_t>{0xA6} : std::deque<std::uint8_t>{};
        engine.RS232DataRecived();
        EXPECT_TRUE(engine.timer(TransferEngine::Timer1).enabled());
        EXPECT_EQ(state.ReceiveCount, 0);
        engine.Timer1Timer();
    }
}

TEST_F(TransferEngineTest, PortFailuresNeverStopTheSequence) {
    const struct {
        const char* name;
        Failing failing;
        int received;
    } cases[] = {{"close", Failing::Close, 66},
                 {"purge", Failing::Purge, 66},
                 {"lines", Failing::Lines, 66},
                 {"write", Failing::Write, 0}};
    for (const auto& c : cases) {
        port = ScriptedPort{};
        port.failing = c.failing;
        Frame(33, 66);
        int linesCalls = 0;
        engine.setPortLinesHook([&](bool power, bool signal) {
            EXPECT_FALSE(power || signal);
            ++linesCalls;
        });
        StartUp();
        Exchange();
        EXPECT_EQ(linesCalls, 1) << c.name;
        EXPECT_EQ(state.ReceiveCount, c.received) << c.name;
        EXPECT_TRUE(state.ReceiveTimedOut) << c.name;
    }
    EXPECT_EQ(ended.count(), 4);
}

TEST_F(TransferEngineTest, AStartWhileRunningDoesNotRestartTheExchange) {
    QSignalSpy lines(&engine, &TransferEngine::memoLineAdded);
    Frame(33, 66);
    StartUp();
    engine.writetimerTimer();
    engine.RS232DataRecived();  // echo and answer wait together: both are taken
    engine.Start();
    EXPECT_EQ(state.ReceiveCount, 2);
    EXPECT_TRUE(engine.timer(TransferEngine::writetimer).enabled());
    EXPECT_FALSE(engine.timer(TransferEngine::veryfirsttimer).enabled());
    ASSERT_EQ(lines.count(), 2);
    EXPECT_EQ(lines.at(0).at(0).toString(), "reset...");
    EXPECT_EQ(lines.at(1).at(0).toString(), "transfer data...");
    engine.Timer1Timer();
    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(state.TransferStarted);
}

TEST_F(TransferEngineTest, TheExchangeStartsFromAClearedReceiveSide) {
    Frame(33, 66);
    state.ReceiveCount = 99;
    state.ByteReceived = state.ReceiveTimedOut = true;
    StartUp();
    EXPECT_EQ(state.ReceiveCount, 0);
    EXPECT_FALSE(state.ByteReceived);
    EXPECT_FALSE(state.ReceiveTimedOut);
    EXPECT_EQ(state.NextByte, 0xA6);
    EXPECT_GE(port.purges, 3);
}

}  // namespace
}  // namespace zmt::link
