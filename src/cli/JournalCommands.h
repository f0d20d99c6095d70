#pragma once

// The tool's journal: every operation of a run is recorded, its warnings go to standard
// error; and the two commands on it, `journal` (list) and `restore`.

#include "cli/Cli.h"
#include "cli/CliOptions.h"
#include "cli/CommandResult.h"
#include "cli/Console.h"
#include "journal/OperationJournal.h"

#include <memory>
#include <optional>

namespace zmt {
class LanguageText;
}

namespace zmt::cli {

class ToolJournal : public OperationReporter {
  public:
    ToolJournal(Console& console, const LanguageText& texts, int language, QString device,
                QString file, QString command);

    journal::OperationJournal& journal() { return journal_; }
    // The exit code the last ended operation gave.
    std::optional<int> lastExitCode() const { return lastExitCode_; }

    QString OperationStarting(const QString& operation, const QString& port) override;
    QString OperationEnded(const OperationReport& report) override;

  private:
    Console& console_;
    journal::OperationJournal journal_;
    QString command_;
    std::optional<int> lastExitCode_;
};

// The journal of a command that talks to a meter on `port` (COMn or a device path).
std::unique_ptr<ToolJournal> MakeToolJournal(const CliOptions& options, CliEnvironment& env,
                                             const LanguageText& texts, int language);

// What the tool's exit status is for an operation that ended so.
int ExitCodeOf(const OperationReport& report, bool interrupted);

// The journal's successful writes and calibrations of a file with the same bytes (SHA-256)
// as `file`, in the journal's order; none when the journal cannot be read. A run of
// `report` writes nothing itself: its sheet names the newest of them that wrote this
// configuration.
std::vector<journal::JournalRecord> WritesOfFile(const QString& file);

CommandResult ListJournal(const CliOptions& options, CliEnvironment& env);
CommandResult RestoreMeter(const CliOptions& options, CliEnvironment& env);

}  // namespace zmt::cli
