#include "Cli.h"

#include "AddedRows.h"
#include "ComTarget.h"
#include "ConfigFile.h"
#include "DeviceImage.h"
#include "ExitCode.h"
#include "ImageCheck.h"
#include "JournalCommands.h"
#include "LanguageText.h"
#include "MeterSession.h"
#include "OriginalRows.h"
#include "PortChoice.h"
#include "PortController.h"
#include "PortTexts.h"
#include "PosixTerminalDevice.h"
#include "Report.h"
#include "SeriesCommand.h"
#include "SettingsFile.h"
#include "SheetJournal.h"
#include "SheetPdf.h"
#include "SystemPortCatalog.h"
#include "WriteCheck.h"

#include <QDir>
#include <QJsonDocument>
#include <QLocale>
#include <QRegularExpression>

#include <memory>
#include <optional>

namespace zmt::cli {

namespace {

int LanguageOf(const CliOptions& options) {
    if (options.language >= 0) return options.language;
    return QLocale().language() == QLocale::German ? 0 : 1;
}

ExitCode CodeOf(ExchangeCheck check) {
    switch (check) {
        case ExchangeCheck::Passed:
            return Success;
        case ExchangeCheck::InterfaceMissing:
            return NoInterface;
        case ExchangeCheck::ConnectionFailed:
            return NoMeter;
        case ExchangeCheck::DataIncomplete:
            break;
    }
    return DataError;
}

// One run of one command.
class Run {
  public:
    Run(const CliOptions& options, CliEnvironment& environment)
        : options_(options),
          env_(environment),
          console_(environment.console),
          language_(LanguageOf(options)) {
        texts_.FillLanguageText();
        session_.LanguageIndex = language_;
    }

    int Execute() {
        switch (options_.command) {
            case Command::Read:
                return Read();
            case Command::Write:
                return Write();
            case Command::Verify:
                return Verify();
            case Command::Calibrate:
                return Calibrate();
            case Command::Show:
                return Show();
            case Command::Report:
                return Report();
            case Command::Ports:
                return Ports();
            case Command::Find:
                return Find();
            default:
                console_.Warn(QStringLiteral("this command is not available"));
                return UsageError;
        }
    }

  private:
    cli::Report report() const { return cli::Report(editor_); }

    // ---- the commands ----

    int Read() {
        if (!options_.from.isEmpty()) {
            if (const int code = Load(options_.from)) return code;
        } else {
            ApplyDefaults(editor_);
            fileSession_ = session_;
        }
        if (const int code = OpenSession()) return code;
        if (const int code = Operate(OperationMode::ReadOnly)) return Failed("read", code);
        TakeOverImage();
        meter_->Close();
        if (options_.json) {
            Emit({{"command", "read"},
                  {"exitCode", Success},
                  {"configuration", report().ConfigurationJson()},
                  {"test", report().TestJson()},
                  {"image", Report::Words(device_.DeviceImage)}});
        } else {
            for (const QString& line : report().Configuration()) console_.Print(line);
            console_.Print(report().TestLine());
        }
        return options_.output.isEmpty() ? Success : SaveOutput();
    }

    int Write() {
        if (const int code = LoadWritable(options_.file)) return code;
        if (const int code = OpenSession()) return code;
        const int code = Operate(OperationMode::Write);
        PrintInfo();
        if (code != Success || !options_.verify) return code;
        return CompareWithMeter("write");
    }

    int Verify() {
        if (const int code = LoadWritable(options_.file)) return code;
        if (const int code = OpenSession()) return code;
        return CompareWithMeter("verify");
    }

    int Calibrate() {
        if (const int code = LoadWritable(options_.file)) return code;
        if (const int code = OpenSession()) return code;
        calibrating_ = true;
        const int code = Operate(OperationMode::CalibrateAndWrite);
        PrintInfo();
        return code;
    }

