#include "cli/FileCommands.h"

#include "cli/CommandContext.h"
#include "cli/JournalCommands.h"
#include "device/WriteCheck.h"
#include "sheet/SheetJournal.h"
#include "sheet/SheetPdf.h"

#include <QDateTime>

namespace zmt::cli {

namespace {

class FileCommand : public CommandContext {
  public:
    using CommandContext::CommandContext;

    CommandResult Show() {
        if (auto refused = Load(options_.file)) return *refused;
        const WriteCheck check = CheckWritableConfiguration(model_);
        QStringList messages = memo_;
        if (!check.ok()) messages << WriteProblemLine(check, texts_, language_);
        CommandResult result{.command = "show",
                             .fields = {{"file", options_.file},
                                        {"configuration", report().ConfigurationJson()},
                                        {"coefficients", report().CoefficientsJson()},
                                        {"test", report().TestJson()},
                                        {"messages", Report::Lines(messages)},
                                        {"writable", check.ok()}}};
        result.lines = report().Configuration() + report().Coefficients();
        result.lines << report().TestLine() << messages;
        return result;
    }

    CommandResult Sheet() {
        if (auto refused = Load(options_.file)) return *refused;
        SheetInput input{model_, session_, options_.file, std::nullopt,
                         QDateTime::currentDateTime()};
        input.journalRecord = WriteRecordOf(input, WritesOfFile(options_.file));
        const SheetResult written = WriteConfigurationSheetPdf(input, options_.output);
        if (!written.ok) return Refusal(FileError, {written.message});
        return {.lines = {written.path}, .command = "report", .fields = {{"sheet", written.path}}};
    }
};

}  // namespace

CommandResult ShowFile(const CliOptions& options, CliEnvironment& environment) {
    return FileCommand(options, environment).Show();
}

CommandResult ReportFile(const CliOptions& options, CliEnvironment& environment) {
    return FileCommand(options, environment).Sheet();
}

}  // namespace zmt::cli
