#include "cli/JournalCommands.h"

#include "cli/CommandContext.h"
#include "cli/ExitCode.h"
#include "cli/Report.h"
#include "editor/ComNames.h"
#include "editor/ConfigEditor.h"
#include "journal/JournalCsv.h"
#include "journal/JournalFile.h"
#include "journal/JournalLocation.h"
#include "journal/JournalReasonText.h"
#include "journal/PortDevice.h"
#include "language/AddedRows.h"
#include "language/LanguageText.h"
#include "link/SystemPortCatalog.h"
#include "session/PortChoice.h"

#include <QJsonArray>
#include <QRegularExpression>

namespace zmt::cli {

namespace {

std::vector<link::PortEntry> Catalog(CliEnvironment& env) {
    if (!env.catalog) env.catalog = std::make_shared<link::SystemPortCatalog>();
    return env.catalog->list();
}

// The journal's contents, its skipped lines said on standard error.
std::optional<journal::JournalContents> ReadForTool(Console& console, const LanguageText& texts,
                                                    int language) {
    const QString path = journal::JournalPath();
    journal::JournalContents contents = journal::ReadJournal(path);
    const auto reason = [&](const journal::JournalReason& why) {
        return journal::JournalReasonText(why, texts, language);
    };
    if (!contents.error.isEmpty()) {
        console.Warn(
            texts.text(rows::FileCannotBeRead, language).arg(path, reason(contents.error)));
        return std::nullopt;
    }
    for (const journal::SkippedLine& skipped : contents.skipped)
        console.Warn(texts.text(rows::JournalLineSkipped, language)
                         .arg(path)
                         .arg(skipped.line)
                         .arg(reason(skipped.why)));
    return contents;
}

QString RecordLine(const journal::JournalRecord& record) {
    QStringList fields{record.time,
                       record.port,
                       record.device,
                       record.operation,
                       record.file.isEmpty() ? QStringLiteral("-") : record.file,
                       record.resultWord(),
                       record.id};
    return fields.join(QStringLiteral("  "));
}

bool IsWriteOfAFile(const journal::JournalRecord& record) {
    return record.succeeded() && record.written && record.kind() &&
           WritesAConfiguration(*record.kind());
}

}  // namespace

std::vector<journal::JournalRecord> WritesOfFile(const QString& file) {
    const QString sha256 = journal::FileSha256(file);
    if (sha256.isEmpty()) return {};
    journal::JournalContents contents = journal::ReadJournal(journal::JournalPath());
    std::vector<journal::JournalRecord> writes;
    for (journal::JournalRecord& record : contents.records)
        if (IsWriteOfAFile(record) && record.fileSha256 == sha256)
            writes.push_back(std::move(record));
    return writes;
}

ToolJournal::ToolJournal(Console& console, const LanguageText& texts, int language, QString device,
                         QString file, QString command)
    : console_(console),
      device_(std::move(device)),
      texts_(texts),
      journal_(journal::JournalPath(), texts_,
               [this, language, file = std::move(file)](const OperationReport*) {
                   return journal::JournalContext{device_, file, language, exitCode_};
               }),
      command_(std::move(command)) {}

ToolJournal::~ToolJournal() {
    Finish(std::nullopt);
}

QString ToolJournal::OperationStarting(Operation operation, const QString& port) {
    const QString warning = journal_.OperationStarting(operation, port);
    if (!warning.isEmpty()) console_.Warn(warning);
    return {};  // standard error has it; the result lines stay the operation's own
}

QString ToolJournal::WriteStarting(const OperationReport& report) {
    const QString warning = journal_.WriteStarting(report);
    if (!warning.isEmpty()) console_.Warn(warning);
    return {};
}

// An interrupt before the operation's end stops the command: the operation counts as
// cancelled, even where the frame in flight was let finish.
QString ToolJournal::OperationEnded(const OperationReport& report) {
    OperationReport named = report;
    if (named.operation == Operation::Compare) named.operation = Operation::Verify;
    if (console_.Interrupts() > 0) named.outcome = OperationOutcome::Cancelled;
    lastExitCode_ = ExitCodeOf(named, console_.Interrupts() > 0);
    ended_.push_back({std::move(named), journal_.TakeStartId()});
    return {};
}

void ToolJournal::Finish(std::optional<int> exitCode) {
    exitCode_ = exitCode;
    for (const Ended& ended : std::exchange(ended_, {})) {
        const QString warning = journal_.OperationEnded(ended.report, ended.startId);
        if (!warning.isEmpty()) console_.Warn(warning);
    }
}

QString DeviceOfPort(const QString& port, CliEnvironment& env) {
    const auto number = ComNumberOf(port);
    const std::vector<link::PortEntry> catalog = Catalog(env);
    return number ? journal::DeviceOfCom(*number, catalog) : journal::DeviceOfPath(port, catalog);
}

ToolJournal& MakeToolJournal(const CliOptions& options, CliEnvironment& env,
                             const LanguageText& texts, int language) {
    const QString device = DeviceOfPort(options.port, env);
    const QString file = !options.file.isEmpty() ? options.file : options.from;
    static const char* const kNames[] = {"read",    "write",   "verify", "calibrate", "show",
                                         "report",  "ports",   "find",   "help",      "version",
                                         "journal", "restore", "series"};
    env.journal = std::make_shared<ToolJournal>(env.console, texts, language, device, file,
                                                QString::fromLatin1(kNames[int(options.command)]));
    return *env.journal;
}

int ExitCodeOf(const OperationReport& report, bool interrupted) {
    switch (report.outcome) {
        case OperationOutcome::Succeeded:
            return report.differences > 0 ? Differences : Success;  // a verify's
        case OperationOutcome::Cancelled:
            return interrupted ? Interrupted : DataError;
        case OperationOutcome::Failed:
            break;
    }
    const ExitCode code = CodeOf(static_cast<ExchangeCheck>(report.lastCheck));
    return code == Success ? DataError : code;  // failed after good checks: a refused step
}

CommandResult ListJournal(const CliOptions& options, CliEnvironment& env) {
    LanguageText texts;
    texts.FillLanguageText();
    const auto contents = ReadForTool(env.console, texts, ToolLanguage(options));
    if (!contents) return Refusal(FileError, {});
    std::vector<journal::JournalRecord> records = contents->records;
    if (options.lastCount > 0 && records.size() > size_t(options.lastCount))
        records.erase(records.begin(), records.end() - options.lastCount);
    if (options.csv) return {.lines = {journal::JournalCsv(records)}};
    CommandResult result{.command = "journal"};
    QJsonArray list, skipped;
    for (const journal::JournalRecord& record : records) {
        result.lines << RecordLine(record);
        list.append(ToJson(record));
    }
    // In English whatever the language, as every value of the JSON result that a script reads.
    for (const journal::SkippedLine& line : contents->skipped)
        skipped.append(QJsonObject{{"line", line.line},
                                   {"why", journal::JournalReasonText(line.why, texts, 1)}});
    result.fields = {{"journal", journal::JournalPath()}, {"records", list}, {"skipped", skipped}};
    return result;
}

namespace {

// One restore from the record to the settled read-back.
class Restore : public CommandContext {
  public:
    using CommandContext::CommandContext;