    int Show() {
        if (const int code = Load(options_.file)) return code;
        const WriteCheck check = CheckWritableConfiguration(model_);
        QStringList messages = memo_;
        if (!check.ok()) messages << WriteProblemLine(check, texts_, language_);
        if (options_.json) {
            Emit({{"command", "show"},
                  {"exitCode", Success},
                  {"file", options_.file},
                  {"configuration", report().ConfigurationJson()},
                  {"coefficients", report().CoefficientsJson()},
                  {"test", report().TestJson()},
                  {"messages", Report::Lines(messages)},
                  {"writable", check.ok()}});
            return Success;
        }
        for (const QString& line : report().Configuration() + report().Coefficients())
            console_.Print(line);
        console_.Print(report().TestLine());
        for (const QString& line : messages) console_.Print(line);
        return Success;
    }

    // The configuration sheet of a file on its own: no meter, no calibration.
    int Report() {
        if (const int code = Load(options_.file)) return code;
        SheetInput input{model_, session_, options_.file, std::nullopt,
                         QDateTime::currentDateTime()};
        input.journalRecord = WriteRecordOf(input, WritesOfFile(options_.file));
        const SheetResult written = WriteConfigurationSheetPdf(input, options_.output);
        if (!written.ok) {
            console_.Warn(written.message);
            return FileError;
        }
        console_.Print(written.path);
        return Success;
    }

    // ---- serial devices ----

    link::PortCatalog& catalog() {
        if (!env_.catalog) env_.catalog = std::make_shared<link::SystemPortCatalog>();
        return *env_.catalog;
    }

    int Ports() {
        const std::vector<link::PortEntry> devices = catalog().list();
        QJsonArray deviceList, comList;
        QStringList lines{devices.empty() ? text_(rows::PortNoDevices)
                                          : text_(rows::PortDevicesListed).arg(devices.size())};
        for (const link::PortEntry& device : devices) {
            lines << QStringLiteral("  ") + DescribeDevice(device, texts_, language_);
            deviceList.append(DeviceJson(device));
        }
        for (int number = 1; number <= ComPortCount; ++number) {
            const link::ComTarget target =
                link::ResolveComTarget(number, QDir::currentPath(), devices);
            lines << ComName(number) + QStringLiteral(" -> ") +
                         DescribeComTarget(target, texts_, language_);
            comList.append(QJsonObject{{"port", ComName(number)},
                                       {"path", target.path},
                                       {"device", target.device},
                                       {"exists", target.exists},
                                       {"hardware", target.hardware},
                                       {"description", target.description}});
        }
        if (options_.json)
            Emit({{"command", "ports"},
                  {"exitCode", Success},
                  {"devices", deviceList},
                  {"com", comList}});
        else
            for (const QString& line : lines) console_.Print(line);
        return Success;
    }

    static QJsonObject DeviceJson(const link::PortEntry& device) {
        QJsonObject json{
            {"path", device.devicePath},           {"stablePath", device.stablePath},
            {"description", device.description},   {"manufacturer", device.manufacturer},
            {"serialNumber", device.serialNumber}, {"busy", device.busy}};
        if (device.vendorId) json["vendorId"] = int(*device.vendorId);
        if (device.productId) json["productId"] = int(*device.productId);
        return json;
    }

    // The devices to search: those named (COMn as the program opens it), else every
    // listed one that no other program holds.
    std::vector<link::PortEntry> DevicesToSearch(std::vector<link::PortEntry>& skipped) {
        const std::vector<link::PortEntry> listed = catalog().list();
        std::vector<link::PortEntry> devices;
        for (const QString& port : options_.findPorts) {
            const auto number = ComNumberOf(port);
            link::PortEntry entry;
            entry.devicePath =
                number ? link::ResolveComTarget(*number, QDir::currentPath(), listed).shownPath()
                       : port;
            if (const link::PortEntry* known = link::FindPortEntry(listed, entry.devicePath))
                entry = *known;
            devices.push_back(entry);
        }
        if (!options_.findPorts.isEmpty()) return devices;
        for (const link::PortEntry& entry : listed)
            (entry.busy ? skipped : devices).push_back(entry);
        return devices;
    }

