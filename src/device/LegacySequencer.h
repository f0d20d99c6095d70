#pragma once

// The older operation window's one task, without a window: read the meter, write the
// image back, and give the values to the main window with the older reading of the image.

#include "common/OneShotTimer.h"
#include "device/DeviceImage.h"
#include "device/OperationSequencer.h"
#include "device/OperationView.h"
#include "link/interface/TransferState.h"

#include <QObject>
#include <QStringList>

#include <cstdint>

namespace zmt {

class ConfigEditor;

struct LegacyView : OperationView {
    QStringList Memo2;
    QStringList Memo3;
    bool Memo3Aqua = false;
};

// The legacy window's hooks: those of the operations and the warning sound it gives.
struct LegacyHooks : OperationHooks {
    std::function<void()> Beep;
};

// Kinds of exchange the legacy window runs; the engine sends one byte only for a check.
enum LegacyTransferKind : std::uint8_t {
    NoTransfer = 0,
    InterfaceCheck = 1,
    LegacyRead = 2,
    LegacyWrite = 3
};

// States of the task: 0 nothing read yet, 1 read and about to be written back, 6 done.
enum LegacyTaskState : std::uint8_t { TaskStart = 0, TaskReadDone = 1, TaskFinished = 6 };

// The lines the legacy checks add for the exchange kind in the transfer state; a read
// must bring exactly the expected count, a write may bring one more.
ExchangeVerdict JudgeLegacyExchange(const TransferState& transfer, const QString& portName);

class LegacySequencer : public QObject {
    Q_OBJECT
  public:
    LegacySequencer(TransferState& transfer, DeviceState& device, ConfigEditor& editor,
                    LegacyHooks hooks, Clock& clock, QObject* parent = nullptr);

    LegacyView& view() { return view_; }
    std::uint8_t LegacyTask() const { return legacyTask_; }
    bool LegacyOk() const { return legacyOk_; }
    bool AwaitingTransfer() const { return awaitingTransfer_; }
    OneShotTimer& Timer1() { return *Timer1_; }
    OneShotTimer& Timer2() { return *Timer2_; }
    OneShotTimer& resettimer() { return *resettimer_; }

    // Show and nochmalbutton.
    void Reset();
    void checkintClick();
    void weiterbuttonClick();
    // The transfer window reports the end of the exchange this window started.
    void TransferEnded();
    void Timer1Timer();
    void resettimerTimer();
    // Fertigbutton and Abbruchbutton: the lines back as the main window's switches say.
    void FertigbuttonClick();
    void CancelPendingSteps();
    // Who keeps the record of each task; null: nobody.
    void setReporter(OperationReporter* reporter) { reporter_ = reporter; }

  signals:
    void viewChanged();

  private:
    QString portName() const;
    void Beep();
    void StartTransfer();
    void Evaluate();
    void ListReadWords();
    void JudgeAndColour();
    void FinishTask();
    void GiveValuesToMainWindow();
    void EndReport(OperationOutcome outcome);

    TransferState& transfer_;
    DeviceState& device_;
    ConfigEditor& editor_;
    LegacyHooks hooks_;
    LegacyView view_;
    OneShotTimer* Timer1_;
    OneShotTimer* Timer2_;
    OneShotTimer* resettimer_;
    std::uint8_t legacyTask_ = TaskStart;
    bool legacyOk_ = false;
    bool awaitingTransfer_ = false;
    OperationReporter* reporter_ = nullptr;
    OperationReport report_;
    bool reportOpen_ = false;
    QString journalWarning_;
};

}  // namespace zmt
