#include "device/LegacySequencer.h"

#include "device/ImageCheck.h"
#include "device/LegacyImage.h"
#include "editor/ConfigEditor.h"

namespace zmt {

using namespace words;

namespace {

const QString kConnectionOk = QStringLiteral("Übertragungsstrecke... O.K.");
const QString kConnectionError = QStringLiteral("Fehler in Übertragungsstrecke !!!");
const QString kDataOk = QStringLiteral("Daten... O.K.");
const QString kReceiveError = QStringLiteral("Fehler Empfang !!!");
const QString kReadDevice = QStringLiteral("Gerät auslesen");

bool NoInterfaceAtAll(const TransferState& transfer) {
    return !transfer.ByteReceived && transfer.ReceiveTimedOut && transfer.received(0) == 0;
}

// The interface check sends one byte and reports both bytes that came back.
ExchangeVerdict JudgeInterfaceCheck(const TransferState& transfer) {
    ExchangeVerdict verdict;
    const std::uint16_t sent = transfer.NextByte;
    if (transfer.received(0) == sent) {
        verdict.lines << InterfaceOkLine;
        verdict.ok = transfer.received(1) == sent;
        verdict.lines << (verdict.ok ? kConnectionOk : kConnectionError);
    }
    verdict.lines << QStringLiteral("Byte 1: %1").arg(transfer.received(0))
                  << QStringLiteral("Byte 2: %1").arg(transfer.received(1));
    return verdict;
}

ExchangeVerdict JudgeFrame(const TransferState& transfer, CountTolerance tolerance) {
    const ExchangeCheck check = CheckExchange(transfer, tolerance);
    if (check == ExchangeCheck::InterfaceMissing) return {};
    QStringList lines{InterfaceOkLine};
    if (check == ExchangeCheck::ConnectionFailed) return {lines << kConnectionError};
    lines << kConnectionOk;
    const bool ok = check == ExchangeCheck::Passed;
    return {lines << (ok ? kDataOk : kReceiveError), ok};
}

}  // namespace

ExchangeVerdict JudgeLegacyExchange(const TransferState& transfer, const QString& portName) {
    ExchangeVerdict verdict;
    if (NoInterfaceAtAll(transfer))
        verdict.lines << QStringLiteral("kein Interface auf ") + portName +
                             QStringLiteral(" gefunden");
    if (!transfer.ByteReceived || transfer.ReceiveCount <= 0) return verdict;
    ExchangeVerdict further;
    switch (transfer.TransferKind) {
        case InterfaceCheck:
            further = JudgeInterfaceCheck(transfer);
            break;
        case LegacyRead:
            further = JudgeFrame(transfer, CountTolerance::Exact);
            break;
        case LegacyWrite:
            further = JudgeFrame(transfer, CountTolerance::OneExtra);
            break;
        default:
            break;
    }
    verdict.lines << further.lines;
    verdict.ok = further.ok;
    return verdict;
}

LegacySequencer::LegacySequencer(TransferState& transfer, DeviceState& device, ConfigEditor& editor,
                                 LegacyHooks hooks, Clock& clock, QObject* parent)
    : QObject(parent),
      transfer_(transfer),
      device_(device),
      editor_(editor),
      hooks_(std::move(hooks)) {
    const auto makeTimer = [this, &clock](const char* name, int ms,
                                          void (LegacySequencer::*step)()) {
        std::function<void()> run;
        if (step) run = [this, step] { (this->*step)(); };
        return MakeTimedStepTimer(this, name, ms, clock, hooks_, std::move(run),
                                  [this] { emit viewChanged(); });
    };
    Timer1_ = makeTimer("Timer1", 1500, &LegacySequencer::Timer1Timer);
    // The tasks that would use Timer2 are never chosen.
    Timer2_ = makeTimer("Timer2", 1000, nullptr);
    resettimer_ = makeTimer("resettimer", 750, &LegacySequencer::resettimerTimer);
    view_.taskpanel = false;
    view_.weiterbutton = {true, true};
    view_.Abbruchbutton = {true, true};
    view_.Fertigbutton = {false, false};
}

QString LegacySequencer::portName() const {
    return editor_.session().ComPortName;
}

void LegacySequencer::Beep() {
    if (hooks_.Beep) hooks_.Beep();
}

void LegacySequencer::Reset() {
    CancelPendingSteps();
    transfer_.TransferStarted = false;
    view_.infoColour = InfoColour::Window;
    transfer_.TransferKind = NoTransfer;
    view_.clearInfo();
    view_.Label1.clear();
    view_.KalPan = view_.Anzeige = view_.OKButton.visible = false;
    view_.taskpanel = true;
    view_.tasklabel = QStringLiteral("Gerät auslesen?");
    view_.nochmalbutton.enabled = view_.Fertigbutton.enabled = false;
    view_.weiterbutton.visible = view_.Abbruchbutton.visible = true;
    view_.focusRequest = FocusTarget::weiterbutton;
    legacyTask_ = TaskStart;
}

void LegacySequencer::checkintClick() {
    if (awaitingTransfer_) return;
    transfer_.SendCount = 1;
    transfer_.ExpectedCount = 2;
    transfer_.SendBuffer[0] = transfer_.SendBuffer[1] = 0;
    transfer_.ReceiveBuffer[0] = transfer_.ReceiveBuffer[1] = 0;
    transfer_.SendBuffer[0] = CommandByte;
    transfer_.TransferKind = InterfaceCheck;
    view_.clearInfo();
    view_.addInfo(QStringLiteral("Check Interface on ") + portName());
    StartTransfer();
}

void LegacySequencer::weiterbuttonClick() {
    if (awaitingTransfer_ || !view_.weiterbutton.visible) return;
    PrepareReadFrame(device_, transfer_);
    view_.clearInfo();
    view_.addInfo(QStringLiteral("Lese Daten von ") + portName());
    report_ = OperationReport{};
    report_.operation = Operation::LegacyRead;
    report_.port = portName();
    reportOpen_ = true;
    journalWarning_ =
        reporter_ ? reporter_->OperationStarting(report_.operation, report_.port) : QString();
    if (!journalWarning_.isEmpty()) view_.addWarning(journalWarning_);
    transfer_.TransferKind = LegacyRead;
    view_.Label1 = kReadDevice;
    view_.tasklabel = kReadDevice;
    view_.weiterbutton.visible = view_.Abbruchbutton.visible = false;
    StartTransfer();
}

void LegacySequencer::StartTransfer() {
    awaitingTransfer_ = true;
    hooks_.ShowTransferWindow();
}

void LegacySequencer::TransferEnded() {
    if (!awaitingTransfer_) return;  // another window's exchange
    awaitingTransfer_ = false;
    Evaluate();
}

void LegacySequencer::Evaluate() {
    Beep();
    ListReadWords();
    view_.Memo3 << QStringLiteral("## %1").arg(device_.DeviceImage[w0])
                << (legacyTask_ == TaskStart ? QStringLiteral("nowtask: nowtask")
                                             : QStringLiteral("nowtask: anders"))
                << (legacyOk_ ? QStringLiteral("ok") : QStringLiteral("no"))
                << QString::number(transfer_.ExpectedCount);
    if (transfer_.TransferStarted && legacyTask_ != TaskStart) {
        // Restart the meter with the image just written.
        hooks_.SetPortLines(false, true, false);
        resettimer_->setEnabled(true);
    }
    view_.Label1.clear();
    legacyOk_ = false;
    JudgeAndColour();
    if (legacyTask_ == TaskStart && legacyOk_) {
        legacyTask_ = TaskReadDone;
        ListReadWords();
        report_.asFound = device_.DeviceImage;
        report_.asFoundValid = !FirstInvalidImageValue(device_.DeviceImage).has_value();
        Timer1_->setInterval(1000);
        Timer1_->setEnabled(true);
    }
    if (transfer_.TransferStarted && !legacyOk_) legacyTask_ = TaskFinished;
    if (legacyTask_ == TaskFinished) FinishTask();
}

void LegacySequencer::ListReadWords() {
    TakeReceivedData(device_, transfer_);
    view_.Memo2 << QStringLiteral(" ---");
    for (std::uint16_t word : device_.ReadWords) view_.Memo2 << QString::number(word);
}

void LegacySequencer::JudgeAndColour() {
    const ExchangeVerdict verdict = JudgeLegacyExchange(transfer_, portName());
    for (const QString& line : verdict.lines) view_.addInfo(line);
    legacyOk_ = verdict.ok;
    if (legacyOk_ && transfer_.TransferKind == LegacyRead && legacyTask_ == TaskStart)
        view_.Memo3Aqua = true;
    view_.infoColour = legacyOk_ ? InfoColour::Lime : InfoColour::Red;
    if (!legacyOk_) Beep();
}

void LegacySequencer::FinishTask() {
    view_.nochmalbutton = {true, true};
    view_.Fertigbutton = {true, true};
    view_.focusRequest = FocusTarget::nochmalbutton;
    view_.KalPan = view_.Anzeige = view_.OKButton.visible = false;
    if (legacyOk_) GiveValuesToMainWindow();
    EndReport(legacyOk_ ? OperationOutcome::Succeeded : OperationOutcome::Failed);
}

void LegacySequencer::EndReport(OperationOutcome outcome) {
    if (!reportOpen_) return;
    reportOpen_ = false;
    report_.outcome = outcome;
    report_.verdict = view_.Info;
    report_.lastCheck = static_cast<int>(CheckExchange(transfer_));
    if (!reporter_) return;
    const QString warning = reporter_->OperationEnded(report_);
    if (!warning.isEmpty()) view_.addWarning(warning);
}

void LegacySequencer::GiveValuesToMainWindow() {
    view_.clearInfo();
    view_.addInfo(QStringLiteral("-  Datentransfer erfolgreich  -"));
    hooks_.EditorStep([this](Effects& fx) { LegacyImageToConfig(device_, editor_, fx); });
    view_.addInfo(QString());
    view_.addInfo(QStringLiteral("Die Geräteparameter wurden als Vorgabeparameter übernommen."));
    view_.addInfo(QStringLiteral("(Rundungsfehler bei Skalierung möglich)"));
}

void LegacySequencer::Timer1Timer() {
    Timer1_->setEnabled(false);
    if (legacyTask_ != TaskReadDone) return;
    PrepareWriteFrame(device_, transfer_);
    transfer_.TransferKind = LegacyWrite;
    view_.clearInfo();
    view_.addInfo(QStringLiteral("  Gelesene Daten neu programmieren"));
    view_.addInfo(QStringLiteral("Schreibe Daten auf ") + portName());
    view_.Label1 = QStringLiteral("Reprogrammierung");
    report_.written = device_.DeviceImage;
    // The image read is kept before the meter is written again.
    if (reporter_ && reportOpen_) {
        const QString warning = reporter_->WriteStarting(report_);
        if (!warning.isEmpty()) journalWarning_ = warning;
    }
    if (!journalWarning_.isEmpty()) view_.addWarning(journalWarning_);
    StartTransfer();
    legacyTask_ = TaskFinished;
}

void LegacySequencer::resettimerTimer() {
    resettimer_->setEnabled(false);
    hooks_.SetDTR(true);
}

void LegacySequencer::FertigbuttonClick() {
    CancelPendingSteps();
    const SessionState& session = editor_.session();
    hooks_.SetPortLines(session.PowerOn, session.SignalOn, false);
}

void LegacySequencer::CancelPendingSteps() {
    Timer1_->setEnabled(false);
    Timer2_->setEnabled(false);
    resettimer_->setEnabled(false);
    if (reportOpen_) EndReport(OperationOutcome::Cancelled);
}

}  // namespace zmt

#include "moc_LegacySequencer.cpp"