    bool Confirmed(const std::vector<link::PortEntry>& devices,
                   const std::vector<link::PortEntry>& skipped) {
        console_.Print(text_(rows::PortFindQuestion));
        for (const link::PortEntry& device : devices)
            console_.Print(QStringLiteral("  ") + DescribeDevice(device, texts_, language_));
        if (!skipped.empty()) console_.Print(text_(rows::PortFindSkipped));
        for (const link::PortEntry& device : skipped)
            console_.Print(QStringLiteral("  ") + DescribeDevice(device, texts_, language_));
        console_.Print(text_(rows::PortFindWarning));
        console_.Print(text_(rows::ConfirmYesNo));
        std::optional<QString> answer;
        env_.runUntil([&] {
            answer = console_.NextLine();
            return answer || console_.InputEnded() || console_.Interrupts() > 0;
        });
        const QString word = answer.value_or(QString()).trimmed().toLower();
        return word.startsWith(u'j') || word.startsWith(u'y');
    }

    int Find() {
        std::vector<link::PortEntry> skipped;
        const std::vector<link::PortEntry> devices = DevicesToSearch(skipped);
        if (devices.empty()) {
            console_.Warn(text_(rows::PortFindNothingFree));
            return NoInterface;
        }
        if (options_.findPorts.isEmpty() && !options_.yes && !Confirmed(devices, skipped)) {
            console_.Warn(text_(rows::PortFindCancelled));
            return NoInterface;
        }
        link::InterfaceProbe probe(env_.probePorts ? env_.probePorts : link::TerminalProbePorts(),
                                   env_.clock);
        if (env_.probeInUse) env_.probeInUse(&probe);
        if (!options_.quiet)
            QObject::connect(&probe, &link::InterfaceProbe::probing, [&](int index, int count) {
                console_.Status(text_(rows::PortFindProgress)
                                    .arg(devices[index].devicePath)
                                    .arg(index + 1)
                                    .arg(count));
            });
        probe.start(devices);
        env_.runUntil([&] { return !probe.running() || console_.Interrupts() > 0; });
        const bool stopped = probe.running();
        probe.cancel();
        if (env_.probeInUse) env_.probeInUse(nullptr);
        console_.Status(QString());
        if (stopped) {
            console_.Warn(text_(rows::StoppedByInterrupt));
            return Interrupted;
        }
        return ReportSearch(probe, skipped);
    }

    int ReportSearch(const link::InterfaceProbe& probe,
                     const std::vector<link::PortEntry>& skipped) {
        const bool found = !probe.found().empty();
        QJsonArray results;
        for (const link::ProbeResult& result : probe.results()) {
            const QString outcome = DescribeProbeOutcome(result.outcome, texts_, language_);
            results.append(QJsonObject{{"path", result.entry.devicePath},
                                       {"outcome", DescribeProbeOutcome(result.outcome, texts_, 1)},
                                       {"found", result.outcome == link::ProbeOutcome::Found}});
            if (!options_.json)
                console_.Print(result.entry.devicePath + QStringLiteral(": ") + outcome);
        }
        for (const link::PortEntry& device : skipped)
            results.append(
                QJsonObject{{"path", device.devicePath},
                            {"outcome", DescribeProbeOutcome(link::ProbeOutcome::Busy, texts_, 1)},
                            {"found", false}});
        const int code = found ? Success : NoInterface;
        if (options_.json)
            Emit({{"command", "find"}, {"exitCode", code}, {"results", results}});
        else if (!found)
            console_.Print(text_(rows::PortFindNone));
        return code;
    }

    // ---- files and checks ----

