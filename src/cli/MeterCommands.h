#pragma once

// The commands that run an operation on a meter: `read`, `write` (and `--verify`),
// `verify` and `calibrate`.

#include "cli/Cli.h"
#include "cli/CliOptions.h"
#include "cli/CommandResult.h"

namespace zmt::cli {

CommandResult ReadMeter(const CliOptions& options, CliEnvironment& environment);
CommandResult WriteMeter(const CliOptions& options, CliEnvironment& environment);
CommandResult VerifyMeter(const CliOptions& options, CliEnvironment& environment);
CommandResult CalibrateMeter(const CliOptions& options, CliEnvironment& environment);

}  // namespace zmt::cli
