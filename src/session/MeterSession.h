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
#include "session/PortChoice.h"

#include <QObject>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zmt {

// What follows an operation on the same port.
enum class AfterOperation {
    MeterOff,      // the command ends: the meter is not powered up again
    NextExchange,  // another exchange or a look for the meter follows
};

// One port with the transfer engine, the line control and the operation's steps over it,
// as the program runs them, but without a window: the tool's commands and the series start
// an operation here and watch its steps settle.
//
// There are no switches that would keep the meter powered between operations, so the
// meter is powered only for what the operation's sequence needs: the exchanges, a restart
// inside an operation (held for the meter's start-up, so that a calibration reads a running
// display) and, when calibrating, the operator's readings. The restart that closes an
// operation is held only briefly when something follows, and left out when the command
// ends. The signal is switched on only when calibrating. The port opens once and closes
// with both lines low.
class MeterSession : public QObject {
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
    void Start(OperationMode mode, AfterOperation after = AfterOperation::MeterOff);
    OperationSequencer& steps() { return *steps_; }
    link::TransferEngine& engine() { return *engine_; }
    link::TSpComPort& port() { return *port_; }
    TransferState& transfer() { return transfer_; }
    // A write frame is on its way to the meter.
    bool Writing() const;
    // The operation's steps are over and a restart has been held long enough.
    bool Settled() const;
    // The meter is starting after a restart: it shows nothing to read yet.
    bool Restarting() const { return restartHold_->enabled(); }
    // Errors the steps raised on their way (the window's error display).
    const QStringList& Errors() const { return errors_; }
    // Both lines low, then the port closes. Never throws.
    void Close();

    // A series of units: between the operations the meter stays powered with the signal
    // off, and the command byte alone tells whether one answers.
    QStringList PowerForProbe();
    QStringList SendProbeByte(std::uint8_t byte);
    std::vector<std::uint8_t> TakeProbeAnswer();
    // An operation of a series: something always follows it.
    void StartOperation(OperationMode mode);
    // Called whenever the operation may have moved on.
    void setChangeListener(std::function<void()> listener);

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
    void HoldRestart(int ms);
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
    AfterOperation after_ = AfterOperation::MeterOff;
    bool starting_ = false;       // the operation's question: the window would power the meter
    link::SystemFolders system_;  // where the kernel shows why the port did not open
    QStringList errors_;
    QString phase_;
    std::function<void()> changeListener_;
};

// Where a session is opened and what watches its port.
struct SessionPlace {
    ConfigEditor& editor;
    DeviceState& device;
    Clock& clock;
    link::SystemFolders system;  // where the kernel shows why a port did not open
    std::function<void(link::TSpComPort*)> portInUse;  // told of the port while it is open
};

struct OpenedSession {
    std::unique_ptr<MeterSession> meter;  // made even when the port did not open
    QStringList problem;                  // why the port did not open; empty: it is open
};

// A session on the port chosen, with its port opened.
OpenedSession OpenMeterSession(const SessionPlace& place, const PortChoice& port);

}  // namespace zmt
