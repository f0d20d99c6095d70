#pragma once

// The commands on a configuration file alone, without a meter: `show` and `report`.

#include "cli/Cli.h"
#include "cli/CliOptions.h"
#include "cli/CommandResult.h"

namespace zmt::cli {

CommandResult ShowFile(const CliOptions& options, CliEnvironment& environment);
// The configuration sheet of a file on its own: no meter, no calibration.
CommandResult ReportFile(const CliOptions& options, CliEnvironment& environment);

}  // namespace zmt::cli
