#pragma once

#include "cli/Cli.h"
#include "cli/CliOptions.h"
#include "cli/CommandResult.h"
#include "cli/Report.h"
#include "device/DeviceState.h"
#include "editor/ConfigEditor.h"
#include "language/LanguageText.h"
#include "session/MeterSession.h"

#include <memory>
#include <optional>

namespace zmt::cli {

class ToolJournal;

// The language of the tool's texts: --lang, else the locale's (German or English).
int ToolLanguage(const CliOptions& options);

// What each command of a run works with: the options and the environment, the texts in
// the run's language, and the configuration editor that a file is loaded into and a
// meter's image is taken over by.
class CommandContext {
  public:
    CommandContext(const CliOptions& options, CliEnvironment& environment);

  protected:
    // The file's configuration in the editor; the refusal when it cannot be read.
    std::optional<CommandResult> Load(const QString& path);
    // A configuration that cannot be evaluated is never sent, not even the opening read.
    std::optional<CommandResult> LoadWritable(const QString& path);
    cli::Report report() const { return cli::Report(editor_); }
    // A line the operator reads while the command runs (a prompt, a question): on standard
    // output, but beside a JSON result on standard error, which keeps the output one object.
    void Prompt(const QString& line);
    // Waits for the operator's answer: yes ("j..." or "y..."), else no (another word, the
    // end of the input, Ctrl-C).
    bool AnsweredYes();
    // The meter session on the command's port, its operations recorded in the run's journal;
    // the refusal when PORT names no port or the port does not open.
    std::optional<CommandResult> OpenMeter();

    const CliOptions& options_;
    CliEnvironment& env_;
    Console& console_;
    const int language_;
    ConfigModel model_;
    SessionState session_;
    LanguageText texts_;
    Texts text_{texts_, language_};
    ConfigEditor editor_{model_, session_, texts_};
    DeviceState device_;
    SessionState fileSession_;  // as the file had it: what an output file keeps
    QStringList memo_;
    ToolJournal* journal_ = nullptr;  // the run keeps it; it outlives the session
    std::unique_ptr<MeterSession> meter_;
};

}  // namespace zmt::cli
