#pragma once

#include "cli/CliOptions.h"
#include "cli/Console.h"
#include "common/Clock.h"
#include "link/InterfaceProbe.h"
#include "link/PortCatalog.h"
#include "link/PortFailureCause.h"
#include "link/interface/PlatformDevice.h"

#include <functional>
#include <memory>

namespace zmt::link {
class TSpComPort;
}

namespace zmt::cli {

class ToolJournal;

// What a run of the tool works with: its console, the clock its timers run on, how the
// program's events are run until something holds, and the devices behind COM1..COM4.
struct CliEnvironment {
    Console& console;
    Clock& clock;
    // Runs the program's events until `done` holds; false when nothing more can happen.
    std::function<bool(const std::function<bool()>&)> runUntil;
    // The devices behind COMn; empty: the machine's serial terminals (./comN, /dev/ttyS*).
    link::PlatformDeviceFactory comDevices = {};
    // Told of the port of each run (a test waits for what is written to reach the wire).
    std::function<void(link::TSpComPort*)> portInUse = {};
    // The machine's serial devices, and the ports that probe one for the interface; empty:
    // the system's listing and its terminal devices.
    std::shared_ptr<link::PortCatalog> catalog = {};
    link::ProbePortFactory probePorts = {};
    // Told of the interface probe while one runs, as of the port.
    std::function<void(link::InterfaceProbe*)> probeInUse = {};
    // Where the kernel shows why a port did not open (a fake tree in tests).
    link::SystemFolders system = {};
    // The journal of the run's operations, kept until the run's exit status is known.
    std::shared_ptr<ToolJournal> journal = {};
};

// Runs one command and returns the tool's exit status.
int RunCli(const CliOptions& options, CliEnvironment& environment);

}  // namespace zmt::cli