    CommandResult Execute() {
        const auto contents = ReadForTool(console_, texts_, language_);
        if (!contents) return Refusal(FileError, {});
        portDevice_ = DeviceOfPort(options_.port, env_);
        const journal::JournalRecord* record = Find(contents->records);
        if (!record && options_.last)
            return Refusal(FileError,
                           {text_(rows::RestoreNoRecordOfDevice).arg(Shown(portDevice_))});
        if (!record) return Refusal(FileError, {text_(rows::JournalNoRecord).arg(options_.id)});
        if (auto refused = Restorable(*record)) return *refused;
        if (auto refused = ConfirmOtherDevice(*record)) return *refused;
        if (auto refused = Confirm(*record)) return *refused;
        return Run(*record);
    }

  private:
    QString Shown(const QString& device) const { return device.isEmpty() ? options_.port : device; }

    // The record was made on the meter the port reaches now: the same device, or, for a
    // record that names none, the same port.
    bool OfThisDevice(const journal::JournalRecord& record) const {
        if (!record.device.isEmpty() && !portDevice_.isEmpty()) return record.device == portDevice_;
        return record.port == options_.port;
    }

    static bool CanRestore(const journal::JournalRecord& record) {
        return record.written && record.asFound && record.asFoundValid;
    }

    // --last: the newest record of this device that can be written back, else its newest
    // write, which says why it cannot.
    const journal::JournalRecord* FindLast(const std::vector<journal::JournalRecord>& records) {
        const journal::JournalRecord* newestWrite = nullptr;
        for (auto record = records.rbegin(); record != records.rend(); ++record) {
            if (!OfThisDevice(*record) || !record->written) continue;
            if (CanRestore(*record)) return &*record;
            if (!newestWrite) newestWrite = &*record;
        }
        return newestWrite;
    }

