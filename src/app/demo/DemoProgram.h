#pragma once

#include "app/ZMT6v01.h"
#include "app/demo/DemoBench.h"

#include <QString>

#include <memory>

namespace zmt {
class FileDialogs;
class PortAssignDialogs;
}  // namespace zmt

namespace zmt::demo {

class VirtualMeterWindow;

struct DemoOptions {
    sim::LineTiming timing = {};
    // The save and load questions; null: the real file dialogs.
    FileDialogs* dialogs = nullptr;
    QString settingsPath = QStringLiteral("initdig.txt");
    // Where the program and the meters take their time from; null: the machine's clock.
    Clock* clock = nullptr;
    // The port assignment's questions; null: message boxes.
    PortAssignDialogs* portDialogs = nullptr;
};

// The program exactly as it starts on a PC, with the simulated interface and meter behind
// every COM port, and the virtual meter window beside the main window.
class DemoProgram {
  public:
    explicit DemoProgram(DemoOptions options = {});
    ~DemoProgram();

    DemoProgram(const DemoProgram&) = delete;
    DemoProgram& operator=(const DemoProgram&) = delete;

    // Shows the virtual meter, then the main window, which must be the one that is active:
    // its first activation opens the port and powers the meter.
    void Show();
    int Run();

    DemoBench& bench() { return *bench_; }
    ZMT6v01& program() { return *program_; }
    VirtualMeterWindow& meterWindow() { return *meterWindow_; }

  private:
    void placeMeterWindow();

    std::unique_ptr<DemoBench> bench_;
    std::unique_ptr<ZMT6v01> program_;
    std::unique_ptr<VirtualMeterWindow> meterWindow_;
};

}  // namespace zmt::demo
