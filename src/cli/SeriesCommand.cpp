#include "cli/SeriesCommand.h"

#include "cli/CommandContext.h"
#include "cli/ExitCode.h"
#include "cli/JournalCommands.h"
#include "cli/MeterSession.h"
#include "cli/PortChoice.h"
#include "cli/Report.h"
#include "journal/JournalRecord.h"
#include "language/AddedRows.h"
#include "language/OriginalRows.h"
#include "series/SeriesLoop.h"
#include "sheet/SheetPdf.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <stdexcept>

namespace zmt::cli {

namespace {

QString ResultWord(UnitResult result) {
    switch (result) {
        case UnitResult::Passed:
            return QStringLiteral("passed");
        case UnitResult::Failed:
            return QStringLiteral("failed");
        case UnitResult::Stopped:
            return QStringLiteral("stopped");
    }
    return {};
}

QString EndWord(SeriesEnd end) {
    switch (end) {
        case SeriesEnd::Stopped:
            return QStringLiteral("stopped");
        case SeriesEnd::CountReached:
            return QStringLiteral("count");
        case SeriesEnd::PortFailed:
            return QStringLiteral("port");
        case SeriesEnd::NoInterface:
            return QStringLiteral("no-interface");
    }
    return {};
}

class Series : public CommandContext {
  public:
    using CommandContext::CommandContext;

    int Execute() {
        // The configuration is taken once: what happens to the file later does not matter.
        if (const auto refused = LoadWritable(options_.file)) {
            for (const QString& line : refused->warnings) console_.Warn(line);
            return refused->exitCode;
        }
        const auto port = ResolvePort(options_.port, env_.comDevices);
        if (!port) {
            console_.Warn(QStringLiteral("PORT must be COM1..COM4 or a device path: ") +
                          options_.port);
            return UsageError;
        }
        session_.ComPortNumber = port->number;
        session_.ComPortName = port->name;
        journal_ = &MakeToolJournal(options_, env_, texts_, language_);
        SeriesLoop loop(texts_, Hooks(*port), env_.clock);
        QObject::connect(&loop, &SeriesLoop::unitFinished,
                         [this](const SeriesUnit& unit) { PrintUnit(unit); });
        QObject::connect(&loop, &SeriesLoop::warning,
                         [this](const QString& line) { console_.Warn(line); });
        if (!options_.quiet)
            QObject::connect(&loop, &SeriesLoop::statusChanged,
                             [this](const QString& status) { console_.Status(status); });
        const QStringList refused = loop.Start(Setup());
        if (!refused.isEmpty()) {
            for (const QString& line : openProblem_.isEmpty() ? refused : openProblem_)
                console_.Warn(line);
            return PortUnavailable;
        }
        RunUntilEnded(loop);
        console_.Status(QString());
        return Summarise(loop);
    }

  private:
    SeriesSetup Setup() const {
        SeriesSetup setup{model_, session_, !options_.noVerify, options_.count};
        setup.session.LoadedFileName = options_.file;
        return setup;
    }

    SeriesHooks Hooks(const PortChoice& port) {
        SeriesHooks hooks;
        hooks.MakeMeter = [this, port](ConfigEditor& editor, DeviceState& device) {
            auto meter = std::make_unique<MeterSession>(editor, device, port.factory, port.number,
                                                        port.name, env_.clock);
            if (env_.portInUse) env_.portInUse(&meter->port());
            openProblem_ = meter->OpenPort(env_.system);
            return std::unique_ptr<SeriesMeter>(std::move(meter));
        };
        hooks.journal = &journal_->journal();
        hooks.LastJournalId = [this] {
            const auto& last = journal_->journal().lastRecord();
            return last && !journal_->journal().lastAppendFailed() ? last->id : QString();
        };
        if (!options_.sheets.isEmpty())
            hooks.SaveSheet = [this](auto&&... a) { return Sheet(a...); };
        return hooks;
    }

    QString Sheet(const SeriesUnit& unit, const ConfigModel& model, const SessionState& session,
                  const DeviceState& device) {
        if (!QDir().mkpath(options_.sheets))
            throw std::runtime_error(
                text_(rows::FileCannotBeWritten).arg(options_.sheets, QString()).toStdString());
        const SheetResult written = WriteConfigurationSheetPdf(
            SheetInput{model, session, options_.file, device, QDateTime::currentDateTime()},
            SeriesSheetPath(options_.sheets, options_.file, unit));
        if (!written.ok) throw std::runtime_error(written.message.toStdString());
        return written.path;
    }

    // Ctrl-C ends the series: at once while it waits, after the write frame during a
    // write; a second one stops at once.
    void RunUntilEnded(SeriesLoop& loop) {
        int handled = 0;
        env_.runUntil([&] {
            while (handled < console_.Interrupts()) {
                ++handled;
                loop.Stop();
            }
            return !loop.Running();
        });
        if (loop.Running()) loop.Stop();
    }

    void PrintUnit(const SeriesUnit& unit) {
        const QString time = journal::IsoTime(unit.time);
        if (options_.json) {
            QJsonObject object{{"unit", unit.number},
                               {"time", time},
                               {"result", ResultWord(unit.result)},
                               {"reason", Report::Lines(unit.reason)},
                               {"journal", unit.journalId},
                               {"verifyJournal", unit.verifyJournalId}};
            if (!unit.sheet.isEmpty()) object["sheet"] = unit.sheet;
            return Emit(object);
        }
        QString line = text_(rows::SeriesUnitLine)
                           .arg(unit.number)
                           .arg(time, ResultWord(unit.result),
                                unit.journalId.isEmpty() ? QStringLiteral("-") : unit.journalId);
        if (unit.result != UnitResult::Passed && !unit.reason.isEmpty())
            line += QStringLiteral("  ") + unit.reason.last();
        console_.Print(line);
    }

    int ExitCodeOf(const SeriesLoop& loop) const {
        switch (loop.endReason()) {
            case SeriesEnd::PortFailed:
                return PortUnavailable;
            case SeriesEnd::NoInterface:
                return NoInterface;
            default:
                break;
        }
        for (const SeriesUnit& unit : loop.units())
            if (unit.result == UnitResult::Stopped) return Interrupted;
        return loop.failed() > 0 ? 1 : Success;
    }

    int Summarise(const SeriesLoop& loop) {
        const int code = ExitCodeOf(loop);
        if (options_.json) {
            Emit({{"command", "series"},
                  {"exitCode", code},
                  {"units", loop.passed() + loop.failed()},
                  {"passed", loop.passed()},
                  {"failed", loop.failed()},
                  {"end", EndWord(loop.endReason())},
                  {"messages", Report::Lines(loop.endLines())}});
            return code;
        }
        for (const QString& line : loop.endLines())
            (code == Success ? console_.Print(line) : console_.Warn(line));
        return code;
    }

    void Emit(const QJsonObject& object) {
        console_.Print(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
    }

    ToolJournal* journal_ = nullptr;  // the run keeps it
    QStringList openProblem_;
};

}  // namespace

int RunSeries(const CliOptions& options, CliEnvironment& env) {
    return Series(options, env).Execute();
}

}  // namespace zmt::cli
