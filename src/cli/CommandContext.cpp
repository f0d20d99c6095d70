#include "cli/CommandContext.h"

#include "cli/ConfigFile.h"
#include "cli/ExitCode.h"
#include "cli/JournalCommands.h"
#include "device/WriteCheck.h"
#include "editor/SettingsFile.h"
#include "language/AddedRows.h"
#include "language/OriginalRows.h"

#include <QLocale>

namespace zmt::cli {

int ToolLanguage(const CliOptions& options) {
    if (options.language >= 0) return options.language;
    return QLocale().language() == QLocale::German ? 0 : 1;
}

CommandContext::CommandContext(const CliOptions& options, CliEnvironment& environment)
    : options_(options),
      env_(environment),
      console_(environment.console),
      language_(ToolLanguage(options)) {
    texts_.FillLanguageText();
    session_.LanguageIndex = language_;
}

std::optional<CommandResult> CommandContext::OpenMeter() {
    const auto port = ResolvePort(options_.port, env_.comDevices);
    if (!port) return Refusal(UsageError, {UnknownPortLine(options_.port)});
    journal_ = &MakeToolJournal(options_, env_, texts_, language_);
    OpenedSession opened =
        OpenMeterSession({editor_, device_, env_.clock, env_.system, env_.portInUse}, *port);
    meter_ = std::move(opened.meter);
    meter_->steps().setReporter(journal_);
    if (opened.problem.isEmpty()) return std::nullopt;
    return Refusal(PortUnavailable, opened.problem);
}

void CommandContext::Prompt(const QString& line) {
    if (options_.json)
        console_.Warn(line);
    else
        console_.Print(line);
}

bool CommandContext::AnsweredYes() {
    std::optional<QString> answer;
    env_.runUntil([&] {
        answer = console_.NextLine();
        return answer || console_.InputEnded() || console_.Interrupts() > 0;
    });
    const QString word = answer.value_or(QString()).trimmed().toLower();
    return word.startsWith(u'j') || word.startsWith(u'y');
}

std::optional<CommandResult> CommandContext::Load(const QString& path) {
    const SettingsResult loaded = LoadConfiguration(path, editor_, language_, memo_);
    fileSession_ = session_;
    session_.LanguageIndex = language_;
    if (loaded.ok) return std::nullopt;
    return Refusal(FileError, {loaded.message(texts_, language_)});
}

std::optional<CommandResult> CommandContext::LoadWritable(const QString& path) {
    if (auto refused = Load(path)) return refused;
    const WriteCheck check = CheckWritableConfiguration(model_);
    if (check.ok()) return std::nullopt;
    return Refusal(FileError,
                   {text_(rows::InputError), WriteProblemLine(check, texts_, language_)});
}

}  // namespace zmt::cli
