#include "device/OperationSequencer.h"

#include "device/ImageCheck.h"
#include "device/WriteCheck.h"
#include "editor/ConfigEditor.h"
#include "language/AddedRows.h"
#include "language/OriginalRows.h"

#include <array>

namespace zmt {

using namespace rows;

namespace {

// Texts by OperationMode (read, write, calibrate and write).
constexpr std::array<int, 6> kQuestionRows{AskRead,          AskWrite, AskCalibrateAndWrite,
                                           rows::AskCompare, AskRead,  rows::AskRestore};
constexpr std::array<int, 6> kTaskRows{ReadDevice,        TaskWrite,  TaskCalibrateAndWrite,
                                       rows::TaskCompare, ReadDevice, rows::TaskRestore};
// Compare and the tool's read write nothing.
constexpr std::array<int, 6> kFirstWriteRows{Reprogram, WriteConfiguration, Initialize,
                                             Reprogram, Reprogram,          rows::RestoreWriting};

int Index(OperationMode mode) {
    return static_cast<int>(mode);
}

}  // namespace

ExchangeVerdict JudgeExchange(const TransferState& transfer, const Texts& text,
                              const QString& portName) {
    const ExchangeCheck check = CheckExchange(transfer);
    if (check == ExchangeCheck::InterfaceMissing) return {{text(NoInterfaceAt) + portName}};
    QStringList lines{InterfaceOkLine};
    if (check == ExchangeCheck::ConnectionFailed) {
        lines << text(TransmissionError);
        return {lines};
    }
    const bool ok = check == ExchangeCheck::Passed;
    lines << text(ConnectionOk) << text(ok ? DataOk : ReceiveError);
    return {lines, ok};
}

void RunTimedStep(const OperationHooks& hooks, const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception& error) {
        if (hooks.ShowError) hooks.ShowError(QString::fromUtf8(error.what()));
    }
}

OneShotTimer* MakeTimedStepTimer(QObject* owner, const char* name, int ms, Clock& clock,
                                 const OperationHooks& hooks, std::function<void()> step,
                                 std::function<void()> after) {
    auto* timer = new OneShotTimer(owner, QString::fromLatin1(name), ms, clock);
    if (step)
        timer->setHandler([&hooks, step = std::move(step), after = std::move(after)] {
            RunTimedStep(hooks, step);
            after();
        });
    return timer;
}

OperationMode ModeOfFlags(bool calibrateFlag, bool writeFlag, bool compareFlag) {
    if (compareFlag) return OperationMode::Compare;
    if (!writeFlag) return OperationMode::Read;
    return calibrateFlag ? OperationMode::CalibrateAndWrite : OperationMode::Write;
}

OperationSequencer::OperationSequencer(TransferState& transfer, DeviceState& device,
                                       ConfigEditor& editor, OperationHooks hooks, Clock& clock,
                                       QObject* parent)
    : QObject(parent),
      transfer_(transfer),
      device_(device),
      editor_(editor),
      text_(editor.wording()),
      hooks_(std::move(hooks)) {
    const auto makeTimer = [this, &clock](const char* name, int ms,
                                          void (OperationSequencer::*step)()) {
        return MakeTimedStepTimer(
            this, name, ms, clock, hooks_, [this, step] { (this->*step)(); },
            [this] { emit viewChanged(); });
    };
    waittimer_ = makeTimer("waittimer", 1200, &OperationSequencer::waittimerTimer);
    resettimer_ = makeTimer("resettimer", 500, &OperationSequencer::resettimerTimer);
    offsettimer_ = makeTimer("offsettimer", 2400, &OperationSequencer::offsettimerTimer);
}

QString OperationSequencer::portName() const {
    return editor_.session().ComPortName;
}

// ---- asking and the opening read ----

