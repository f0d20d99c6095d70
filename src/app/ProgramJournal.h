#pragma once

#include "journal/OperationJournal.h"
#include "link/PortSetup.h"

#include <memory>

namespace zmt {

class ConfigEditor;
class PortController;
class TJournalForm;
class TProgramForm;
struct DeviceState;

// The program's journal: at `path` (empty: the data folder's), with the port's device as
// the port setup resolves COMn, the loaded file and the language of the session.
std::unique_ptr<journal::OperationJournal> MakeProgramJournal(const QString& path,
                                                              const ConfigEditor& editor,
                                                              const link::PortSetup& ports);

// The journal window over it: the as-found image goes into the editor as a read puts it, a
// restore runs in the operation window.
std::unique_ptr<TJournalForm> MakeJournalForm(journal::OperationJournal& journal,
                                              ConfigEditor& editor, DeviceState& device,
                                              PortController& controller, TProgramForm& operations);

}  // namespace zmt
