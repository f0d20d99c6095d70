#pragma once

// The port and the settings as every window shares them, without a window: the interface
// lines with the two switches that drive them, the port probe and choice, and the
// settings sequences of start, save, load and exit. The program owns one; the windows
// call it and show what it reports.

#include "common/Clock.h"
#include "common/OneShotTimer.h"
#include "editor/ComNames.h"
#include "editor/ConfigEditor.h"
#include "editor/Effects.h"
#include "editor/SettingsLines.h"
#include "language/Texts.h"
#include "link/PortFailureCause.h"
#include "link/PortSetup.h"
#include "link/interface/PlatformDevice.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

namespace zmt {

namespace link {
class TSpComPort;
}

// A check box of the main window as the line control keeps it: checked, and usable (each
// switch is locked for a moment after a change so that the interface lines settle).
struct SwitchState {
    bool checked = true;
    bool enabled = true;
    bool operator==(const SwitchState&) const = default;
};

struct PortControllerContext {
    ConfigEditor& editor;
    link::TSpComPort& port;  // RS232
    Clock& clock;
    // Makes the devices of the ports that ProbePorts tries (the same as RS232's).
    link::PlatformDeviceFactory deviceFactory = {};
    QString settingsPath = QStringLiteral("initdig.txt");
    // The device list, the COM bindings and the interface probe of the port assignment.
    link::PortSetup ports = link::WorkingFolderPortSetup();
    // Where the kernel shows why a port did not open.
    link::SystemFolders system = {};
};

class PortController : public QObject {
    Q_OBJECT
  public:
    explicit PortController(PortControllerContext context, QObject* parent = nullptr);

    ConfigEditor& editor() { return context_.editor; }
    SessionState& session() { return context_.editor.session(); }
    link::TSpComPort& port() { return context_.port; }
    const QString& settingsPath() const { return context_.settingsPath; }
    const link::PortSetup& ports() const { return context_.ports; }

    // ---- interface lines ----

    // Opens the port ComPortNumber and drives RTS (signal) and DTR (power). A failure
    // reports two memo lines labelled with `name` (and why, where the user can act on
    // it), unless a device operation runs: that judges its exchange itself.
    void SetPortLines(const QString& name, bool power, bool signal, bool reopen);
    // One line set straight on the port; a failure shows in the next exchange, not here.
    void SetDTR(bool on);
    void SetRTS(bool on);
    // While a device operation window is open, port failures are not reported.
    void SetOperationRunning(bool running) { operationRunning_ = running; }

    const SwitchState& switchpower() const { return power_; }
    const SwitchState& switchsignal() const { return signal_; }
    // The switches' click rules (also run when a loader changes a box).
    void switchpowerClick(bool checked);
    void switchsignalClick(bool checked);
    // The main window became the active window of the program: both lines again.
    void Activate();
    // A device operation window closed: the lines as the switches say.
    void HandBackLines();
    OneShotTimer& powerontimer() { return *powerontimer_; }
    OneShotTimer& Timer2() { return *Timer2_; }
    OneShotTimer& Timer3() { return *Timer3_; }

    // ---- port choice ----

    // Which ports can be opened, COM1 first; the open port counts as available.
    std::array<bool, ComPortCount> ProbePorts();
    void ChoosePort(int number);
    // What COMn opens, in words, for its menu item.
    QString ComTargetText(int number) const;
    // Closes the port so that a search for the interface can open its device; the meter
    // loses its supply until the next SetPortLines.
    void ReleasePort();
    // The first-start window's choice: the port and the first-start defaults.
    void FirstStartChoice(int number);

    // ---- settings ----

    // Restores the settings file at start. True when there is none to restore (or it is
    // refused, which is reported): the first-start choice must follow.
    bool RestoreAtStart();
    // The configuration to `path` and to the settings file; the path shows in FileInfo.
    SettingsResult Save(const QString& path);
    // A configuration file: everything or nothing of it.
    SettingsResult Load(const QString& path);
    // The settings file at exit (a failure only beeps), then the port closes.
    void Exit();
    // The settings lines last built or read (the main window's hidden list).
    const QStringList& dateimem() const { return dateimem_; }

    // ---- the configuration shown by the main window ----

    // Runs an operation on the editor and reports it, also when it raised (the exception
    // then goes on to the caller).
    void EditorStep(const std::function<void(Effects&)>& operation);
    // UpdateRangeInfo, reported.
    void UpdateRangeInfo();

  signals:
    // The model, the switches or the port changed; `effects` holds the memo lines and
    // beeps to show with it.
    void changed(const zmt::Effects& effects);

  private:
    void ReportPortFailure(const QString& name, const link::PortFailureCause& cause, Effects& fx);
    void HintAtUnassignedAdapter(int number);
    bool PortAvailable(int number);
    void SelectPort(int number);
    void ReportBadSettingsFile(const SettingsResult& refused, int languageIndex);
    void powerontimerTimer();
    void Report(const Effects& fx) { emit changed(fx); }
    void StartLineLocks();

    PortControllerContext context_;
    Texts text_{context_.editor.wording()};
    QString text(int row) const { return text_(row); }
    SwitchState power_;
    SwitchState signal_;
    bool operationRunning_ = false;
    QStringList dateimem_;
    OneShotTimer* Timer2_;
    OneShotTimer* powerontimer_;
    OneShotTimer* Timer3_;
};

}  // namespace zmt