void OperationSequencer::initform(OperationMode mode) {
    if (modeOverride_) mode = *modeOverride_;
    // A step still pending from the last run would otherwise write without being asked.
    CancelPendingSteps();
    transfer_.TransferStarted = false;
    view_.Label1.clear();
    view_.clearInfo();
    view_.infoColour = InfoColour::White;
    mode_ = mode;
    differences_.clear();
    view_.tasklabel = text_(kQuestionRows[Index(mode_)]);
    if (mode_ == OperationMode::Restore)
        view_.tasklabel = view_.tasklabel.arg(restore_.description);
    restoreConfirmation_ = readingBack_ = false;
    view_.Fertigbutton = {true, true};
    gainStep_ = calibrationDone_ = readingAccepted_ = false;
    view_.KalPan = view_.Anzeige = false;
    view_.OKButton.visible = view_.nochmalbutton.visible = false;
    view_.weiterbutton.visible = view_.Abbruchbutton.visible = true;
    view_.focusRequest = FocusTarget::weiterbutton;
    firstPass_ = true;
    hooks_.SetPortLines(true, true, true);
}

void OperationSequencer::weiterbuttonClick() {
    if (awaitingTransfer_ || !view_.weiterbutton.visible) return;
    if (restoreConfirmation_) {
        restoreConfirmation_ = false;
        view_.weiterbutton.visible = view_.Abbruchbutton.visible = false;
        StartWriteStep();
        return;
    }
    const bool needsConfiguration = mode_ != OperationMode::Read &&
                                    mode_ != OperationMode::ReadOnly &&
                                    mode_ != OperationMode::Restore;
    if (needsConfiguration && !ConfigurationWritable()) return;
    PrepareReadFrame(device_, transfer_);
    view_.clearInfo();
    BeginReport();
    view_.addInfo(text_(ReadingFrom) + portName());
    ShowJournalWarning();
    view_.Label1 = text_(ReadDevice);
    view_.tasklabel = text_(kTaskRows[Index(mode_)]);
    view_.weiterbutton.visible = view_.Abbruchbutton.visible = false;
    view_.Fertigbutton.visible = view_.nochmalbutton.visible = false;
    StartTransfer();
}

// A configuration whose words cannot all be computed is never sent, not even the opening
// read runs: the meter would keep nonsense and the window would call it a success.
bool OperationSequencer::ConfigurationWritable() {
    const WriteCheck check = CheckWritableConfiguration(editor_.model());
    if (check.ok()) return true;
    view_.clearInfo();
    view_.addInfo(text_(rows::InputError));
    view_.addInfo(WriteProblemLine(check, editor_.texts(), editor_.session().LanguageIndex));
    view_.infoColour = InfoColour::Red;
    view_.tasklabel = text_(kTaskRows[Index(mode_)]);
    view_.weiterbutton.visible = view_.Abbruchbutton.visible = false;
    OfferRepeatAndDone();
    return false;
}

void OperationSequencer::StartTransfer() {
    awaitingTransfer_ = true;
    hooks_.ShowTransferWindow();
}

// ---- judging an exchange ----

void OperationSequencer::TransferEnded() {
    if (!awaitingTransfer_) return;  // another window's exchange
    awaitingTransfer_ = false;
    Evaluate();
}

void OperationSequencer::Evaluate() {
    waittimer_->setEnabled(true);
    transferOk_ = false;
    ShowVerdict(JudgeExchange(transfer_, text_, portName()));
    if (readingBack_) {
        JudgeReadBack();
        return;
    }
    if (firstPass_) {
        ListReadImage();
        if (!transferOk_) return EndReport(OperationOutcome::Failed);
        report_.asFound = device_.DeviceImage;
        report_.asFoundValid = !FirstInvalidImageValue(device_.DeviceImage).has_value();
        if (mode_ == OperationMode::Compare) ShowComparison();
        if (mode_ == OperationMode::ReadOnly) {
            OfferRepeatAndDone();
            EndReport(OperationOutcome::Succeeded);
        }
        return;
    }
    view_.Label1.clear();
    if (mode_ == OperationMode::Restore && transferOk_) {
        // The read-back follows the restart.
        view_.clearInfo();
        view_.addInfo(text_(WriteDone));
        return;
    }
    if (mode_ != OperationMode::CalibrateAndWrite)
        FinishWrite();
    else if (transferOk_)
        ContinueCalibration();
    if (!transferOk_) EndReport(OperationOutcome::Failed);
}

