#include "cli/SeriesCommand.h"

#include "cli/CommandContext.h"
#include "cli/ExitCode.h"
#include "cli/JournalCommands.h"
#include "cli/Report.h"
#include "journal/JournalRecord.h"
#include "language/AddedRows.h"
#include "language/OriginalRows.h"
#include "series/SeriesStation.h"
#include "session/PortChoice.h"

#include <QJsonDocument>
#include <QJsonObject>

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
        // A sheet folder that cannot take a sheet is said before any meter is written.
        if (const auto problem = SheetFolderRefusal(options_.sheets, text_)) {
            console_.Warn(*problem);
            return FileError;
        }
        const auto port = ResolvePort(options_.port, env_.comDevices);
        if (!port) {
            console_.Warn(UnknownPortLine(options_.port));
            return UsageError;
        }
        session_.ComPortNumber = port->number;
        session_.ComPortName = port->name;
        journal_ = &MakeToolJournal(options_, env_, texts_, language_);
        SeriesStation station(StationSetup(*port));
        SeriesLoop loop(texts_, station.Hooks(), env_.clock);
        QObject::connect(&loop, &SeriesLoop::unitFinished,
                         [this](const SeriesUnit& unit) { PrintUnit(unit); });
        QObject::connect(&loop, &SeriesLoop::warning,
                         [this](const QString& line) { console_.Warn(line); });
        if (!options_.quiet)
            QObject::connect(&loop, &SeriesLoop::statusChanged,
                             [this](const QString& status) { console_.Status(status); });
        const QStringList refused = loop.Start(Setup());
        if (!refused.isEmpty()) {
            const QStringList& problem = station.openProblem();
            for (const QString& line : problem.isEmpty() ? refused : problem) console_.Warn(line);
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

    SeriesStationSetup StationSetup(const PortChoice& port) {
        SeriesStationSetup setup{port, env_.clock, env_.system, env_.portInUse};
        setup.journal = [this](ConfigEditor&) { return &journal_->journal(); };
        if (!options_.sheets.isEmpty()) setup.sheetFolder = [this] { return options_.sheets; };
        setup.file = options_.file;
        return setup;
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
        if (loop.stopped() > 0) return Interrupted;
        // Stopped before the units asked for were done: the series did not finish.
        if (options_.count > 0 && loop.endReason() == SeriesEnd::Stopped) return Interrupted;
        return loop.failed() > 0 ? UnitsFailed : Success;
    }

    int Summarise(const SeriesLoop& loop) {
        const int code = ExitCodeOf(loop);
        if (options_.json) {
            Emit({{"command", "series"},
                  {"exitCode", code},
                  {"units", loop.passed() + loop.failed() + loop.stopped()},
                  {"passed", loop.passed()},
                  {"failed", loop.failed()},
                  {"stopped", loop.stopped()},
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
};

}  // namespace

int RunSeries(const CliOptions& options, CliEnvironment& env) {
    return Series(options, env).Execute();
}

}  // namespace zmt::cli
