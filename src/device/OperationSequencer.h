#pragma once

// The read, write and calibrate-and-write operations on the meter as a chain of steps,
// without a window: which frame is sent when, what the interface lines do in between,
// how each exchange is judged and what the operator sees.

#include "common/Clock.h"
#include "common/OneShotTimer.h"
#include "device/Calibration.h"
#include "device/DeviceImage.h"
#include "device/ImageComparison.h"
#include "device/OperationReport.h"
#include "device/OperationView.h"
#include "editor/Effects.h"
#include "language/Texts.h"
#include "link/interface/TransferState.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <vector>

namespace zmt {

class ConfigEditor;

// What the operations do outside themselves. The window binds them to the main window and
// the transfer window.
struct OperationHooks {
    // The main window's SetPortLines with the selected port's name.
    std::function<void(bool power, bool signal, bool reopen)> SetPortLines;
    // One line set directly on the port; a failure is ignored there.
    std::function<void(bool on)> SetDTR;
    std::function<void(bool on)> SetRTS;
    // Starts the exchange that the transfer state describes.
    std::function<void()> ShowTransferWindow;
    // Runs an editor operation and shows its outcome in the main window.
    std::function<void(const std::function<void(Effects&)>&)> EditorStep;
    // The application's error display, for a step that a timer ran and that failed.
    std::function<void(const QString& message)> ShowError;
};

// Runs a step that a timer started: a failure goes to the hooks' error display.
void RunTimedStep(const OperationHooks& hooks, const std::function<void()>& step);

// A timer of `owner` (disabled) whose expiry runs `step` as a timed step, then `after`;
// without a step it runs nothing. `hooks` must live as long as the owner.
OneShotTimer* MakeTimedStepTimer(QObject* owner, const char* name, int ms, Clock& clock,
                                 const OperationHooks& hooks, std::function<void()> step,
                                 std::function<void()> after);

// The line of a passed interface check, the same in both languages and in both windows.
inline const QString InterfaceOkLine = QStringLiteral("Interface... O.K.");

// The lines the three exchange checks add, in order, and whether all passed.
struct ExchangeVerdict {
    QStringList lines;
    bool ok = false;
};
ExchangeVerdict JudgeExchange(const TransferState& transfer, const Texts& text,
                              const QString& portName);

// The operation chosen when the window is shown. Compare reads the meter and compares it
// with the configuration; it writes nothing back and leaves the editor as it is. ReadOnly
// reads the meter and only restarts it (the command-line tool's read). Restore writes a
// recorded image back as it is and reads it back after the restart.
enum class OperationMode {
    Read = 0,
    Write = 1,
    CalibrateAndWrite = 2,
    Compare = 3,
    ReadOnly = 4,
    Restore = 5
};

// What a restore writes: a recorded image, how the question names the record, and the
// image the record wrote, which a meter that is the same one should still hold.
struct RestoreRequest {
    ImageWords image{};
    QString description;
    std::optional<ImageWords> expected;
};
OperationMode ModeOfFlags(bool calibrateFlag, bool writeFlag, bool compareFlag = false);

class OperationSequencer : public QObject {
    Q_OBJECT
  public:
    OperationSequencer(TransferState& transfer, DeviceState& device, ConfigEditor& editor,
                       OperationHooks hooks, Clock& clock, QObject* parent = nullptr);

