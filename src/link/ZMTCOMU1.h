#pragma once

// The transfer window: shows the progress of one exchange with the programming interface
// and owns the program's one serial port.

#include "PlatformDevice.h"
#include "SpComPort.h"
#include "TransferEngine.h"
#include "TransferState.h"

#include <QWidget>

#include <memory>

class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace zmt {

// The window ZMTCom. A caller fills the transfer state and calls Show(); the window runs
// the exchange, closes itself and the port when it is over and then emits
// transferEnded() once. While an exchange runs the window cannot be closed by hand:
// the close box waits for the end, which comes at the latest one second after the last
// received byte.
class TZMTCom : public QWidget {
    Q_OBJECT
  public:
    // A port with the form's values: 9600 bit/s, COM1, both lines low, the event thread
    // above the write thread.
    static std::unique_ptr<link::TSpComPort> MakeRS232(link::PlatformDeviceFactory factory = {});

    // Takes over `rs232` (made by MakeRS232; the main window was handed a reference to it
    // before this window existed).
    TZMTCom(TransferState& state, std::unique_ptr<link::TSpComPort> rs232,
            QWidget* parent = nullptr);
    ~TZMTCom() override;

    link::TSpComPort& RS232() { return *RS232_; }
    link::TransferEngine& engine() { return engine_; }
    // How the exchange opens the selected port with both lines set (the main window's
    // SetPortLines without reopening).
    void setPortLinesHook(link::TransferEngine::PortLinesHook hook);

    // Shows the window; a show starts an exchange unless one runs.
    void Show();
    bool TransferRunning() const { return engine_.Running(); }

  signals:
    void transferEnded();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void connectEngine();
    void FormPaint();
    void FormClose();
    void EndOfExchange();

    std::unique_ptr<link::TSpComPort> RS232_;
    link::SpComPortTransferPort port_;
    link::TransferEngine engine_;
    QProgressBar* Gauge1_ = nullptr;
    QPushButton* Button11_ = nullptr;
    QPlainTextEdit* TransferMemo_ = nullptr;
};

}  // namespace zmt
