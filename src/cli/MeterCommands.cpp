#include "cli/MeterCommands.h"

#include "cli/CommandContext.h"
#include "cli/ConfigFile.h"
#include "cli/JournalCommands.h"
#include "device/DeviceImage.h"
#include "device/ImageCheck.h"
#include "editor/SettingsFile.h"
#include "language/AddedRows.h"
#include "language/OriginalRows.h"

#include <memory>
#include <optional>

namespace zmt::cli {

namespace {

// One command's operations on the meter behind its port.
class MeterCommand : public CommandContext {
  public:
    using CommandContext::CommandContext;

    CommandResult Read() {
        if (!options_.from.isEmpty()) {
            if (auto refused = Load(options_.from)) return *refused;
        } else {
            ApplyDefaults(editor_);
            fileSession_ = session_;
        }
        if (auto refused = OpenSession()) return *refused;
        if (const int code = Operate(OperationMode::ReadOnly)) return Failed("read", code);
        CommandResult result{.command = "read"};
        result.warnings = TakeOverImage();
        meter_->Close();
        result.lines = report().Configuration();
        result.lines << report().TestLine();
        result.fields = {{"configuration", report().ConfigurationJson()},
                         {"test", report().TestJson()},
                         {"image", Report::Words(device_.DeviceImage)}};
        if (!options_.output.isEmpty()) SaveOutput(result);
        return result;
    }

    CommandResult Write() {
        if (auto refused = LoadWritable(options_.file)) return *refused;
        if (auto refused = OpenSession()) return *refused;
        const AfterOperation after =
            options_.verify ? AfterOperation::NextExchange : AfterOperation::MeterOff;
        CommandResult written = Operated("write", Operate(OperationMode::Write, after));
        if (written.exitCode != Success || !options_.verify) return written;
        CommandResult compared = CompareWithMeter("write");
        compared.lines = written.lines + compared.lines;
        compared.fields["messages"] = Report::Lines(written.lines + compared.textWarnings);
        return compared;
    }

    CommandResult Verify() {
        if (auto refused = LoadWritable(options_.file)) return *refused;
        if (auto refused = OpenSession()) return *refused;
        return CompareWithMeter("verify");
    }

    CommandResult Calibrate() {
        if (auto refused = LoadWritable(options_.file)) return *refused;
        if (auto refused = OpenSession()) return *refused;
        calibrating_ = true;
        return Operated("calibrate", Operate(OperationMode::CalibrateAndWrite));
    }

  private:
    std::optional<CommandResult> OpenSession() {
        if (auto refused = OpenMeter()) return refused;
        if (!options_.quiet)
            QObject::connect(meter_.get(), &MeterSession::progress,
                             [this](const QString& phase, int percent) {
                                 console_.Status(QStringLiteral("%1 %2 %").arg(phase).arg(percent));
                             });
        return std::nullopt;
    }

    // One operation from the question to its settled end; by default the command's last.
    int Operate(OperationMode mode, AfterOperation after = AfterOperation::MeterOff) {
        failure_ = Success;
        meter_->Start(mode, after);
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
        for (const QString& line : meter_->steps().view().Info) Prompt(line);
        Prompt(text_(rows::ReadDisplayedValue));
        promptShown_ = true;
    }

    // A refused reading is asked for again on a terminal; a pipe has no second try.
    void RefuseReading(const QStringList& why) {
        for (const QString& line : why) console_.Warn(line);
        if (console_.InputIsTerminal() && !console_.InputEnded())
            Prompt(text_(rows::ReadDisplayedValue));
        else
            failure_ = DataError;
    }

    // The meter's values into the editor, as the window's read takes them, with the same
    // word when they are none that this program writes; what could not be taken over.
    QStringList TakeOverImage() {
        QStringList problems;
        Effects ignored;
        try {
            ImageToConfig(device_, editor_, ignored);
        } catch (const ConversionError& error) {
            problems << QString::fromUtf8(error.what());  // a test input from the file
        }
        if (const auto invalid = FirstInvalidImageValue(ReadImage(device_)))
            problems << NoValidConfigurationLine(*invalid, texts_, language_);
        return problems;
    }

    // What was read, saved as the program saves it, with the fields the file had.
    void SaveOutput(CommandResult& result) {
        SessionState saved = fileSession_;
        const SettingsResult written =
            WriteSettingsFile(options_.output, BuildSettingsLines(model_, saved));
        if (written.ok) {
            result.textWarnings << text_(rows::ConfigurationSaved);
            return;
        }
        result.exitCode = FileError;
        result.warnings << written.message(texts_, language_);
    }

    CommandResult CompareWithMeter(const char* command) {
        const int code = Operate(OperationMode::Compare);
        if (code != Success) return Failed(command, code);
        const auto& differences = meter_->steps().Differences();
        meter_->Close();
        return {
            .exitCode = differences.empty() ? Success : Differences,
            .lines = report().Comparison(differences),
            .command = command,
            .fields = {{"equal", differences.empty()},
                       {"differences", report().ComparisonJson(differences)},
                       {"image", QJsonObject{{"file", Report::Words(ImageToWrite(model_, device_))},
                                             {"meter", Report::Words(device_.DeviceImage)}}}}};
    }

    // An operation that wrote: the operation window's lines, however it ended.
    CommandResult Operated(const char* command, int code) const {
        const QStringList lines = meter_->steps().view().Info;
        return {.exitCode = code,
                .lines = lines,
                .command = command,
                .fields = {{"messages", Report::Lines(lines)}}};
    }

    // A failed operation: its lines beside the result, and the JSON object a script
    // waits for.
    CommandResult Failed(const char* command, int code) const {
        const QStringList lines = meter_->steps().view().Info;
        return {.exitCode = code,
                .textWarnings = lines,
                .command = command,
                .fields = {{"messages", Report::Lines(lines)}}};
    }

    int failure_ = Success;
    bool calibrating_ = false;
    bool promptShown_ = false;
    bool finishing_ = false;
};

}  // namespace

CommandResult ReadMeter(const CliOptions& options, CliEnvironment& environment) {
    return MeterCommand(options, environment).Read();
}

CommandResult WriteMeter(const CliOptions& options, CliEnvironment& environment) {
    return MeterCommand(options, environment).Write();
}

CommandResult VerifyMeter(const CliOptions& options, CliEnvironment& environment) {
    return MeterCommand(options, environment).Verify();
}

CommandResult CalibrateMeter(const CliOptions& options, CliEnvironment& environment) {
    return MeterCommand(options, environment).Calibrate();
}

}  // namespace zmt::cli