    OperationView& view() { return view_; }
    const QStringList& Memo1() const { return memo1_; }
    OperationMode mode() const { return mode_; }
    bool FirstPass() const { return firstPass_; }
    bool TransferOk() const { return transferOk_; }
    bool GainStep() const { return gainStep_; }
    bool CalibrationDone() const { return calibrationDone_; }
    // An exchange that this window started has not ended yet.
    bool AwaitingTransfer() const { return awaitingTransfer_; }
    // The operation's outcome is known (done, failed or refused) and no exchange of it is
    // under way: what may still follow is only its closing restart.
    bool OperationOver() const { return !reportOpen_ && !awaitingTransfer_; }
    // The operation is over and its closing restart has run.
    bool Settled() const;
    // How the last judged exchange went.
    ExchangeCheck LastCheck() const { return lastCheck_; }
    // After a good read in the compare operation: where the meter differs.
    const std::vector<ImageDifference>& Differences() const { return differences_; }
    bool PromptOpen() const { return view_.Anzeige && !awaitingTransfer_; }
    OneShotTimer& waittimer() { return *waittimer_; }
    OneShotTimer& resettimer() { return *resettimer_; }
    OneShotTimer& offsettimer() { return *offsettimer_; }

    // Show and nochmalbutton: back to the question, lines on, for the operation given.
    void initform(OperationMode mode);
    // weiterbutton: the opening read.
    void weiterbuttonClick();
    // The transfer window reports the end of the exchange: it is judged once.
    void TransferEnded();
    void waittimerTimer();
    void resettimerTimer();
    void offsettimerTimer();
    // The operator's reading, taken when the entry is left or confirmed with ENTER.
    void AnzeigeExit(const QString& text);
    void OKButtonClick();
    // The window closes: no pending step may run afterwards.
    void CancelPendingSteps();
    // Who keeps the record of each operation; null: nobody.
    void setReporter(OperationReporter* reporter) { reporter_ = reporter; }
    // The image the next restore writes; set before initform(OperationMode::Restore).
    void setRestore(RestoreRequest request) { restore_ = std::move(request); }
    // While set, initform() runs this operation instead of the one it is asked for.
    void setModeOverride(std::optional<OperationMode> mode) { modeOverride_ = mode; }
    // A restore waits for the operator: the meter read differs from the record.
    bool RestoreConfirmationPending() const { return restoreConfirmation_; }

  signals:
    // A timer step changed the view.
    void viewChanged();

  private:
    QString portName() const;
    bool ConfigurationWritable();
    bool WritesNothing() const;
    void StartTransfer();
    void Evaluate();
    void ShowVerdict(const ExchangeVerdict& verdict);
    void ListReadImage();
    void ShowComparison();
    void FinishWrite();
    void WarnOfInvalidConfiguration();
    void OfferRepeatAndDone();
    void ContinueCalibration();
    void OpenPrompt(int titleRow);
    void ShowFinalCalibration();
    void StartWriteStep();
    void WriteCalibration();
    void RefuseReading(ReadingRefusal refusal);
    static Operation OperationName(OperationMode mode);
    void BeginReport();
    void EndReport(OperationOutcome outcome);
    void ShowJournalWarning();
    void NoteWrittenImage();
    void RecordWriteStart();
    void ConfirmOrWriteRestore();
    void StartReadBack();
    void JudgeReadBack();

    TransferState& transfer_;
    DeviceState& device_;
    ConfigEditor& editor_;
    Texts text_;
    OperationHooks hooks_;
    OperationView view_;
    QStringList memo1_;
    OneShotTimer* waittimer_;
    OneShotTimer* resettimer_;
    OneShotTimer* offsettimer_;

    OperationMode mode_ = OperationMode::Read;
    bool firstPass_ = false;
    bool transferOk_ = false;
    bool gainStep_ = false;
    bool calibrationDone_ = false;
    bool awaitingTransfer_ = false;
    bool readingAccepted_ = false;
    ExchangeCheck lastCheck_ = ExchangeCheck::Passed;
    std::vector<ImageDifference> differences_;
    OperationReporter* reporter_ = nullptr;
    OperationReport report_;
    bool reportOpen_ = false;
    bool writeRecorded_ = false;
    QString journalWarning_;
    RestoreRequest restore_;
    bool restoreConfirmation_ = false;
    bool readingBack_ = false;
    std::optional<OperationMode> modeOverride_;
};

}  // namespace zmt