void OperationSequencer::ShowVerdict(const ExchangeVerdict& verdict) {
    for (const QString& line : verdict.lines) view_.addInfo(line);
    transferOk_ = verdict.ok;
    lastCheck_ = CheckExchange(transfer_);
    if (transferOk_) {
        view_.infoColour = InfoColour::Lime;
        return;
    }
    view_.infoColour = InfoColour::Red;
    waittimer_->setEnabled(false);
    view_.Fertigbutton.enabled = true;  // but not shown
    view_.nochmalbutton = {true, true};
    view_.focusRequest = FocusTarget::nochmalbutton;
}

void OperationSequencer::ListReadImage() {
    TakeReceivedData(device_, transfer_);
    memo1_ << QStringLiteral("reccount %1").arg(transfer_.ReceiveCount);
    for (std::uint16_t word : device_.DeviceImage) memo1_ << QString::number(word);
}

// The meter against what writing the configuration would give it; the power cycle that
// ends every operation follows, the editor keeps its values.
void OperationSequencer::ShowComparison() {
    const ImageWords expected = ImageToWrite(editor_.model(), device_);
    differences_ = CompareImages(expected, device_.DeviceImage, editor_.model().UnitText.trimmed());
    view_.clearInfo();
    if (differences_.empty()) {
        view_.addInfo(text_(rows::MeterMatches));
    } else {
        view_.infoColour = InfoColour::Yellow;
        view_.addInfo(text_(rows::MeterDiffers));
        for (const ImageDifference& difference : differences_)
            view_.addInfo(
                DifferenceText(difference, editor_.texts(), editor_.session().LanguageIndex));
    }
    view_.Label1.clear();
    OfferRepeatAndDone();
    EndReport(OperationOutcome::Succeeded);
}

bool OperationSequencer::WritesNothing() const {
    return mode_ == OperationMode::Compare || mode_ == OperationMode::ReadOnly;
}

bool OperationSequencer::Settled() const {
    return OperationOver() && !waittimer_->enabled() && !resettimer_->enabled();
}

void OperationSequencer::FinishWrite() {
    try {
        if (transferOk_ && mode_ == OperationMode::Read) {
            hooks_.EditorStep([this](Effects& fx) { ImageToConfig(device_, editor_, fx); });
            view_.clearInfo();
            view_.addInfo(text_(ReadTaken));
            view_.addInfo(text_(RoundingPossible));
            WarnOfInvalidConfiguration();
        } else if (transferOk_) {
            view_.clearInfo();
            view_.addInfo(text_(WriteDone));
        }
    } catch (...) {
        OfferRepeatAndDone();
        EndReport(OperationOutcome::Succeeded);  // the meter was written all the same
        throw;
    }
    OfferRepeatAndDone();
    if (transferOk_) EndReport(OperationOutcome::Succeeded);
}

// The meter's words are taken as they are, but a new or erased meter, or one set up by other
// means, is named as such: the editor now holds values that no configuration would have.
void OperationSequencer::WarnOfInvalidConfiguration() {
    const auto invalid = FirstInvalidImageValue(ReadImage(device_));
    if (!invalid) return;
    view_.addWarning(
        NoValidConfigurationLine(*invalid, editor_.texts(), editor_.session().LanguageIndex));
}

void OperationSequencer::OfferRepeatAndDone() {
    view_.nochmalbutton = {true, true};
    view_.Fertigbutton = {true, true};
    view_.focusRequest = FocusTarget::Fertigbutton;
}

// ---- the power cycle after a good exchange, and the first write ----

void OperationSequencer::waittimerTimer() {
    waittimer_->setEnabled(false);
    hooks_.SetPortLines(false, true, false);
    resettimer_->setEnabled(true);
}

void OperationSequencer::resettimerTimer() {
    resettimer_->setEnabled(false);
    if (firstPass_ && WritesNothing()) {
        firstPass_ = false;
        hooks_.SetDTR(true);  // the meter starts again; nothing is written
    } else if (firstPass_) {
        firstPass_ = false;
        try {
            ConfirmOrWriteRestore();
        } catch (...) {
            OfferRepeatAndDone();
            EndReport(OperationOutcome::Failed);
            throw;
        }
    } else {
        hooks_.SetDTR(true);
        if (mode_ == OperationMode::Restore && !readingBack_) StartReadBack();
    }
}

