#include "device/OperationWiring.h"

#include "editor/PortController.h"
#include "link/SpComPort.h"
#include "link/TransferEngine.h"

namespace zmt {

OperationHooks MakeOperationHooks(PortController& controller, link::TransferEngine& engine,
                                  std::function<void(const QString& message)> showError) {
    OperationHooks hooks;
    hooks.SetPortLines = [&controller](bool power, bool signal, bool reopen) {
        controller.SetPortLines(controller.session().ComPortName, power, signal, reopen);
    };
    hooks.SetDTR = [&controller](bool on) { controller.SetDTR(on); };
    hooks.SetRTS = [&controller](bool on) { controller.SetRTS(on); };
    hooks.ShowTransferWindow = [&engine] { engine.Start(); };
    hooks.EditorStep = [&controller](const std::function<void(Effects&)>& operation) {
        controller.EditorStep(operation);
    };
    hooks.ShowError = std::move(showError);
    return hooks;
}

void ConnectEngineToPort(link::TSpComPort& port, link::TransferEngine& engine,
                         PortController& controller) {
    port.OnDataRecived = [&engine](link::TSpComPort*, int) { engine.RS232DataRecived(); };
    engine.setPortLinesHook([&controller](bool power, bool signal) {
        controller.SetPortLines(controller.session().ComPortName, power, signal, false);
    });
}

OperationMode ModeOfSession(const SessionState& session) {
    return ModeOfFlags(session.CalibrateFlag, session.WriteFlag, session.CompareFlag);
}

}  // namespace zmt
