#pragma once

// The tool's journal: every operation of a run is recorded, its warnings go to standard
// error; and the two commands on it, `journal` (list) and `restore`.

#include "cli/Cli.h"
#include "cli/CliOptions.h"
#include "cli/CommandResult.h"
#include "cli/Console.h"
#include "journal/OperationJournal.h"
#include "language/LanguageText.h"

#include <memory>
#include <optional>
#include <vector>

namespace zmt::cli {

// A write's first record is appended before its frame goes out. Its outcome waits for the
// end of the command, so that the record carries the exit status the process really ends
// with: a Ctrl-C or SIGTERM after the frame still turns the command into a cancelled one.
class ToolJournal : public OperationReporter {
  public:
    ToolJournal(Console& console, const LanguageText& texts, int language, QString device,
                QString file, QString command);
    // What has not been appended yet is appended without an exit status.
    ~ToolJournal() override;
    ToolJournal(const ToolJournal&) = delete;
    ToolJournal& operator=(const ToolJournal&) = delete;

    journal::OperationJournal& journal() { return journal_; }
    // The device the command's port reaches, as the journal names it.
    const QString& device() const { return device_; }
    // The exit code the last ended operation gave.
    std::optional<int> lastExitCode() const { return lastExitCode_; }

    QString OperationStarting(Operation operation, const QString& port) override;
    QString WriteStarting(const OperationReport& report) override;
    QString OperationEnded(const OperationReport& report) override;
    // The command ends with `exitCode`: the outcomes are appended with it.
    void Finish(std::optional<int> exitCode);

  private:
    struct Ended {
        OperationReport report;
        QString startId;
    };

    Console& console_;
    QString device_;
    std::optional<int> exitCode_;
    LanguageText texts_;  // its own: the outcomes are appended after the command has ended
    journal::OperationJournal journal_;
    QString command_;
    std::optional<int> lastExitCode_;
    std::vector<Ended> ended_;
};

// What the journal names as the device that `port` (COMn or a device path) reaches.
QString DeviceOfPort(const QString& port, CliEnvironment& env);

// The journal of a command that talks to a meter on `port` (COMn or a device path). The
// run keeps it (CliEnvironment::journal) until the command's exit status is known.
ToolJournal& MakeToolJournal(const CliOptions& options, CliEnvironment& env,
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