// A meter that no longer holds what the record wrote may be another one: the operator
// confirms once more before it is overwritten.
void OperationSequencer::ConfirmOrWriteRestore() {
    const bool differs = mode_ == OperationMode::Restore && restore_.expected &&
                         *restore_.expected != device_.DeviceImage;
    if (!differs) {
        StartWriteStep();
        return;
    }
    restoreConfirmation_ = true;
    view_.clearInfo();
    view_.addWarning(text_(rows::RestoreMeterDiffers));
    ShowJournalWarning();
    view_.infoColour = InfoColour::Yellow;
    view_.weiterbutton = view_.Abbruchbutton = {true, true};
    view_.focusRequest = FocusTarget::weiterbutton;
}

void OperationSequencer::StartWriteStep() {
    view_.infoColour = InfoColour::White;
    view_.clearInfo();
    if (mode_ == OperationMode::CalibrateAndWrite)
        device_.DeviceImage = InitialCalibrationImage();
    else if (mode_ == OperationMode::Write)
        ConfigToImage(device_, editor_.model());
    else if (mode_ == OperationMode::Restore)
        device_.DeviceImage = restore_.image;
    const QString title = text_(kFirstWriteRows[Index(mode_)]);
    view_.addInfo(title);
    view_.Label1 = title;
    view_.addInfo(text_(WriteDataTo) + portName());
    ShowJournalWarning();
    PrepareWriteFrame(device_, transfer_);
    NoteWrittenImage();
    RecordWriteStart();
    StartTransfer();
}

void OperationSequencer::CancelPendingSteps() {
    waittimer_->setEnabled(false);
    resettimer_->setEnabled(false);
    offsettimer_->setEnabled(false);
    if (reportOpen_) EndReport(OperationOutcome::Cancelled);
}

// ---- restore's read-back ----

void OperationSequencer::StartReadBack() {
    readingBack_ = true;
    view_.Fertigbutton.visible = view_.nochmalbutton.visible = false;
    view_.addInfo(text_(ReadingFrom) + portName());
    PrepareReadFrame(device_, transfer_);
    StartTransfer();
}

void OperationSequencer::JudgeReadBack() {
    if (!transferOk_) return EndReport(OperationOutcome::Failed);
    TakeReceivedData(device_, transfer_);
    report_.readBack = device_.DeviceImage;
    int differing = 0;
    for (int word = 0; word < ImageWordCount; ++word)
        if (device_.DeviceImage[word] != restore_.image[word]) ++differing;
    report_.differences = differing;
    view_.clearInfo();
    if (differing == 0) {
        view_.addInfo(text_(rows::RestoreReadBackMatches));
    } else {
        view_.infoColour = InfoColour::Red;
        view_.addInfo(text_(rows::RestoreReadBackDiffers).arg(differing));
    }
    OfferRepeatAndDone();
    EndReport(differing == 0 ? OperationOutcome::Succeeded : OperationOutcome::Failed);
}

// ---- the record of the operation ----

Operation OperationSequencer::OperationName(OperationMode mode) {
    switch (mode) {
        case OperationMode::Read:
        case OperationMode::ReadOnly:
            return Operation::Read;
        case OperationMode::Write:
            return Operation::Write;
        case OperationMode::CalibrateAndWrite:
            return Operation::Calibrate;
        case OperationMode::Compare:
            return Operation::Compare;
        case OperationMode::Restore:
            return Operation::Restore;
    }
    return Operation::Read;
}

void OperationSequencer::BeginReport() {
    report_ = OperationReport{};
    report_.operation = OperationName(mode_);
    report_.port = portName();
    reportOpen_ = true;
    writeRecorded_ = false;
    journalWarning_ =
        reporter_ ? reporter_->OperationStarting(report_.operation, report_.port) : QString();
}

void OperationSequencer::ShowJournalWarning() {
    if (!journalWarning_.isEmpty()) view_.addWarning(journalWarning_);
}

void OperationSequencer::NoteWrittenImage() {
    report_.written = device_.DeviceImage;
}

