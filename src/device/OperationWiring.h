#pragma once

// How the operations reach the port and the editor, built once for the operation window,
// the legacy window and the command-line tool.

#include "device/OperationSequencer.h"

#include <QString>

#include <functional>

namespace zmt {

class PortController;
struct SessionState;

namespace link {
class TSpComPort;
class TransferEngine;
}  // namespace link

// The hooks over the port controller (the lines of the selected port, the editor steps)
// and the transfer engine (the exchange); a failed timed step goes to `showError`.
OperationHooks MakeOperationHooks(PortController& controller, link::TransferEngine& engine,
                                  std::function<void(const QString& message)> showError);

// The engine on the port: received bytes go to the engine, and the lines it sets at the end
// of an exchange go through the controller on the selected port.
void ConnectEngineToPort(link::TSpComPort& port, link::TransferEngine& engine,
                         PortController& controller);

// The operation that the main window's flags record for the operation window.
OperationMode ModeOfSession(const SessionState& session);

}  // namespace zmt
