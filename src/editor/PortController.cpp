#include "editor/PortController.h"

#include "editor/Numbers.h"
#include "editor/PortTexts.h"
#include "editor/SettingsFile.h"
#include "language/AddedRows.h"
#include "language/LanguageText.h"
#include "language/OriginalRows.h"
#include "link/IgnorePortFailure.h"
#include "link/SpComPort.h"

#include <QFileInfo>

namespace zmt {

PortController::PortController(PortControllerContext context, QObject* parent)
    : QObject(parent), context_(std::move(context)) {
    setObjectName(QStringLiteral("PortController"));
    Clock& clock = context_.clock;
    Timer2_ = new OneShotTimer(this, QStringLiteral("Timer2"), 500, clock);
    powerontimer_ = new OneShotTimer(this, QStringLiteral("powerontimer"), 600, clock);
    Timer3_ = new OneShotTimer(this, QStringLiteral("Timer3"), 700, clock);
    Timer2_->setHandler([this] {
        signal_.enabled = true;
        Timer2_->setEnabled(false);
        Report({});
    });
    Timer3_->setHandler([this] {
        power_.enabled = true;
        Timer3_->setEnabled(false);
        Report({});
    });
    powerontimer_->setHandler([this] { powerontimerTimer(); });
}

// ---------------------------------------------------------------- interface lines

void PortController::SetPortLines(const QString& name, bool power, bool signal, bool reopen) {
    Effects fx;
    link::TSpComPort& port = context_.port;
    try {
        if (reopen) port.Close();
        port.setComNumber(session().ComPortNumber);
        port.Open();
        if (reopen) port.PurgeRx();
        port.setRTS(signal);
        port.setDTR(power);
    } catch (const link::ESpComPortCoreError& error) {
        ReportPortFailure(name, DiagnoseOpenFailure(error, context_.system), fx);
    } catch (const std::exception&) {
        ReportPortFailure(name, {}, fx);
    }
    Report(fx);
}

void PortController::ReportPortFailure(const QString& name, const link::PortFailureCause& cause,
                                       Effects& fx) {
    if (operationRunning_) return;
    for (const QString& line :
         PortFailureLines(name, cause, context_.editor.texts(), session().LanguageIndex))
        fx.addMem(line);
}

void PortController::SetDTR(bool on) {
    link::IgnorePortFailure([&] { context_.port.setDTR(on); });
}

void PortController::SetRTS(bool on) {
    link::IgnorePortFailure([&] { context_.port.setRTS(on); });
}

void PortController::switchpowerClick(bool checked) {
    power_.checked = checked;
    session().PowerOn = checked;
    // The signal goes up with the power change; powerontimer restores it from its box.
    SetPortLines(session().ComPortName, session().PowerOn, true, false);
    powerontimer_->setEnabled(true);
    Timer3_->setEnabled(true);
    power_.enabled = false;
    Report({});
}

void PortController::switchsignalClick(bool checked) {
    signal_.checked = checked;
    session().SignalOn = checked;
    SetPortLines(session().ComPortName, session().PowerOn, session().SignalOn, false);
    Timer2_->setEnabled(true);
    signal_.enabled = false;
    Report({});
}

void PortController::powerontimerTimer() {
    session().SignalOn = signal_.checked;
    SetRTS(session().SignalOn);  // a missing port shows at the next SetPortLines
    powerontimer_->setEnabled(false);
}

// Power follows its switch at once; the signal follows its switch when powerontimer fires.
void PortController::StartLineLocks() {
    powerontimer_->setEnabled(true);
    Timer3_->setEnabled(true);
    power_.enabled = false;
}

void PortController::Activate() {
    session().PowerOn = power_.checked;
    StartLineLocks();
    SetPortLines(session().ComPortName, session().PowerOn, session().SignalOn, false);
    Timer2_->setEnabled(true);
    signal_.enabled = false;
    Report({});
}

void PortController::HandBackLines() {
    StartLineLocks();
    if (power_.checked) session().PowerOn = true;
    if (signal_.checked) session().SignalOn = true;
    SetPortLines(session().ComPortName, session().PowerOn, session().SignalOn, false);
    Timer2_->setEnabled(true);
    signal_.enabled = false;
    Report({});
}

// ---------------------------------------------------------------- port choice

std::array<bool, ComPortCount> PortController::ProbePorts() {
    std::array<bool, ComPortCount> available{};
    for (int number = 1; number <= ComPortCount; ++number)
        available[number - 1] = PortAvailable(number);
    return available;
}

bool PortController::PortAvailable(int number) {
    link::TSpComPort& port = context_.port;
    // Our own open port is available; probing it would cut the meter's power.
    if (port.IsOpen() && port.ComNumber() == number) return true;
    link::TSpComPort probe(nullptr, QStringLiteral("probe"), context_.deviceFactory);
    try {
        probe.setComNumber(number);
        probe.Open();
        probe.Close();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void PortController::SelectPort(int number) {
    SessionState& s = session();
    s.ComPortName = ComName(number);
    s.ComPortNumber = number;
    s.CheckedComItem = number;
}

void PortController::ChoosePort(int number) {
    SelectPort(number);
    SetPortLines(session().ComPortName, session().PowerOn, session().SignalOn, true);
    Effects fx;
    fx.addMem(text(rows::SelectedPort) + session().ComPortName);
    context_.editor.UpdateRangeInfo();
    Report(fx);
}

QString PortController::ComTargetText(int number) const {
    // The device list stays out of it: listing the machine's devices opens some of them.
    const link::ComTarget target = context_.ports.comPorts->target(number, {});
    return DescribeComTarget(target, context_.editor.texts(),
                             context_.editor.session().LanguageIndex);
}

void PortController::ReleasePort() {
    // A port that fails to close is closed as far as anyone can tell.
    link::IgnorePortFailure([this] { context_.port.Close(); });
}

void PortController::FirstStartChoice(int number) {
    SelectPort(number);
    EditorStep([this](Effects& fx) { context_.editor.ApplyFirstStartDefaults(fx); });
    HintAtUnassignedAdapter(number);
}

// The chosen COM number reaches a standard port without a UART while a USB serial adapter
// is connected: the adapter most likely still waits to be assigned. Said once, here.
void PortController::HintAtUnassignedAdapter(int number) {
    const QString device = context_.ports.comPorts->target(number, {}).shownPath();
    if (!link::StandardPortWithoutHardware(device, context_.system)) return;
    link::PortFailureCause cause;
    cause.kind = link::PortFailureKind::NoHardwareBehind;
    cause.device = device;
    cause.adapter = link::ListedUsbAdapter(context_.system);
    Effects fx;
    for (const QString& line :
         PortCauseLines(cause, context_.editor.texts(), session().LanguageIndex))
        fx.addMem(line);
    Report(fx);
}

// ---------------------------------------------------------------- settings

bool PortController::RestoreAtStart() {
    const QString& path = context_.settingsPath;
    if (!QFileInfo::exists(path)) return true;
    const SettingsFileContent read = ReadUsableSettingsFile(path, context_.editor);
    if (!read.result.ok) {
        // The file says which language its user reads, where that line can be read.
        ReportBadSettingsFile(read.result,
                              LanguageOfLines(read.lines).value_or(session().LanguageIndex));
        return true;
    }
    dateimem_ = read.lines;
    EditorStep([&](Effects& applied) {
        ApplySettingsLines(read.lines, context_.editor, applied);
        context_.editor.UpdateRangeInfo();
        context_.editor.Recalculate(applied);
    });
    return false;
}

// The program starts as on a first start; the file is replaced only at exit.
void PortController::ReportBadSettingsFile(const SettingsResult& refused, int languageIndex) {
    const LanguageText& texts = context_.editor.texts();
    Effects fx;
    fx.addMem(texts.text(rows::BadSettingsFileHeading, languageIndex).arg(context_.settingsPath));
    fx.addMem(QStringLiteral("  ") + refused.message(texts, languageIndex));
    Report(fx);
}

SettingsResult PortController::Save(const QString& path) {
    dateimem_ = BuildSettingsLines(context_.editor.model(), session());
    for (const QString& target : {path, context_.settingsPath}) {
        const SettingsResult written = WriteSettingsFile(target, dateimem_);
        if (!written.ok) return written;
    }
    Effects fx;
    fx.addMem(text(rows::ConfigurationSaved));
    Report(fx);
    return {};
}

SettingsResult PortController::Load(const QString& path) {
    // A file that cannot be applied as a whole changes nothing: not the port, not the lines.
    const SettingsFileContent read = ReadUsableSettingsFile(path, context_.editor);
    if (!read.result.ok) return read.result;
    EditorStep([&](Effects& fx) { ApplySettingsLines(read.lines, context_.editor, fx); });
    dateimem_ = read.lines;
    SessionState& s = session();
    s.LoadedFileName = path;
    SetPortLines(s.ComPortName, s.PowerOn, s.SignalOn, true);
    powerontimer_->setEnabled(true);
    // Where a box changes, its click rule runs as a click would.
    if (power_.checked != s.PowerOn) switchpowerClick(s.PowerOn);
    if (signal_.checked != s.SignalOn) switchsignalClick(s.SignalOn);
    EditorStep([this](Effects& fx) {
        context_.editor.UpdateRangeInfo();
        context_.editor.Recalculate(fx);
        // The file's language speaks from here on; the captions stay as they are.
        fx.addMem(text(rows::ConfigurationLoaded));
    });
    return {};
}

void PortController::Exit() {
    dateimem_ = BuildSettingsLines(context_.editor.model(), session());
    Effects fx;
    if (!WriteSettingsFile(context_.settingsPath, dateimem_).ok) fx.beep();
    // Closing for good: nothing is left to report to.
    link::IgnorePortFailure([this] { context_.port.Close(); });
    Report(fx);
}

// ---------------------------------------------------------------- the configuration

void PortController::EditorStep(const std::function<void(Effects&)>& operation) {
    Effects fx;
    try {
        operation(fx);
    } catch (...) {
        Report(fx);
        throw;
    }
    Report(fx);
}

void PortController::UpdateRangeInfo() {
    context_.editor.UpdateRangeInfo();
    Report({});
}

}  // namespace zmt

#include "moc_PortController.cpp"