    int Load(const QString& path) {
        const SettingsResult loaded = LoadConfiguration(path, editor_, language_, memo_);
        fileSession_ = session_;
        session_.LanguageIndex = language_;
        if (loaded.ok) return Success;
        console_.Warn(loaded.message(texts_, language_));
        return FileError;
    }

    // A configuration that cannot be evaluated is never sent, not even the opening read.
    int LoadWritable(const QString& path) {
        if (const int code = Load(path)) return code;
        const WriteCheck check = CheckWritableConfiguration(model_);
        if (check.ok()) return Success;
        console_.Warn(text_(rows::InputError));
        console_.Warn(WriteProblemLine(check, texts_, language_));
        return FileError;
    }

    int SaveOutput() {
        SessionState saved = fileSession_;
        const SettingsResult written =
            WriteSettingsFile(options_.output, BuildSettingsLines(model_, saved));
        if (!written.ok) {
            console_.Warn(written.message(texts_, language_));
            return FileError;
        }
        if (!options_.json) console_.Warn(text_(rows::ConfigurationSaved));
        return Success;
    }

    // The meter's values into the editor, as the window's read takes them, with the same
    // word when they are none that this program writes.
    void TakeOverImage() {
        Effects ignored;
        try {
            ImageToConfig(device_, editor_, ignored);
        } catch (const ConversionError& error) {
            console_.Warn(QString::fromUtf8(error.what()));  // a test input from the file
        }
        if (const auto invalid = FirstInvalidImageValue(ReadImage(device_)))
            console_.Warn(NoValidConfigurationLine(*invalid, texts_, language_));
    }

    // ---- the meter ----

    int OpenSession() {
        const auto port = ResolvePort(options_.port, env_.comDevices);
        if (!port) {
            console_.Warn(QStringLiteral("PORT must be COM1..COM4 or a device path: ") +
                          options_.port);
            return UsageError;
        }
        meter_ = std::make_unique<MeterSession>(editor_, device_, port->factory, port->number,
                                                port->name, env_.clock);
        if (env_.portInUse) env_.portInUse(&meter_->port());
        journal_ = MakeToolJournal(options_, env_, texts_, language_);
        meter_->steps().setReporter(journal_.get());
        if (!options_.quiet)
            QObject::connect(meter_.get(), &MeterSession::progress,
                             [this](const QString& phase, int percent) {
                                 console_.Status(QStringLiteral("%1 %2 %").arg(phase).arg(percent));
                             });
        const QStringList problem = meter_->OpenPort(env_.system);
        for (const QString& line : problem) console_.Warn(line);
        return problem.isEmpty() ? Success : PortUnavailable;
    }

    // One operation from the question to its settled end.
    int Operate(OperationMode mode) {
        failure_ = Success;
        meter_->Start(mode);
        env_.runUntil([this] { return Step(); });
        console_.Status(QString());
        for (const QString& error : meter_->Errors()) console_.Warn(error);
        if (failure_ != Success) {
            meter_->Close();
            return failure_;
        }
        return CodeOf(meter_->steps().LastCheck());
    }

    // One look while an operation runs; true when it is over or must stop.
    bool Step() {
        if (StopRequested()) return true;
        if (calibrating_) TakeReading();
        return failure_ != Success || meter_->Settled();
    }

    // Ctrl-C stops at once, except during a write frame: the first one lets the frame
    // finish (half a frame would leave the meter with a broken image), a second one stops.
    bool StopRequested() {
        const int presses = console_.Interrupts();
        if (presses == 0) return false;
        if (presses == 1 && meter_->Writing()) {
            if (!finishing_) console_.Warn(text_(rows::FinishingTheWrite));
            finishing_ = true;
            return false;
        }
        console_.Warn(text_(rows::StoppedByInterrupt));
        failure_ = Interrupted;
        return true;
    }

