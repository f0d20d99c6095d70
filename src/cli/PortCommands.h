#pragma once

// The commands on the machine's serial devices: `ports` lists them and what COM1..COM4
// reach, `find` searches them for the programming interface.

#include "cli/Cli.h"
#include "cli/CliOptions.h"
#include "cli/CommandResult.h"

namespace zmt::cli {

CommandResult ListPorts(const CliOptions& options, CliEnvironment& environment);
CommandResult FindInterface(const CliOptions& options, CliEnvironment& environment);

}  // namespace zmt::cli