    // --id: the record, or the one its id begins with.
    const journal::JournalRecord* Find(const std::vector<journal::JournalRecord>& records) {
        if (options_.last) return FindLast(records);
        for (auto record = records.rbegin(); record != records.rend(); ++record)
            if (record->id == options_.id) return &*record;
        if (options_.id.size() < 8) return nullptr;
        const journal::JournalRecord* found = nullptr;
        for (const journal::JournalRecord& record : records)
            if (record.id.startsWith(options_.id)) {
                if (found) return nullptr;  // not unique
                found = &record;
            }
        return found;
    }

    // A blank or erased meter's words are no configuration: they are never written back.
    std::optional<CommandResult> Restorable(const journal::JournalRecord& record) {
        if (!record.asFound) return Refusal(FileError, {text_(rows::JournalNoAsFound)});
        if (!record.asFoundValid) return Refusal(FileError, {text_(rows::JournalNoValidAsFound)});
        return std::nullopt;
    }

    QString Description(const journal::JournalRecord& record) const {
        return QStringLiteral("%1, %2 %3").arg(record.time, record.port, record.device);
    }

    bool Ask(const QString& question) {
        Prompt(question);
        return AnsweredYes();
    }

    // Another meter's image is never written silently: --yes alone does not cover it.
    std::optional<CommandResult> ConfirmOtherDevice(const journal::JournalRecord& record) {
        if (OfThisDevice(record) || options_.otherDevice) return std::nullopt;
        const QString recorded = Shown(record.device.isEmpty() ? record.port : record.device);
        if (!console_.InputIsTerminal())
            return Refusal(UsageError,
                           {text_(rows::RestoreOtherDevice).arg(recorded, Shown(portDevice_)),
                            text_(rows::RestoreNeedsOtherDevice)});
        if (Ask(text_(rows::RestoreOtherDeviceQuestion).arg(recorded, Shown(portDevice_))))
            return std::nullopt;
        return Refusal(UsageError, {text_(rows::RestoreCancelled)});
    }

    std::optional<CommandResult> Confirm(const journal::JournalRecord& record) {
        if (options_.yes) return std::nullopt;
        if (!console_.InputIsTerminal())
            return Refusal(UsageError, {text_(rows::RestoreAsksFirst)});
        const QString question = text_(rows::JournalRestoreQuestion)
                                     .arg(record.time, record.port + u' ' + record.device);
        if (Ask(question)) return std::nullopt;
        return Refusal(UsageError, {text_(rows::RestoreCancelled)});
    }

    CommandResult Run(const journal::JournalRecord& record) {
        if (auto refused = OpenMeter()) return *refused;
        OperationSequencer& steps = meter_->steps();
        journal_->journal().setRestoredFrom(record.id);
        steps.setRestore({*record.asFound, Description(record), record.written});
        meter_->Start(OperationMode::Restore);
        if (!RunUntilSettled()) return Refusal(Interrupted, {});
        const QStringList lines = steps.view().Info;
        const int code = journal_->lastExitCode().value_or(DataError);
        meter_->Close();
        CommandResult result{.exitCode = code,
                             .command = "restore",
                             .fields = {{"record", record.id}, {"messages", Report::Lines(lines)}}};
        (code == Success ? result.lines : result.textWarnings) = lines;
        return result;
    }

    // False when Ctrl-C stopped it (a write frame is let finish first).
    bool RunUntilSettled() {
        OperationSequencer& steps = meter_->steps();
        const auto stop = [&] {
            return console_.Interrupts() > 1 || (console_.Interrupts() == 1 && !meter_->Writing());
        };
        for (;;) {
            env_.runUntil(
                [&] { return stop() || meter_->Settled() || steps.RestoreConfirmationPending(); });
            if (stop()) {
                console_.Warn(text_(rows::StoppedByInterrupt));
                meter_->Close();
                return false;
            }
            if (!steps.RestoreConfirmationPending()) return true;
            for (const QString& line : steps.view().Info) console_.Warn(line);
            if (!options_.yes && !Ask(text_(rows::ConfirmYesNo))) {
                console_.Warn(text_(rows::RestoreCancelled));
                meter_->Close();
                return true;
            }
            steps.weiterbuttonClick();
        }
    }

    QString portDevice_;  // what the port reaches
};

}  // namespace

CommandResult RestoreMeter(const CliOptions& options, CliEnvironment& env) {
    return Restore(options, env).Execute();
}

}  // namespace zmt::cli
