#pragma once

// The commands on the machine's serial devices: `ports` lists them and what COM1..COM4
// reach, `find` searches them for the programming interface.

#include "Cli.h"
#include "CliOptions.h"
#include "CommandResult.h"

namespace zmt::cli {

CommandResult ListPorts(const CliOptions& options, CliEnvironment& environment);
CommandResult FindInterface(const CliOptions& options, CliEnvironment& environment);

}  // namespace zmt::cli
