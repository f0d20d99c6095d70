#pragma once

#include "cli/Cli.h"
#include "cli/CliOptions.h"

namespace zmt::cli {

// `series`: one configuration into meter after meter on one port, until --count units are
// done or Ctrl-C; one line (or JSON object) per unit and a summary.
int RunSeries(const CliOptions& options, CliEnvironment& env);

}  // namespace zmt::cli
