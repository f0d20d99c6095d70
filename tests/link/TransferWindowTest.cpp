// The transfer window with its real timers and the real port component over the simulated
// interface and meter: the timed sequence, the progress bar and the end of an exchange.
#include "PtyPorts.h"
#include "SimulatedBench.h"
#include "ZMTCOMU1.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalSpy>

#include <map>

namespace zmt {
namespace {

using link::TransferEngine;

class TransferWindowTest : public ::testing::Test {
  protected:
    TransferWindowTest() {
        window.setPortLinesHook([this](bool power, bool signal) {
            try {
                window.RS232().setComNumber(1);
                window.RS232().Open();
                window.RS232().setRTS(signal);
                window.RS232().setDTR(power);
            } catch (const std::exception&) {
            }
        });
        for (int id = 0; id < TransferEngine::TimerCount; ++id) {
            OneShotTimer& timer = window.engine().timer(static_cast<TransferEngine::TimerId>(id));
            QObject::connect(&timer, &OneShotTimer::fired, [this, &timer] {
                fired.emplace(timer.objectName(), clock.elapsed());
            });
        }
        QObject::connect(&window.engine(), &TransferEngine::progressChanged,
                         [this](int percent) { progress.push_back(percent); });
    }

    void ReadFrame(std::uint8_t kind = 0) {
        state.SendBuffer.fill(0);
        state.SendBuffer[0] = 0xA6;
        state.SendCount = 33;
        state.ExpectedCount = 66;
        state.TransferKind = kind;
    }
    void RunExchange() {
        clock.start();
        window.Show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return ended.count() > 0; }, 20000));
        endedAt = clock.elapsed();
    }
    QString memo() { return window.findChild<QPlainTextEdit*>("TransferMemo")->toPlainText(); }

    link::test::PtyPorts ports{4};
    std::shared_ptr<sim::SimulatedBench> bench = std::make_shared<sim::SimulatedBench>();
    TransferState state;
    TZMTCom window{state, TZMTCom::MakeRS232(sim::SimulatedDeviceFactory(bench))};
    QSignalSpy ended{&window, &TZMTCom::transferEnded};
    QElapsedTimer clock;
    std::multimap<QString, qint64> fired;  // timer name -> ms after the show
    std::vector<int> progress;
    qint64 endedAt = 0;
};

TEST_F(TransferWindowTest, ReadRunsTheTimedSequenceAndEndsOnceAfterTheLastByte) {
    auto station = bench->addStation(1);
    ReadFrame();
    RunExchange();
    // Start-up steps: each one after its predecessor by its interval, with room for a loaded
    // machine. The first paint of the window may take a while, so the chain is timed from
    // its first step rather than from the call that showed the window.
    const std::pair<const char*, int> steps[] = {{"veryfirsttimer", 400},
                                                 {"firsttimer", 800},
                                                 {"inittimer", 1300},
                                                 {"inittimer1", 1900},
                                                 {"inittimer2", 3500}};
    for (const auto& [name, nominal] : steps) ASSERT_EQ(fired.count(name), 1u) << name;
    const qint64 first = fired.find("veryfirsttimer")->second;
    EXPECT_GE(first, 400 - 5);
    for (std::size_t i = 1; i < std::size(steps); ++i) {
        const qint64 gap =
            fired.find(steps[i].first)->second - fired.find(steps[i - 1].first)->second;
        const int nominalGap = steps[i].second - steps[i - 1].second;
        EXPECT_GE(gap, nominalGap - 5) << steps[i].first;
        EXPECT_LE(gap, nominalGap + 400) << steps[i].first;
    }
    EXPECT_EQ(fired.count("writetimer"), 33u);
    const qint64 firstByte = fired.find("writetimer")->second;
    EXPECT_GE(firstByte - fired.find("inittimer2")->second, 35);
    qint64 lastByte = 0;
    for (auto [it, end] = fired.equal_range("writetimer"); it != end; ++it)
        lastByte = std::max(lastByte, it->second);
    EXPECT_GE(endedAt - lastByte, 1000);
    EXPECT_LE(endedAt - lastByte, 1800);

    EXPECT_EQ(state.ReceiveCount, 66);
    EXPECT_TRUE(state.ByteReceived && state.ReceiveTimedOut && state.TransferStarted);
    ASSERT_GE(progress.size(), 3u);
    EXPECT_EQ(progress[0], 0);
    EXPECT_EQ(progress[1], 2);  // after the first of 66 bytes
    EXPECT_EQ(progress[33], 50);
    EXPECT_EQ(window.findChild<QProgressBar*>("Gauge1")->value(), 100);
    EXPECT_EQ(memo(), "transfer data...");
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.RS232().IsOpen());
    EXPECT_EQ(station->powerUps(), 1);
    QTest::qWait(1200);
    EXPECT_EQ(ended.count(), 1);
}

TEST_F(TransferWindowTest, AByteAfterTheLastAnswerIsStoredAndCounted) {
    bench->addStation(1)->setFault(sim::Fault::extraByte());
    ReadFrame();
    RunExchange();
    EXPECT_EQ(state.ReceiveCount, 67);
    EXPECT_EQ(state.ReceiveBuffer[66], sim::ExtraAnswer);
    EXPECT_EQ(fired.count("writetimer"), 33u);
}

TEST_F(TransferWindowTest, InterfaceCheckSendsOnlyTheFirstByte) {
    bench->addStation(1);
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
    QObject::connect(&window.engine(), &TransferEngine::memoLineAdded,
                     [&](const QString& line) { shown << line; });
    RunExchange();
    EXPECT_EQ(shown, QStringList({"reset...", "transfer data..."}));
    EXPECT_EQ(state.ReceiveCount, 0);
    EXPECT_FALSE(state.ByteReceived);
    EXPECT_TRUE(state.ReceiveTimedOut);
    EXPECT_GE(endedAt, 4500);
    EXPECT_LE(endedAt, 6000);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(TransferWindowTest, TheCloseBoxWaitsForTheEndOfTheExchange) {
    bench->addStation(1);
    ReadFrame();
    clock.start();
    window.Show();
    for (int at : {1000, 4200}) {  // during the start-up and during the exchange
        ASSERT_TRUE(QTest::qWaitFor([&] { return clock.elapsed() >= at; }, 10000));
        EXPECT_FALSE(window.close()) << at;
        EXPECT_TRUE(window.isVisible()) << at;
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended.count() > 0; }, 20000));
    EXPECT_EQ(state.ReceiveCount, 66);
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace zmt
