#pragma once

#include "language/Texts.h"

// One configuration into meter after meter, without a window: wait until a meter answers
// on the interface, write it through the same operation steps as every write, read it back
// and compare when asked, record the unit, show and sound its result, wait until it has
// been taken off, and wait for the next.

#include "common/Clock.h"
#include "common/OneShotTimer.h"
#include "device/DeviceState.h"
#include "device/OperationReport.h"
#include "editor/ConfigEditor.h"
#include "editor/ConfigModel.h"
#include "series/SeriesMeter.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace zmt {

class LanguageText;

enum class SeriesPhase {
    Idle,
    WaitingForMeter,
    Writing,
    Verifying,
    WaitingForRemoval,
    Stopping,  // a stop waits for the write frame under way
    Ended,
};

enum class UnitResult { Passed, Failed, Stopped };

struct SeriesUnit {
    int number = 0;
    QDateTime time;
    UnitResult result = UnitResult::Failed;
    // Why it failed: the operation's last lines, or the differences read back.
    QStringList reason;
    QString journalId;        // the write's record
    QString verifyJournalId;  // the read-back's record
    QString sheet;            // the sheet written for it
};

enum class SeriesEnd {
    Stopped,       // asked to stop
    CountReached,  // the units asked for are done
    PortFailed,    // the port failed; the lines say how
    NoInterface,   // nothing echoes on the port
};

// What a series is started with: a copy of the configuration (a file changed or deleted
// on disk afterwards does not matter), where it came from, and the options.
struct SeriesSetup {
    ConfigModel model;
    SessionState session;  // the port and the language; the file name shows in the records
    bool verify = true;
    int count = 0;  // units to do; 0: until stopped
};

// What the loop does outside itself.
struct SeriesHooks {
    // The port and the operations over the series' own copy of the configuration.
    std::function<std::unique_ptr<SeriesMeter>(ConfigEditor& editor, DeviceState& device)>
        MakeMeter;
    // Keeps the record of every operation (asked for each report, once a meter has been
    // made); empty or null: none.
    std::function<OperationReporter*()> Journal;
    // The journal's id of the last record appended, to name it in the unit's line.
    std::function<QString()> LastJournalId;
    // The pass and the failure sound.
    std::function<void(bool passed)> Sound;
    // Saves the unit's configuration sheet; returns the file written, or throws a message
    // as std::runtime_error; empty: no sheets.
    std::function<QString(const SeriesUnit& unit, const ConfigModel& model,
                          const SessionState& session, const DeviceState& device)>
        SaveSheet;
};

// Where a unit's configuration sheet goes: the folder, the configuration file's name (or
// "series"), the unit's time and its number.
QString SeriesSheetPath(const QString& folder, const QString& file, const SeriesUnit& unit);

class SeriesLoop : public QObject {
    Q_OBJECT
  public:
    // A meter is looked for about once a second; its answer is awaited this long.
    static constexpr int ProbeIntervalMs = 1000;
    static constexpr int ProbeAnswerMs = 100;
    // Missing answers in a row before a meter counts as taken off, or the interface as gone.
    static constexpr int MissesForRemoval = 2;
    static constexpr int SilencesForNoInterface = 2;

    SeriesLoop(LanguageText& texts, SeriesHooks hooks, Clock& clock, QObject* parent = nullptr);
    ~SeriesLoop() override;

    // Empty when the series runs, else why not: a configuration that cannot be evaluated
    // (the write guard's lines), or the port's failure lines.
    QStringList Start(SeriesSetup setup);
    // Stops at once, except during a write frame: that finishes first.
    void Stop();

    SeriesPhase phase() const { return phase_; }
    bool Running() const { return phase_ != SeriesPhase::Idle && phase_ != SeriesPhase::Ended; }
    // What the loop is doing, in the series' language.
    const QString& status() const { return status_; }
    // Says what follows in another language: the status now, and every text after it.
    void SetLanguage(int languageIndex);
    const std::vector<SeriesUnit>& units() const { return units_; }
    int passed() const { return passed_; }
    int failed() const { return failed_; }
    // A unit the stop cut short: neither passed nor failed.
    int stopped() const { return int(units_.size()) - passed_ - failed_; }
    SeriesEnd endReason() const { return end_; }
    const QStringList& endLines() const { return endLines_; }
    const ConfigModel& configuration() const { return model_; }
    // The operations of the unit under way (null while none runs).
    SeriesMeter* meter() { return meter_.get(); }

  signals:
    void phaseChanged(zmt::SeriesPhase phase);
    void statusChanged(const QString& status);
    void unitStarted(int number);
    void unitFinished(const zmt::SeriesUnit& unit);
    // Said once per series for each kind: the journal cannot be written, a sheet failed.
    void warning(const QString& line);
    void ended(zmt::SeriesEnd reason, const QStringList& lines);

  private:
    class JournalRelay;
    enum class Answer { Meter, InterfaceOnly, Silence, Other };

    void SetPhase(SeriesPhase phase);
    // The status as it is worded again after a change of language.
    void SetStatus(std::function<QString()> wording);
    void SetStatus(int row, int unit = 0);
    void ScheduleProbe(int ms);
    void Probe();
    void JudgeProbe();
    Answer Classify(const std::vector<std::uint8_t>& bytes, QString& note) const;
    void OnAnswerWhileWaiting(Answer answer, const QString& note);
    void OnAnswerWhileRemoving(Answer answer);
    void StartUnit();
    void OperationMoved();
    void WriteSettled();
    void VerifySettled();
    void FinishUnit(UnitResult result, QStringList reason);
    void SaveSheetOf(SeriesUnit& unit);
    void WaitForRemoval();
    void WatchForRemoval();
    void End(SeriesEnd reason, QStringList lines = {});
    void RelayWarning(const QString& line, bool& said);
    OperationReporter* Journal() const;

    LanguageText& texts_;
    SeriesHooks hooks_;
    std::unique_ptr<JournalRelay> relay_;
    OneShotTimer* probeTimer_;
    OneShotTimer* answerTimer_;

    ConfigModel model_;
    SessionState session_;
    Texts text_{texts_, session_.LanguageIndex};
    ConfigEditor editor_{model_, session_, texts_};
    DeviceState device_;
    std::unique_ptr<SeriesMeter> meter_;
    bool verify_ = true;
    int count_ = 0;

    SeriesPhase phase_ = SeriesPhase::Idle;
    QString status_;
    std::function<QString()> statusWording_;
    std::vector<SeriesUnit> units_;
    SeriesUnit current_;
    int passed_ = 0;
    int failed_ = 0;
    int misses_ = 0;
    int silences_ = 0;
    bool unitOpen_ = false;         // a unit has started and has no result yet
    bool removalDeferred_ = false;  // the unit's last steps run before the meter is watched
    bool journalWarned_ = false;
    bool sheetWarned_ = false;
    SeriesEnd end_ = SeriesEnd::Stopped;
    QStringList endLines_;
};

}  // namespace zmt
