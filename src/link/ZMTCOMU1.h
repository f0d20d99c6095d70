#pragma once

// The transfer window: shows the progress of one exchange with the programming interface.
// The program's one serial port belongs to the program start; the engine uses it for the exchange.

#include "link/SpComPort.h"
#include "link/TransferEngine.h"
#include "link/interface/PlatformDevice.h"

#include <QWidget>

#include <memory>

class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace zmt {

// The window ZMTCom: the progress of the exchange that the transfer engine runs. It shows
// itself when an exchange starts and closes itself when it ends (the engine closes the
// port then). While an exchange runs the window cannot be closed by hand: the close box
// waits for the end, which comes at the latest one second after the last received byte.
class TZMTCom : public QWidget {
    Q_OBJECT
  public:
    explicit TZMTCom(link::TransferEngine& engine, QWidget* parent = nullptr);

    link::TransferEngine& engine() { return engine_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void connectEngine();
    void FormPaint();
    void EndOfExchange();

    link::TransferEngine& engine_;
    QProgressBar* Gauge1_ = nullptr;
    QPushButton* Button11_ = nullptr;
    QPlainTextEdit* TransferMemo_ = nullptr;
};

}  // namespace zmt
