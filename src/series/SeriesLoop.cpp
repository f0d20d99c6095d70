#include "series/SeriesLoop.h"

#include "device/DeviceImage.h"
#include "device/ImageCheck.h"
#include "device/ImageLayout.h"
#include "device/WriteCheck.h"
#include "language/AddedRows.h"
#include "language/LanguageText.h"
#include "language/OriginalRows.h"
#include "link/MeterStartup.h"

#include <QDir>
#include <QFileInfo>

#include <stdexcept>

namespace zmt {

namespace {

// The interface echoes the command byte; a meter that has started answers it with itself.
constexpr std::uint8_t kProbeByte = CommandByte;

QString Hex(const std::vector<std::uint8_t>& bytes) {
    QStringList parts;
    for (std::uint8_t byte : bytes)
        parts << QStringLiteral("0x%1")
                     .arg(byte, 2, 16, QLatin1Char('0'))
                     .toUpper()
                     .replace(QStringLiteral("0X"), QStringLiteral("0x"));
    return parts.join(u' ');
}

}  // namespace

QString SeriesSheetPath(const QString& folder, const QString& file, const SeriesUnit& unit) {
    const QString base = QFileInfo(file).completeBaseName();
    return QDir(folder).filePath(QStringLiteral("%1-%2-unit%3.pdf")
                                     .arg(base.isEmpty() ? QStringLiteral("series") : base)
                                     .arg(unit.time.toString(QStringLiteral("yyyyMMdd-HHmmss")))
                                     .arg(unit.number, 3, 10, QLatin1Char('0')));
}

// Every operation of the series reports here first: the unit takes its record's id from
// it, and a journal that cannot be written is said once for the series, not per unit.
class SeriesLoop::JournalRelay : public OperationReporter {
  public:
    explicit JournalRelay(SeriesLoop& loop) : loop_(loop) {}

    QString OperationStarting(Operation operation, const QString& port) override {
        if (OperationReporter* journal = loop_.Journal())
            loop_.RelayWarning(journal->OperationStarting(operation, port), loop_.journalWarned_);
        return {};
    }

    QString WriteStarting(const OperationReport& report) override {
        if (OperationReporter* journal = loop_.Journal())
            loop_.RelayWarning(journal->WriteStarting(report), loop_.journalWarned_);
        return {};
    }

    QString OperationEnded(const OperationReport& report) override {
        last = report;
        lastId.clear();
        if (OperationReporter* journal = loop_.Journal()) {
            loop_.RelayWarning(journal->OperationEnded(report), loop_.journalWarned_);
            if (loop_.hooks_.LastJournalId) lastId = loop_.hooks_.LastJournalId();
        }
        return {};
    }

    std::optional<OperationReport> last;
    QString lastId;