// The first write frame of an operation goes out only once its record is kept.
void OperationSequencer::RecordWriteStart() {
    if (!reporter_ || !reportOpen_ || writeRecorded_) return;
    writeRecorded_ = true;
    const QString warning = reporter_->WriteStarting(report_);
    if (warning.isEmpty() || warning == journalWarning_) return;
    journalWarning_ = warning;
    ShowJournalWarning();
}

void OperationSequencer::EndReport(OperationOutcome outcome) {
    if (!reportOpen_) return;
    reportOpen_ = false;
    report_.outcome = outcome;
    report_.verdict = view_.Info;
    report_.lastCheck = static_cast<int>(lastCheck_);
    if (mode_ == OperationMode::Compare) report_.differences = int(differences_.size());
    if (mode_ == OperationMode::CalibrateAndWrite) {
        report_.offsetReading = device_.OffsetDisplayReading;
        report_.gainReading = device_.GainDisplayReading;
    }
    if (!reporter_) return;
    const QString warning = reporter_->OperationEnded(report_);
    if (!warning.isEmpty()) view_.addWarning(warning);
}

// ---- calibration ----

void OperationSequencer::ContinueCalibration() {
    if (calibrationDone_) {
        ShowFinalCalibration();
        return;
    }
    hooks_.SetPortLines(true, true, true);
    if (gainStep_) {
        OpenPrompt(AdjustGain);
        return;
    }
    // The meter restarts with the signal on and loses it here, before it is read.
    offsettimer_->setEnabled(true);
    OpenPrompt(AdjustOffset);
}

void OperationSequencer::OpenPrompt(int titleRow) {
    view_.clearInfo();
    view_.addInfo(text_(titleRow));
    view_.addInfo(text_(WaitForStableReading));
    view_.addInfo(text_(ThenPressEnter));
    view_.Label1 = text_(titleRow);
    view_.KalPan = view_.Anzeige = true;
    view_.focusRequest = FocusTarget::Anzeige;
    readingAccepted_ = false;
}

void OperationSequencer::ShowFinalCalibration() {
    view_.clearInfo();
    view_.addInfo(text_(CalibrationFinished));
    view_.Label1.clear();
    view_.KalPan = view_.Anzeige = false;
    OfferRepeatAndDone();
    EndReport(OperationOutcome::Succeeded);
}

void OperationSequencer::offsettimerTimer() {
    offsettimer_->setEnabled(false);
    hooks_.SetRTS(false);
}

void OperationSequencer::AnzeigeExit(const QString& text) {
    if (!PromptOpen()) return;
    readingAccepted_ = false;
    const ReadingResult result = gainStep_ ? TakeGainReading(text, device_, editor_.model())
                                           : TakeOffsetReading(text, device_);
    if (!result.valid()) {
        RefuseReading(result.refusal);
        return;
    }
    readingAccepted_ = true;
    view_.anzeigeTextRequest = result.anzeigeText;
    view_.Fertigbutton.visible = false;
    view_.OKButton = {true, true};
    view_.focusRequest = FocusTarget::OKButton;
}

// A nonsense reading would calibrate the meter into nonsense: it waits for a correction.
void OperationSequencer::RefuseReading(ReadingRefusal refusal) {
    view_.addInfo(text_(rows::InputError));
    if (const auto detail = RefusalDetailRow(refusal)) view_.addInfo(text_(*detail));
    view_.Fertigbutton.visible = false;
    view_.OKButton.enabled = false;
    view_.focusRequest = FocusTarget::Anzeige;
}

void OperationSequencer::OKButtonClick() {
    if (!PromptOpen() || !readingAccepted_) return;
    readingAccepted_ = false;
    view_.OKButton.visible = false;
    view_.Anzeige = false;
    if (!gainStep_) {
        view_.addInfo(text_(CalibratingOffset));
        gainStep_ = true;
    } else {
        gainStep_ = false;
        calibrationDone_ = true;
        view_.addInfo(text_(CalibratingGain));
        view_.addInfo(text_(ConfigurationTaken));
    }
    WriteCalibration();
}

void OperationSequencer::WriteCalibration() {
    view_.addInfo(text_(WriteDataTo) + portName());
    PrepareWriteFrame(device_, transfer_);
    NoteWrittenImage();
    StartTransfer();
}

}  // namespace zmt

#include "moc_OperationSequencer.cpp"
