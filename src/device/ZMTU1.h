#pragma once

// The older calibration window. Only its read task is ever chosen: read the meter, write
// the image back, and give the values to the main window with the older reading of the
// image. The main window reaches it only through its hidden button.

#include "common/Clock.h"
#include "device/DeviceImage.h"
#include "device/LegacySequencer.h"
#include "device/OperationControls.h"
#include "link/interface/TransferState.h"

#include <QWidget>

#include <functional>

class QPlainTextEdit;
class QPushButton;

namespace zmt {

class PortController;

namespace link {
class TransferEngine;
}

// What the legacy window works on, as the operation window.
struct Form2Context {
    PortController& controller;
    link::TransferEngine& transfers;
    TransferState& transfer;
    DeviceState& device;
    Clock& clock;
};

// The window Form2 (not modal). Like the operation window it judges an exchange once,
// when the transfer window reports its end, never on activation; a close waits for a
// running exchange and cancels every pending step.
class TForm2 : public QWidget {
    Q_OBJECT
  public:
    TForm2(Form2Context context, QWidget* parent = nullptr);

    LegacySequencer& sequencer() { return sequencer_; }

    void FormShow();
    void weiterbuttonClick();
    void checkintClick();
    void FertigbuttonClick();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    LegacyHooks MakeHooks();
    void buildControls();
    void connectHandlers();
    void Step(const std::function<void()>& step);
    void Render();
    void TransferEnded();

    Form2Context context_;
    LegacySequencer sequencer_;
    OperationControls controls_;
    QPushButton* checkint_ = nullptr;
    QPushButton* readdat_ = nullptr;
    QPlainTextEdit* Memo2_ = nullptr;
    QPlainTextEdit* Memo3_ = nullptr;
    bool closeWhenTransferEnds_ = false;
    // "fertig" came during an exchange: it runs when the exchange ends.
    bool doneWhenTransferEnds_ = false;
    bool linesHandedBack_ = false;
};

}  // namespace zmt
