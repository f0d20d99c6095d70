#pragma once

// The device operation window: read the meter, write the configuration, or calibrate the
// meter and write the configuration.

#include "common/Clock.h"
#include "device/DeviceImage.h"
#include "device/OperationControls.h"
#include "device/OperationSequencer.h"
#include "link/interface/TransferState.h"

#include <QDialog>

#include <functional>

class QPlainTextEdit;

namespace zmt {

class PortController;

namespace link {
class TransferEngine;
}

// What the operation window works on: the port controller (the lines and the editor the
// operation reads and fills), the transfer engine that runs each exchange, and the shared
// transfer and device state.
struct ProgramFormContext {
    PortController& controller;
    link::TransferEngine& transfers;
    TransferState& transfer;
    DeviceState& device;
    Clock& clock;
};

// The window ProgramForm, shown modally by the main window. It is a thin drawing of the
// OperationSequencer: every handler runs one step and draws the view. An exchange is
// judged once, when the transfer window reports its end; activating the window judges
// nothing. While an exchange runs the window stays open: a close (box, Escape, buttons)
// waits for the end of the exchange and then closes. Closing cancels every pending step.
class TProgramForm : public QDialog {
    Q_OBJECT
  public:
    TProgramForm(ProgramFormContext context, QWidget* parent = nullptr);

    OperationSequencer& sequencer() { return sequencer_; }
    // A close was asked for while an exchange ran.
    bool CloseWaiting() const { return closeWhenTransferEnds_; }

    // Handlers of the window's controls.
    void FormShow();
    void weiterbuttonClick();
    void AnzeigeExit();
    void OKButtonClick();
    void FertigbuttonClick();

    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    OperationHooks MakeHooks();
    void buildControls();
    void connectHandlers();
    void Step(const std::function<void()>& step);
    void Render();
    void TransferEnded();
    void FormClose();

    ProgramFormContext context_;
    OperationSequencer sequencer_;
    OperationControls controls_;
    QPlainTextEdit* Memo1_ = nullptr;
    bool closeWhenTransferEnds_ = false;
};

}  // namespace zmt