  private:
    SeriesLoop& loop_;
};

SeriesLoop::SeriesLoop(LanguageText& texts, SeriesHooks hooks, Clock& clock, QObject* parent)
    : QObject(parent),
      texts_(texts),
      hooks_(std::move(hooks)),
      relay_(std::make_unique<JournalRelay>(*this)) {
    probeTimer_ =
        new OneShotTimer(this, QStringLiteral("seriesProbeTimer"), ProbeIntervalMs, clock);
    probeTimer_->setHandler([this] {
        probeTimer_->setEnabled(false);
        Probe();
    });
    answerTimer_ =
        new OneShotTimer(this, QStringLiteral("seriesAnswerTimer"), ProbeAnswerMs, clock);
    answerTimer_->setHandler([this] {
        answerTimer_->setEnabled(false);
        JudgeProbe();
    });
}

OperationReporter* SeriesLoop::Journal() const {
    return hooks_.Journal ? hooks_.Journal() : nullptr;
}

SeriesLoop::~SeriesLoop() {
    probeTimer_->setEnabled(false);
    answerTimer_->setEnabled(false);
    if (meter_) {
        meter_->setChangeListener({});
        meter_->Release();
    }
}

QStringList SeriesLoop::Start(SeriesSetup setup) {
    if (Running()) return {};
    const WriteCheck check = CheckWritableConfiguration(setup.model);
    if (!check.ok())
        return {texts_.text(rows::InputError, setup.session.LanguageIndex),
                WriteProblemLine(check, texts_, setup.session.LanguageIndex)};
    meter_.reset();
    model_ = setup.model;
    session_ = setup.session;
    verify_ = setup.verify;
    count_ = setup.count;
    units_.clear();
    passed_ = failed_ = misses_ = silences_ = 0;
    unitOpen_ = removalDeferred_ = journalWarned_ = sheetWarned_ = false;
    endLines_.clear();
    device_ = DeviceState{};
    meter_ = hooks_.MakeMeter(editor_, device_);
    meter_->steps().setReporter(relay_.get());
    const QStringList problem = meter_->PowerForProbe();
    if (!problem.isEmpty()) {
        meter_->Release();
        return problem;
    }
    meter_->setChangeListener([this] { OperationMoved(); });
    SetPhase(SeriesPhase::WaitingForMeter);
    SetStatus(rows::SeriesWaitingForMeter);
    ScheduleProbe(0);
    return {};
}

void SeriesLoop::Stop() {
    if (!Running()) return;
    const bool unitUnderWay = phase_ == SeriesPhase::Writing || phase_ == SeriesPhase::Verifying;
    if (unitUnderWay && meter_->Writing()) {
        SetPhase(SeriesPhase::Stopping);
        SetStatus(rows::SeriesStopAfterWrite);
        return;
    }
    if (phase_ != SeriesPhase::Stopping) End(SeriesEnd::Stopped);
}

void SeriesLoop::SetPhase(SeriesPhase phase) {
    if (phase_ == phase) return;
    phase_ = phase;
    emit phaseChanged(phase);
}

void SeriesLoop::SetStatus(std::function<QString()> wording) {
    statusWording_ = std::move(wording);
    const QString status = statusWording_();
    if (status_ == status) return;
    status_ = status;
    emit statusChanged(status);
}

// A row of the table, with the unit's number where it has one.
void SeriesLoop::SetStatus(int row, int unit) {
    SetStatus([this, row, unit] { return unit > 0 ? text_(row).arg(unit) : text_(row); });
}

void SeriesLoop::SetLanguage(int languageIndex) {
    session_.LanguageIndex = languageIndex;
    if (statusWording_) SetStatus(statusWording_);
}

// ---- presence ----

void SeriesLoop::ScheduleProbe(int ms) {
    probeTimer_->setEnabled(false);
    probeTimer_->setInterval(std::max(ms, 0));
    probeTimer_->setEnabled(true);
}

void SeriesLoop::Probe() {
    const QStringList problem = meter_->SendProbeByte(kProbeByte);
    if (!problem.isEmpty()) return End(SeriesEnd::PortFailed, problem);
    answerTimer_->setEnabled(true);
}

void SeriesLoop::JudgeProbe() {
    QString note;
    const Answer answer = Classify(meter_->TakeProbeAnswer(), note);
    if (answer == Answer::Silence && ++silences_ >= SilencesForNoInterface)
        return End(
            SeriesEnd::NoInterface,
            {texts_.text(rows::NoInterfaceAt, session_.LanguageIndex) + session_.ComPortName});
    if (answer != Answer::Silence) silences_ = 0;
    if (phase_ == SeriesPhase::WaitingForMeter)
        OnAnswerWhileWaiting(answer, note);
    else if (phase_ == SeriesPhase::WaitingForRemoval)
        OnAnswerWhileRemoving(answer);
    if (phase_ == SeriesPhase::WaitingForMeter || phase_ == SeriesPhase::WaitingForRemoval)
        ScheduleProbe(ProbeIntervalMs - ProbeAnswerMs);
}

SeriesLoop::Answer SeriesLoop::Classify(const std::vector<std::uint8_t>& bytes,
                                        QString& note) const {
    if (bytes.empty()) return Answer::Silence;
    if (bytes == std::vector<std::uint8_t>{kProbeByte}) return Answer::InterfaceOnly;
    if (bytes == std::vector<std::uint8_t>{kProbeByte, kProbeByte}) return Answer::Meter;
    note = Hex(bytes);
    return Answer::Other;
}

void SeriesLoop::OnAnswerWhileWaiting(Answer answer, const QString& note) {
    switch (answer) {
        case Answer::Meter:
            return StartUnit();
        case Answer::InterfaceOnly:
            return SetStatus(rows::SeriesNoMeterAnswers);
        case Answer::Other:
            return SetStatus(
                [this, note] { return text_(rows::SeriesUnexpectedAnswer).arg(note); });
        case Answer::Silence:
            return;
    }
}

// A meter that still answers is the one just written: it is never written again. It
// counts as taken off only when it has not answered twice in a row.
void SeriesLoop::OnAnswerWhileRemoving(Answer answer) {
    if (answer == Answer::Meter) {
        misses_ = 0;
        return;
    }
    if (++misses_ < MissesForRemoval) return;
    SetPhase(SeriesPhase::WaitingForMeter);
    SetStatus(rows::SeriesWaitingForMeter);
}

// ---- one unit ----

void SeriesLoop::StartUnit() {
    current_ = SeriesUnit{};
    current_.number = int(units_.size()) + 1;
    current_.time = QDateTime::currentDateTime();
    relay_->last.reset();
    unitOpen_ = true;
    SetPhase(SeriesPhase::Writing);
    SetStatus(rows::SeriesWriting, current_.number);
    emit unitStarted(current_.number);
    meter_->StartOperation(OperationMode::Write);
    OperationMoved();  // a refused start settles at once
}

// The write's restart must be over before the read-back starts (starting it cancels what
// is pending); the read-back's result is known once its exchange has been judged, while
// the restart that follows it still runs, and only after that is the meter looked at.
void SeriesLoop::OperationMoved() {
    if (!meter_) return;
    OperationSequencer& steps = meter_->steps();
    if (removalDeferred_) {
        if (meter_->Settled()) WatchForRemoval();
    } else if (phase_ == SeriesPhase::Stopping) {
        if (!meter_->Writing()) End(SeriesEnd::Stopped);
    } else if (phase_ == SeriesPhase::Writing && meter_->Settled()) {
        WriteSettled();
    } else if (phase_ == SeriesPhase::Verifying && steps.OperationOver()) {
        VerifySettled();
    }
}

void SeriesLoop::WriteSettled() {
    OperationSequencer& steps = meter_->steps();
    const bool ok = steps.LastCheck() == ExchangeCheck::Passed && relay_->last &&
                    relay_->last->outcome == OperationOutcome::Succeeded;
    current_.journalId = relay_->lastId;
    if (!ok) return FinishUnit(UnitResult::Failed, steps.view().Info);
    if (!verify_) return FinishUnit(UnitResult::Passed, {});
    relay_->last.reset();
    SetPhase(SeriesPhase::Verifying);
    SetStatus(rows::SeriesVerifying, current_.number);
    meter_->StartOperation(OperationMode::Compare);
    OperationMoved();
}

// A read-back that differs is a failure that names the differences.
void SeriesLoop::VerifySettled() {
    OperationSequencer& steps = meter_->steps();
    current_.verifyJournalId = relay_->lastId;
    const bool read = steps.LastCheck() == ExchangeCheck::Passed && relay_->last &&
                      relay_->last->outcome == OperationOutcome::Succeeded;
    if (!read || !steps.Differences().empty())
        return FinishUnit(UnitResult::Failed, steps.view().Info);
    FinishUnit(UnitResult::Passed, {});
}

void SeriesLoop::FinishUnit(UnitResult result, QStringList reason) {
    unitOpen_ = false;
    current_.result = result;
    current_.reason = std::move(reason);
    if (result == UnitResult::Passed) {
        ++passed_;
        SaveSheetOf(current_);
    } else if (result == UnitResult::Failed) {
        ++failed_;
    }
    units_.push_back(current_);
    // The result is out: the status says so before anyone shows it, while the meter restarts.
    if (result != UnitResult::Stopped) SetStatus(rows::SeriesUnitDone, current_.number);
    if (result != UnitResult::Stopped && hooks_.Sound) hooks_.Sound(result == UnitResult::Passed);
    emit unitFinished(current_);
    if (result == UnitResult::Stopped) return;
    if (count_ > 0 && passed_ + failed_ >= count_) return End(SeriesEnd::CountReached);
    WaitForRemoval();
}

void SeriesLoop::SaveSheetOf(SeriesUnit& unit) {
    if (!hooks_.SaveSheet) return;
    try {
        unit.sheet = hooks_.SaveSheet(unit, model_, session_, device_);
    } catch (const std::exception& error) {
        RelayWarning(text_(rows::SeriesSheetNotSaved).arg(QString::fromUtf8(error.what())),
                     sheetWarned_);
    }
}

// The operator is asked to take the meter off only once its restart is over: a meter
// swapped before would be taken for the one just written.
void SeriesLoop::WaitForRemoval() {
    removalDeferred_ = true;
    OperationMoved();
}

// The unit's last exchange may have left the meter unpowered: it is powered again and
// given its start-up before anything decides that it has been taken off.
void SeriesLoop::WatchForRemoval() {
    removalDeferred_ = false;
    misses_ = 0;
    SetPhase(SeriesPhase::WaitingForRemoval);
    SetStatus(rows::SeriesWaitingForRemoval);
    const QStringList problem = meter_->PowerForProbe();
    if (!problem.isEmpty()) return End(SeriesEnd::PortFailed, problem);
    ScheduleProbe(link::MeterStartupMs);
}

// ---- the end ----

void SeriesLoop::End(SeriesEnd reason, QStringList lines) {
    probeTimer_->setEnabled(false);
    answerTimer_->setEnabled(false);
    if (meter_) meter_->Release();
    if (unitOpen_) {
        current_.journalId = current_.journalId.isEmpty() ? relay_->lastId : current_.journalId;
        FinishUnit(UnitResult::Stopped, {text_(rows::StoppedByInterrupt)});
    }
    end_ = reason;
    if (reason == SeriesEnd::Stopped) lines.prepend(text_(rows::SeriesStopped));
    if (reason == SeriesEnd::CountReached) lines.prepend(text_(rows::SeriesCountReached));
    const int units = int(units_.size());
    lines << (stopped() == 0 ? text_(rows::SeriesSummary).arg(units).arg(passed_).arg(failed_)
                             : text_(rows::SeriesSummaryWithStopped)
                                   .arg(units)
                                   .arg(passed_)
                                   .arg(failed_)
                                   .arg(stopped()));
    endLines_ = lines;
    SetPhase(SeriesPhase::Ended);
    const QString first = lines.first();
    if (reason == SeriesEnd::Stopped)
        SetStatus(rows::SeriesStopped);
    else if (reason == SeriesEnd::CountReached)
        SetStatus(rows::SeriesCountReached);
    else
        SetStatus([first] { return first; });
    emit ended(reason, endLines_);
}

void SeriesLoop::RelayWarning(const QString& line, bool& said) {
    if (line.isEmpty() || said) return;
    said = true;
    emit warning(line);
}

}  // namespace zmt

#include "moc_SeriesLoop.cpp"
