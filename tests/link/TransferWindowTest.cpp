// The transfer window with the transfer engine and the real port component over the
// simulated interface and meter, on a virtual clock: the timed sequence to the
// millisecond, the progress bar and the end of an exchange.
#include "PtyPorts.h"
#include "VirtualBench.h"
#include "link/ZMTCOMU1.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalSpy>

#include <map>

namespace zmt {
namespace {

using link::TransferEngine;
using std::chrono::milliseconds;

class TransferWindowTest : public ::testing::Test {
  protected:
    TransferWindowTest() {
        sim.watchPort(*port);
        engine.setPortLinesHook([this](bool power, bool signal) {
            try {
                port->setComNumber(1);
                port->Open();
                port->setRTS(signal);
                port->setDTR(power);
            } catch (const std::exception&) {
            }
        });
        port->OnDataRecived = [this](link::TSpComPort*, int) { engine.RS232DataRecived(); };
        for (int id = 0; id < TransferEngine::TimerCount; ++id) {
            OneShotTimer& timer = engine.timer(static_cast<TransferEngine::TimerId>(id));
            QObject::connect(&timer, &OneShotTimer::fired, [this, &timer] {
                fired.emplace(timer.objectName(), sim.elapsedSince(start).count());
            });
        }
        QObject::connect(&engine, &TransferEngine::progressChanged, [this](int percent) {
            progress.push_back(percent);
            receivedAt = sim.elapsedSince(start).count();
        });
    }

    void ReadFrame(std::uint8_t kind = 0) {
        state.SendBuffer.fill(0);
        state.SendBuffer[0] = 0xA6;
        state.SendCount = 33;
        state.ExpectedCount = 66;
        state.TransferKind = kind;
    }
    void StartExchange() {
        start = sim.time.clock.now();
        window.engine().Start();
    }
    void RunExchange() {
        StartExchange();
        ASSERT_TRUE(sim.time.runUntil([&] { return ended.count() > 0; }));
        endedAt = sim.elapsedSince(start).count();
    }
    QString memo() { return window.findChild<QPlainTextEdit*>("TransferMemo")->toPlainText(); }

    link::test::PtyPorts ports{4};
    test::VirtualBench sim;
    TransferState state;
    std::unique_ptr<link::TSpComPort> port = link::MakeRS232(sim.deviceFactory());
    link::SpComPortTransferPort transferPort{*port};
    TransferEngine engine{state, transferPort, sim.time.clock};
    TZMTCom window{engine};
    QSignalSpy ended{&engine, &TransferEngine::exchangeEnded};
    Clock::TimePoint start;
    std::multimap<QString, qint64> fired;  // timer name -> ms after the start
    std::vector<int> progress;
    qint64 receivedAt = 0;  // ms after the start, of the last byte received
    qint64 endedAt = 0;
};

TEST_F(TransferWindowTest, ReadRunsTheTimedSequenceAndEndsOnceAfterTheLastByte) {
    auto station = sim.bench->addStation(1);
    ReadFrame();
    RunExchange();
    const std::pair<const char*, int> steps[] = {{"veryfirsttimer", 400},
                                                 {"firsttimer", 800},
                                                 {"inittimer", 1300},
                                                 {"inittimer1", 1900},
                                                 {"inittimer2", 3500}};
    for (const auto& [name, at] : steps) {
        ASSERT_EQ(fired.count(name), 1u) << name;
        EXPECT_EQ(fired.find(name)->second, at) << name;
    }
    // The first byte 40 ms after the last start-up step, each further one 40 ms after the
    // meter's answer to the one before.
    EXPECT_EQ(fired.count("writetimer"), 33u);
    EXPECT_EQ(fired.find("writetimer")->second, 3540);
    // One second of silence after the last byte ends the exchange.
    EXPECT_EQ(endedAt - receivedAt, 1000);
    EXPECT_EQ(fired.count("Timer1"), 1u);

    EXPECT_EQ(state.ReceiveCount, 66);
    EXPECT_TRUE(state.ByteReceived && state.ReceiveTimedOut && state.TransferStarted);
    ASSERT_GE(progress.size(), 3u);
    EXPECT_EQ(progress[0], 0);
    EXPECT_EQ(progress[1], 2);  // after the first of 66 bytes
    EXPECT_EQ(progress[33], 50);
    EXPECT_EQ(window.findChild<QProgressBar*>("Gauge1")->value(), 100);
    EXPECT_EQ(memo(), "transfer data...");
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(port->IsOpen());
    EXPECT_EQ(station->powerUps(), 1);
    EXPECT_FALSE(sim.time.runUntil([&] { return ended.count() > 1; }));
    EXPECT_EQ(ended.count(), 1);
}

TEST_F(TransferWindowTest, AByteAfterTheLastAnswerIsStoredAndCounted) {
    sim.bench->addStation(1)->setFault(sim::Fault::extraByte());
    ReadFrame();
    RunExchange();
    EXPECT_EQ(state.ReceiveCount, 67);
    EXPECT_EQ(state.ReceiveBuffer[66], sim::ExtraAnswer);
    EXPECT_EQ(fired.count("writetimer"), 33u);
}

TEST_F(TransferWindowTest, InterfaceCheckSendsOnlyTheFirstByte) {
    sim.bench->addStation(1);
    ReadFrame(1);
    RunExchange();
    EXPECT_EQ(fired.count("writetimer"), 1u);
    EXPECT_EQ(state.ReceiveCount, 2);
    EXPECT_EQ(state.ReceiveBuffer[0], 0xA6);
    EXPECT_EQ(state.ReceiveBuffer[1], 0xA6);
}

TEST_F(TransferWindowTest, WithoutInterfaceTheTimeOutEndsTheExchange) {
    ReadFrame();  // no station: COM1 cannot be opened
    QStringList shown;
    QObject::connect(&engine, &TransferEngine::memoLineAdded,
                     [&](const QString& line) { shown << line; });
    RunExchange();
    EXPECT_EQ(shown, QStringList({"reset...", "transfer data..."}));
    EXPECT_EQ(state.ReceiveCount, 0);
    EXPECT_FALSE(state.ByteReceived);
    EXPECT_TRUE(state.ReceiveTimedOut);
    EXPECT_EQ(endedAt, 3500 + 1000);  // the time-out runs from the end of the start-up
    EXPECT_FALSE(window.isVisible());
}

TEST_F(TransferWindowTest, TheCloseBoxWaitsForTheEndOfTheExchange) {
    sim.bench->addStation(1);
    ReadFrame();
    StartExchange();
    for (int at : {1000, 4200}) {  // during the start-up and during the exchange
        sim.time.runFor(milliseconds(at) - sim.elapsedSince(start));
        EXPECT_FALSE(window.close()) << at;
        EXPECT_TRUE(window.isVisible()) << at;
    }
    ASSERT_TRUE(sim.time.runUntil([&] { return ended.count() > 0; }));
    EXPECT_EQ(state.ReceiveCount, 66);
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace zmt
