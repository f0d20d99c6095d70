#include "cli/Cli.h"

#include "cli/CommandContext.h"
#include "cli/CommandResult.h"
#include "cli/FileCommands.h"
#include "cli/JournalCommands.h"
#include "cli/MeterCommands.h"
#include "cli/PortCommands.h"
#include "cli/SeriesCommand.h"

namespace zmt::cli {

namespace {

CommandResult Execute(const CliOptions& options, CliEnvironment& environment) {
    switch (options.command) {
        case Command::Help:
            return {.lines = {HelpText()}};
        case Command::Version:
            return {.lines = {VersionText()}};
        case Command::Read:
            return ReadMeter(options, environment);
        case Command::Write:
            return WriteMeter(options, environment);
        case Command::Verify:
            return VerifyMeter(options, environment);
        case Command::Calibrate:
            return CalibrateMeter(options, environment);
        case Command::Show:
            return ShowFile(options, environment);
        case Command::Report:
            return ReportFile(options, environment);
        case Command::Ports:
            return ListPorts(options, environment);
        case Command::Find:
            return FindInterface(options, environment);
        case Command::Journal:
            return ListJournal(options, environment);
        case Command::Restore:
            return RestoreMeter(options, environment);
        case Command::Series:  // prints each unit as it is done
            return {.exitCode = RunSeries(options, environment)};
    }
    return Refusal(UsageError, {QStringLiteral("this command is not available")});
}

}  // namespace

int RunCli(const CliOptions& options, CliEnvironment& environment) {
    const CommandResult result = Execute(options, environment);
    if (environment.portInUse) environment.portInUse(nullptr);
    if (environment.journal) environment.journal->Finish(result.exitCode);
    environment.journal.reset();
    if (options.json)
        RenderJson(result, environment.console);
    else
        RenderText(result, environment.console);
    return result.exitCode;
}

}  // namespace zmt::cli
