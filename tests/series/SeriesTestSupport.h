#pragma once
// A series on the simulated bench: the loop over the tool's meter session, and an operator
// who takes each meter off once the loop asks for it and plugs in the next.

#include "VirtualBench.h"
#include "cli/ConfigFile.h"
#include "common/OneShotTimer.h"
#include "language/LanguageText.h"
#include "series/SeriesLoop.h"
#include "series/SessionMeter.h"

#include <chrono>
#include <memory>
#include <optional>

namespace zmt::test {

using namespace std::chrono_literals;

// Takes the written meter off `offAfter` after the loop asks for it, and plugs a fresh
// one in `nextAfter` later, until `meters` have been plugged in.
class BenchOperator {
  public:
    BenchOperator(sim::SimulatedStation& station, Clock& clock, int meters, int offAfterMs = 1000,
                  int nextAfterMs = 1000)
        : station_(station), metersLeft_(meters - 1) {
        off_ = std::make_unique<OneShotTimer>(nullptr, "off", offAfterMs, clock);
        next_ = std::make_unique<OneShotTimer>(nullptr, "next", nextAfterMs, clock);
        off_->setHandler([this] {
            off_->setEnabled(false);
            station_.setMeterPlugged(false);
            if (metersLeft_-- > 0) next_->setEnabled(true);
        });
        next_->setHandler([this, &clock] {
            next_->setEnabled(false);
            station_.setStoredImage(sim::FactoryImage());
            station_.setMeterPlugged(true);
            pluggedAt.push_back(clock.now());
        });
    }
    // The loop's phase as the operator sees it on the screen.
    void Saw(SeriesPhase phase) {
        if (phase == SeriesPhase::WaitingForRemoval) off_->setEnabled(true);
    }
    std::vector<Clock::TimePoint> pluggedAt;

  private:
    sim::SimulatedStation& station_;
    int metersLeft_;
    std::unique_ptr<OneShotTimer> off_, next_;
};

// Keeps what the loop reports to the journal; a warning line stands for a journal that
// cannot be written.
struct RecordingJournal : OperationReporter {
    QString warning;
    std::vector<OperationReport> ended;
    int started = 0;
    std::vector<OperationReport> writesStarted;
    QString OperationStarting(Operation, const QString&) override {
        ++started;
        return warning;
    }
    QString WriteStarting(const OperationReport& report) override {
        writesStarted.push_back(report);
        return warning;
    }
    QString OperationEnded(const OperationReport& report) override {
        ended.push_back(report);
        return warning;
    }
};

// The first-start configuration (20 mA, 0..20 -> 0..2000, "+"), as a copy.
inline SeriesSetup DefaultSetup(LanguageText& texts) {
    ConfigModel model;
    SessionState session;
    ConfigEditor editor{model, session, texts};
    cli::ApplyDefaults(editor);
    session.ComPortNumber = 1;
    session.ComPortName = QStringLiteral("COM1");
    session.LanguageIndex = 1;
    return SeriesSetup{model, session, true, 0};
}

class SeriesBench {
  public:
    VirtualBench sim;
    LanguageText texts;
    std::shared_ptr<sim::SimulatedStation> station;
    RecordingJournal journal;
    std::vector<std::pair<Clock::TimePoint, bool>> lines;  // when DTR changed, to what
    std::vector<bool> sounds;
    std::vector<QString> warnings;
    std::vector<SeriesUnit> finished;
    std::vector<std::pair<Clock::TimePoint, int>> unitStarts;
    std::unique_ptr<SeriesLoop> loop;

    SeriesBench() {
        texts.FillLanguageText();
        station = sim.bench->addStation(1, {}, sim::FactoryImage());
        loop = std::make_unique<SeriesLoop>(texts, Hooks(), sim.time.clock);
        QObject::connect(loop.get(), &SeriesLoop::warning,
                         [this](const QString& line) { warnings.push_back(line); });
        QObject::connect(loop.get(), &SeriesLoop::unitFinished,
                         [this](const SeriesUnit& unit) { finished.push_back(unit); });
        QObject::connect(loop.get(), &SeriesLoop::unitStarted, [this](int number) {
            unitStarts.emplace_back(sim.time.clock.now(), number);
        });
    }
    ~SeriesBench() {
        loop.reset();
        sim.forgetPort();
    }

    SeriesHooks Hooks() {
        SeriesHooks hooks;
        hooks.MakeMeter = [this](ConfigEditor& editor, DeviceState& device) {
            auto meter = std::make_unique<MeterSession>(editor, device, sim.deviceFactory(), 1,
                                                        QStringLiteral("COM1"), sim.time.clock);
            sim.watchPort(meter->port());
            meter->OpenPort();
            return std::unique_ptr<SeriesMeter>(std::make_unique<SessionMeter>(std::move(meter)));
        };
        hooks.Journal = [this] { return &journal; };
        hooks.LastJournalId = [this] { return QString::number(journal.ended.size()); };
        hooks.Sound = [this](bool passed) { sounds.push_back(passed); };
        return hooks;
    }

    QStringList Start(SeriesSetup setup) { return loop->Start(std::move(setup)); }
    QStringList Start() { return Start(DefaultSetup(texts)); }
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 2min) {
        return sim.time.runUntil(done, limit);
    }
    bool RunUntilPhase(SeriesPhase phase, std::chrono::milliseconds limit = 2min) {
        return RunUntil([&] { return loop->phase() == phase; }, limit);
    }
    // The meter is unpowered and the signal off.
    bool LinesLow() { return !station->dtr() && !station->rts(); }
};

}  // namespace zmt::test
