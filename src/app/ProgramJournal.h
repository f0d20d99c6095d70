#pragma once

#include "OperationJournal.h"
#include "PortSetup.h"

#include <memory>

namespace zmt {

class ConfigEditor;

// The program's journal: at `path` (empty: the data folder's), with the port's device as
// the port setup resolves COMn, the loaded file and the language of the session.
std::unique_ptr<journal::OperationJournal> MakeProgramJournal(const QString& path,
                                                              const ConfigEditor& editor,
                                                              const link::PortSetup& ports);

}  // namespace zmt
