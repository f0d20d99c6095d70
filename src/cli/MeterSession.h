#pragma once

#include "Clock.h"
#include "ConfigEditor.h"
#include "DeviceState.h"
#include "OperationSequencer.h"
#include "PlatformDevice.h"
#include "PortController.h"
#include "TransferEngine.h"
#include "TransferState.h"

#include <QObject>
#include <QStringList>

#include <memory>

namespace zmt::cli {

// One port with the transfer engine, the line control and the operation's steps over it,
// as the program runs them, but without a window: the tool's commands start an operation
// here and watch its steps settle.
class MeterSession : public QObject {
    Q_OBJECT
  public:
    MeterSession(ConfigEditor& editor, DeviceState& device, link::PlatformDeviceFactory factory,
                 int comNumber, Clock& clock);
    ~MeterSession() override;

    // Opens the port once to see that it can be: a missing, busy or forbidden port ends
    // the command before anything runs. Empty when it could be opened, else why not.
    QStringList PortProblem();
    // The operation's question, then its start (the "o.k." of the window).
    void Start(OperationMode mode);
    OperationSequencer& steps() { return *steps_; }
    link::TransferEngine& engine() { return *engine_; }
    link::TSpComPort& port() { return *port_; }
    TransferState& transfer() { return transfer_; }
    // A write frame is on its way to the meter.
    bool Writing() const;
    // Errors the steps raised on their way (the window's error display).
    const QStringList& Errors() const { return errors_; }
    // The port closes; closing drops both lines.
    void Close();

  signals:
    // The transfer engine's phase ("reset...", "transfer data...") and progress.
    void progress(const QString& phase, int percent);

  private:
    OperationHooks MakeHooks();

    ConfigEditor& editor_;
    DeviceState& device_;
    TransferState transfer_;
    std::unique_ptr<link::TSpComPort> port_;
    std::unique_ptr<link::SpComPortTransferPort> transferPort_;
    std::unique_ptr<link::TransferEngine> engine_;
    std::unique_ptr<PortController> lines_;
    std::unique_ptr<OperationSequencer> steps_;
    QStringList errors_;
    QString phase_;
};

}  // namespace zmt::cli