    // The operator's reading, once the meter has restarted for it.
    void TakeReading() {
        OperationSequencer& steps = meter_->steps();
        if (!steps.PromptOpen()) {
            promptShown_ = false;
            return;
        }
        if (!promptShown_) ShowPrompt();
        // A reading typed ahead waits until the meter shows one.
        if (steps.waittimer().enabled() || steps.resettimer().enabled() ||
            steps.offsettimer().enabled() || meter_->Restarting())
            return;
        // Lines typed ahead are taken one after the other, a refused one asked for again.
        while (const std::optional<QString> line = console_.NextLine()) {
            const qsizetype before = steps.view().Info.size();
            steps.AnzeigeExit(*line);
            if (steps.view().OKButton.visible && steps.view().OKButton.enabled) {
                steps.OKButtonClick();
                return;
            }
            RefuseReading(steps.view().Info.mid(before));
            if (failure_ != Success) return;
        }
        if (console_.InputEnded()) RefuseReading({text_(rows::InputEndedBeforeReading)});
    }

    void ShowPrompt() {
        for (const QString& line : meter_->steps().view().Info) console_.Print(line);
        console_.Print(text_(rows::ReadDisplayedValue));
        promptShown_ = true;
    }

    // A refused reading is asked for again on a terminal; a pipe has no second try.
    void RefuseReading(const QStringList& why) {
        for (const QString& line : why) console_.Warn(line);
        if (console_.InputIsTerminal() && !console_.InputEnded())
            console_.Print(text_(rows::ReadDisplayedValue));
        else
            failure_ = DataError;
    }

    int CompareWithMeter(const char* command) {
        const int code = Operate(OperationMode::Compare);
        if (code != Success) return Failed(command, code);
        const auto& differences = meter_->steps().Differences();
        const int result = differences.empty() ? Success : Differences;
        meter_->Close();
        if (options_.json) {
            Emit({{"command", command},
                  {"exitCode", result},
                  {"equal", differences.empty()},
                  {"differences", report().ComparisonJson(differences)},
                  {"image", QJsonObject{{"file", Report::Words(ImageToWrite(model_, device_))},
                                        {"meter", Report::Words(device_.DeviceImage)}}}});
        } else {
            for (const QString& line : report().Comparison(differences)) console_.Print(line);
        }
        return result;
    }

    void PrintInfo() {
        for (const QString& line : meter_->steps().view().Info) console_.Print(line);
    }

    // A failed operation: its lines, and the JSON object a script waits for.
    int Failed(const char* command, int code) {
        const QStringList lines = meter_->steps().view().Info;
        if (options_.json)
            Emit({{"command", command}, {"exitCode", code}, {"messages", Report::Lines(lines)}});
        else
            for (const QString& line : lines) console_.Warn(line);
        return code;
    }

    void Emit(const QJsonObject& object) {
        console_.Print(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
    }

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
    std::unique_ptr<ToolJournal> journal_;  // outlives the session, which reports to it
    std::unique_ptr<MeterSession> meter_;
    int failure_ = Success;
    bool calibrating_ = false;
    bool promptShown_ = false;
    bool finishing_ = false;
};

}  // namespace

int RunCli(const CliOptions& options, CliEnvironment& environment) {
    switch (options.command) {
        case Command::Help:
            environment.console.Print(HelpText());
            return Success;
        case Command::Version:
            environment.console.Print(VersionText());
            return Success;
        case Command::Journal:
            return ListJournal(options, environment, LanguageOf(options));
        case Command::Series:
        case Command::Restore: {
            const int code = options.command == Command::Series
                                 ? RunSeries(options, environment, LanguageOf(options))
                                 : RestoreMeter(options, environment, LanguageOf(options));
            if (environment.portInUse) environment.portInUse(nullptr);
            return code;
        }
        default:
            break;
    }
    const int code = Run(options, environment).Execute();
    if (environment.portInUse) environment.portInUse(nullptr);
    return code;
}

}  // namespace zmt::cli
