// zmt4824-hw-bridge: the host's side of the real-driver check.
//   zmt4824-hw-bridge serve DIR   the simulated interfaces and meters behind QEMU's serial
//                                 devices, until SIGTERM or the guest's console closes
//   zmt4824-hw-bridge check DIR   checks DIR/timeline.txt and DIR/console.log

#include "sim/bridge/Bridge.h"
#include "sim/bridge/CaseChecks.h"

#include <sys/signalfd.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

using namespace zmt::sim::bridge;

int StopSignalDescriptor() {
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    if (sigprocmask(SIG_BLOCK, &stops, nullptr) != 0) return -1;
    return signalfd(-1, &stops, SFD_CLOEXEC);
}

int Serve(const std::string& dir) {
    const int stopFd = StopSignalDescriptor();
    std::ofstream timeline(dir + "/timeline.txt");
    std::ofstream console(dir + "/console.log");
    if (stopFd < 0 || !timeline || !console) {
        std::cerr << "zmt4824-hw-bridge: cannot write into " << dir << "\n";
        return 1;
    }
    Bridge bridge(dir, timeline, console);
    std::string error;
    if (!bridge.open(error)) {
        std::cerr << "zmt4824-hw-bridge: " << error << "\n";
        return 1;
    }
    std::cout << "ready" << std::endl;
    bridge.run(stopFd);
    ::close(stopFd);
    return 0;
}

int Check(const std::string& dir) {
    std::ifstream timeline(dir + "/timeline.txt");
    std::ifstream console(dir + "/console.log");
    if (!timeline || !console) {
        std::cerr << "zmt4824-hw-bridge: no timeline or console log in " << dir << "\n";
        return 1;
    }
    std::ostringstream consoleText;
    consoleText << console.rdbuf();
    const auto cases = SplitIntoCases(ReadRecords(timeline), consoleText.str(), {"ftdi", "uart"});
    return ReportCases(cases, std::cout) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode == "serve") return Serve(argv[2]);
    if (mode == "check") return Check(argv[2]);
    std::cerr << "usage: zmt4824-hw-bridge serve|check DIR\n";
    return 2;
}
