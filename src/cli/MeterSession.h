#pragma once

#include "common/Clock.h"
#include "common/OneShotTimer.h"
#include "device/DeviceState.h"
#include "device/OperationSequencer.h"
#include "editor/ConfigEditor.h"
#include "editor/PortController.h"
#include "link/TransferEngine.h"
#include "link/interface/PlatformDevice.h"
#include "link/interface/TransferState.h"
#include "series/SeriesMeter.h"

#include <QObject>
#include <QStringList>

#include <memory>

namespace zmt::cli {

// One port with the transfer engine, the line control and the operation's steps over it,
// as the program runs them, but without a window: the tool's commands start an operation
// here and watch its steps settle.
//
// The tool has no switches that would keep the meter powered between operations, so it
// powers the meter only for what the operation's sequence needs: the exchanges, the restart
// after a write (held until the meter has started with its new image) and, when
// calibrating, the operator's readings. The signal is switched on only when calibrating.
// The port opens once for the command and closes with both lines low.
class MeterSession : public QObject, public SeriesMeter {
    Q_OBJECT
  public:
    // `portName` names the port in every line: COMn, or the device path the user gave.
    MeterSession(ConfigEditor& editor, DeviceState& device, link::PlatformDeviceFactory factory,
                 int comNumber, const QString& portName, Clock& clock);
    ~MeterSession() override;

    // Opens the port for the command, both lines low: a missing, busy or forbidden port
    // ends the command before anything runs. Empty when it opened, else why not.
    QStringList OpenPort(const link::SystemFolders& system = {});
    // The operation's question, then its start (the "o.k." of the window).
    void Start(OperationMode mode);
    OperationSequencer& steps() override { return *steps_; }
    link::TransferEngine& engine() { return *engine_; }
    link::TSpComPort& port() { return *port_; }
    TransferState& transfer() { return transfer_; }
    // A write frame is on its way to the meter.
    bool Writing() const override;
    // The operation's steps are over and a restart has been held long enough.
    bool Settled() const override;
    // The meter is starting after a restart: it shows nothing to read yet.
    bool Restarting() const { return restartHold_->enabled(); }
    // Errors the steps raised on their way (the window's error display).
    const QStringList& Errors() const { return errors_; }
    // Both lines low, then the port closes. Never throws.
    void Close();

    // A series of units: between the operations the meter stays powered with the signal
    // off, and the command byte alone tells whether one answers.
    QStringList PowerForProbe() override;
    QStringList SendProbeByte(std::uint8_t byte) override;
    std::vector<std::uint8_t> TakeProbeAnswer() override;
    void StartOperation(OperationMode mode) override;
    void Release() override { Close(); }
    void setChangeListener(std::function<void()> listener) override;

    // From the restart after a write until the meter runs with its new image (the start-up
    // time the exchange grants the meter before its first byte).
    static constexpr int RestartHoldMs = 1600;

  signals:
    // The transfer engine's phase ("reset...", "transfer data...") and progress.
    void progress(const QString& phase, int percent);

  private:
    OperationHooks MakeHooks();
    QStringList PortProblem(const std::exception& error) const;
    void Changed();
    // The sequence's lines as the tool drives them (see the class comment).
    void ToolLines(bool power, bool signal, bool reopen);
    void ToolPower(bool on);
    bool Calibrating() const;

    ConfigEditor& editor_;
    DeviceState& device_;
    TransferState transfer_;
    std::unique_ptr<link::TSpComPort> port_;
    std::unique_ptr<link::SpComPortTransferPort> transferPort_;
    std::unique_ptr<link::TransferEngine> engine_;
    std::unique_ptr<PortController> lines_;
    std::unique_ptr<OperationSequencer> steps_;
    OneShotTimer* restartHold_;
    bool starting_ = false;       // the operation's question: the window would power the meter
    link::SystemFolders system_;  // where the kernel shows why the port did not open
    QStringList errors_;
    QString phase_;
    std::function<void()> changeListener_;
};

}  // namespace zmt::cli
