#include "SeriesTestSupport.h"

#include "language/AddedRows.h"
#include "language/OriginalRows.h"

#include <gtest/gtest.h>

namespace zmt::test {
namespace {

class SeriesLoopTest : public ::testing::Test, public SeriesBench {
  protected:
    std::chrono::milliseconds Since(Clock::TimePoint at) const { return sim.elapsedSince(at); }
};

TEST_F(SeriesLoopTest, ThreeMetersOneAfterTheOtherEachWrittenOnceNoticedWithinThreeSeconds) {
    BenchOperator bench(*station, sim.time.clock, 3);
    QObject::connect(loop.get(), &SeriesLoop::phaseChanged,
                     [&](SeriesPhase phase) { bench.Saw(phase); });
    const auto start = sim.time.clock.now();
    ASSERT_TRUE(Start().isEmpty());
    ASSERT_TRUE(RunUntil([&] { return finished.size() == 3; }, 5min));
    EXPECT_EQ(loop->passed(), 3);
    EXPECT_EQ(loop->failed(), 0);
    EXPECT_EQ(sounds, (std::vector<bool>{true, true, true}));
    ASSERT_EQ(unitStarts.size(), 3u);
    // The first meter was on the interface from the start; the others were plugged in.
    EXPECT_LE(unitStarts[0].first - start, 3s);
    ASSERT_EQ(bench.pluggedAt.size(), 2u);
    for (int i = 0; i < 2; ++i) EXPECT_LE(unitStarts[i + 1].first - bench.pluggedAt[i], 3s);
    // A write and its read-back each, both journaled; the unit names the write's record.
    EXPECT_EQ(journal.ended.size(), 6u);
    EXPECT_EQ(journal.ended[0].operation, Operation::Write);
    EXPECT_EQ(journal.ended[1].operation, Operation::Compare);
    EXPECT_EQ(finished[1].journalId, QStringLiteral("3"));
    EXPECT_EQ(finished[1].verifyJournalId, QStringLiteral("4"));
    EXPECT_EQ(finished[2].number, 3);
}

// The restart after the write lets the meter come up with its new image before the
// read-back's exchange powers it down again: no power-up is cut short.
TEST_F(SeriesLoopTest, TheWritesRestartIsHeldBeforeTheReadBack) {
    std::vector<std::pair<sim::SimTime, bool>> power;
    station->SetLineListener([&](sim::SimTime at, bool dtr, bool) {
        if (power.empty() || power.back().second != dtr) power.emplace_back(at, dtr);
    });
    ASSERT_TRUE(Start().isEmpty());
    ASSERT_TRUE(RunUntil([&] { return !finished.empty(); }));
    ASSERT_EQ(finished[0].result, UnitResult::Passed);
    for (std::size_t i = 1; i < power.size(); ++i)
        if (power[i - 1].second && !power[i].second)
            EXPECT_GE(power[i].first - power[i - 1].first, 300ms) << "power-up " << i;
}

TEST_F(SeriesLoopTest, WrittenMeterLeftPluggedIsNeverWrittenAgain) {
    ASSERT_TRUE(Start().isEmpty());
    ASSERT_TRUE(RunUntilPhase(SeriesPhase::WaitingForRemoval));
    sim.time.runFor(60s);
    EXPECT_EQ(station->imagesStored(), 1);
    EXPECT_EQ(finished.size(), 1u);
    EXPECT_EQ(loop->phase(), SeriesPhase::WaitingForRemoval);
    EXPECT_TRUE(station->dtr());  // the meter stays powered while it waits
    EXPECT_FALSE(station->rts());
}

TEST_F(SeriesLoopTest, MeterTakenOffDuringTheWriteFailsThatUnitAndTheSeriesWaitsForTheNext) {
    ASSERT_TRUE(Start().isEmpty());
    ASSERT_TRUE(RunUntil([&] { return loop->meter() && loop->meter()->Writing(); }));
    sim.time.runFor(300ms);
    station->setMeterPlugged(false);
    ASSERT_TRUE(RunUntil([&] { return !finished.empty(); }));
    EXPECT_EQ(finished[0].result, UnitResult::Failed);
    EXPECT_FALSE(finished[0].reason.isEmpty());
    EXPECT_EQ(sounds, std::vector<bool>{false});
    ASSERT_TRUE(RunUntilPhase(SeriesPhase::WaitingForMeter));
    station->setStoredImage(sim::FactoryImage());
    station->setMeterPlugged(true);
    ASSERT_TRUE(RunUntil([&] { return finished.size() == 2; }));
    EXPECT_EQ(finished[1].result, UnitResult::Passed);
    EXPECT_EQ(loop->failed(), 1);
    EXPECT_EQ(loop->passed(), 1);
}

// What comes back to the probe decides nothing is written: an interface alone, or a
// device that answers the command byte with something else.
TEST_F(SeriesLoopTest, NothingIsWrittenUnlessAMeterAnswersTheCommandByte) {
    struct Case {
        const char* name;
        std::function<void(sim::SimulatedStation&)> arrange;
        QString status;
    };
    const std::vector<Case> cases = {
        {"interface without meter", [](auto& s) { s.setMeterPlugged(false); },
         texts.text(rows::SeriesNoMeterAnswers, 1)},
        {"meter answering garbage", [](auto& s) { s.setFault(sim::Fault::wrongAnswer()); },
         texts.text(rows::SeriesUnexpectedAnswer, 1).arg("0xA6 0x5A")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        station = sim.bench->addStation(1, {}, sim::FactoryImage());
        c.arrange(*station);
        ASSERT_TRUE(Start().isEmpty());
        sim.time.runFor(20s);
        EXPECT_EQ(loop->phase(), SeriesPhase::WaitingForMeter);
        EXPECT_EQ(loop->status(), c.status);
        EXPECT_TRUE(finished.empty());
        EXPECT_EQ(station->imagesStored(), 0);
        EXPECT_EQ(journal.started, 0);
        loop->Stop();
        EXPECT_TRUE(LinesLow());
    }
}

TEST_F(SeriesLoopTest, NoInterfaceEndsTheSeriesNamingThePort) {
    station->setFault(sim::Fault::noInterface());
    ASSERT_TRUE(Start().isEmpty());
    ASSERT_TRUE(RunUntilPhase(SeriesPhase::Ended, 10s));
    EXPECT_EQ(loop->endReason(), SeriesEnd::NoInterface);
    EXPECT_EQ(loop->endLines().first(), texts.text(rows::NoInterfaceAt, 1) + "COM1");
    EXPECT_TRUE(LinesLow());
}

TEST_F(SeriesLoopTest, PortThatDoesNotOpenRefusesTheSeriesWithThePortsMessage) {
    SeriesHooks hooks = Hooks();
    hooks.MakeMeter = [this](ConfigEditor& editor, DeviceState& device) {
        auto meter = std::make_unique<MeterSession>(editor, device, sim.deviceFactory(), 3,
                                                    QStringLiteral("COM3"), sim.time.clock);
        return std::unique_ptr<SeriesMeter>(std::make_unique<SessionMeter>(std::move(meter)));
    };
    SeriesLoop other(texts, hooks, sim.time.clock);
    SeriesSetup setup = DefaultSetup(texts);
    setup.session.ComPortNumber = 3;
    setup.session.ComPortName = QStringLiteral("COM3");
    const QStringList refused = other.Start(setup);
    ASSERT_FALSE(refused.isEmpty());
    EXPECT_THAT(refused.first().toStdString(), ::testing::HasSubstr("COM3"));
    EXPECT_FALSE(other.Running());
}

TEST_F(SeriesLoopTest, ReadBackThatDiffersFailsTheUnitNamingTheDifference) {
    ASSERT_TRUE(Start().isEmpty());
    ASSERT_TRUE(RunUntilPhase(SeriesPhase::Verifying));
    sim::ImageWords other = station->storedImage();
    other[5] = 2;  // the decimal point moved
    station->setStoredImage(other);
    ASSERT_TRUE(RunUntil([&] { return !finished.empty(); }));
    EXPECT_EQ(finished[0].result, UnitResult::Failed);
    EXPECT_EQ(finished[0].reason.first(), texts.text(rows::MeterDiffers, 1));
    EXPECT_GE(finished[0].reason.size(), 2);
    EXPECT_EQ(sounds, std::vector<bool>{false});
}

TEST_F(SeriesLoopTest, StopInEachPhaseLeavesTheMeterUnpoweredAndWritesNothingMore) {
    struct Case {
        const char* name;
        std::function<void(SeriesLoopTest&)> reach;
        int imagesAfterStop;
    };
    const std::vector<Case> cases = {
        {"waiting for a meter",
         [](SeriesLoopTest& t) {
             t.station->setMeterPlugged(false);
             t.sim.time.runFor(3s);
         },
         0},
        {"opening read",
         [](SeriesLoopTest& t) {
             ASSERT_TRUE(t.RunUntil([&] { return !t.unitStarts.empty(); }));
             t.sim.time.runFor(2s);
         },
         0},
        {"write frame (it finishes first)",
         [](SeriesLoopTest& t) {
             ASSERT_TRUE(t.RunUntil([&] { return t.loop->meter()->Writing(); }));
             t.sim.time.runFor(500ms);
         },
         1},
        {"read-back", [](SeriesLoopTest& t) { t.RunUntilPhase(SeriesPhase::Verifying); }, 1},
        {"waiting for removal",
         [](SeriesLoopTest& t) { t.RunUntilPhase(SeriesPhase::WaitingForRemoval); }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        station = sim.bench->addStation(1, {}, sim::FactoryImage());
        ASSERT_TRUE(Start().isEmpty());
        c.reach(*this);
        loop->Stop();
        ASSERT_TRUE(RunUntil([&] { return !loop->Running(); }, 30s));
        EXPECT_EQ(loop->endReason(), SeriesEnd::Stopped);
        EXPECT_TRUE(LinesLow());
        sim.time.runFor(10s);
        EXPECT_EQ(station->imagesStored(), c.imagesAfterStop);
        EXPECT_TRUE(LinesLow());
    }
}

TEST_F(SeriesLoopTest, JournalThatCannotBeWrittenIsSaidOnceAndTheSeriesGoesOn) {
    journal.warning = QStringLiteral("journal cannot be written");
    BenchOperator bench(*station, sim.time.clock, 2);
    QObject::connect(loop.get(), &SeriesLoop::phaseChanged,
                     [&](SeriesPhase phase) { bench.Saw(phase); });
    ASSERT_TRUE(Start().isEmpty());
    ASSERT_TRUE(RunUntil([&] { return finished.size() == 2; }, 5min));
    EXPECT_EQ(warnings, std::vector<QString>{journal.warning});
    EXPECT_EQ(loop->passed(), 2);
    // The warning stays out of the unit's own lines.
    for (const SeriesUnit& unit : finished) EXPECT_TRUE(unit.reason.isEmpty());
}

TEST_F(SeriesLoopTest, ConfigurationThatCannotBeEvaluatedIsRefusedBeforeThePortOpens) {
    SeriesSetup setup = DefaultSetup(texts);
    setup.model.Skalin2 = setup.model.Skalin1;  // no span
    const QStringList refused = Start(setup);
    ASSERT_EQ(refused.size(), 2);
    EXPECT_EQ(refused[0], texts.text(rows::InputError, 1));
    EXPECT_FALSE(loop->Running());
    EXPECT_FALSE(station->isAttached());
}

TEST_F(SeriesLoopTest, CountEndsTheSeriesAndTheConfigurationIsTheOneOfTheStart) {
    SeriesSetup setup = DefaultSetup(texts);
    setup.count = 1;
    setup.verify = false;
    ASSERT_TRUE(Start(setup).isEmpty());
    ASSERT_TRUE(RunUntilPhase(SeriesPhase::Ended));
    EXPECT_EQ(loop->endReason(), SeriesEnd::CountReached);
    EXPECT_EQ(journal.ended.size(), 1u);  // no read-back
    EXPECT_EQ(loop->configuration().Skalout2, setup.model.Skalout2);
    EXPECT_TRUE(LinesLow());
}

}  // namespace
}  // namespace zmt::test
