// zmt4824-meter-sim: the simulated programming interface and meter on a pseudo-terminal.

#include "sim/tool/PseudoTerminalServer.h"
#include "sim/tool/ToolOptions.h"

#include <sys/signalfd.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <iostream>
#include <string>
#include <vector>

namespace {

// The signals arrive as readable descriptors, so the serving loop needs no handler.
int SignalDescriptor(std::initializer_list<int> signals) {
    sigset_t set;
    sigemptyset(&set);
    for (const int number : signals) sigaddset(&set, number);
    if (sigprocmask(SIG_BLOCK, &set, nullptr) != 0) return -1;
    return signalfd(-1, &set, SFD_CLOEXEC);
}

// Standard input carries the plug commands, unless it is a terminal that the tool runs in
// the background of: reading there would stop the tool (SIGTTIN).
int CommandInput() {
    if (::isatty(STDIN_FILENO) && ::tcgetpgrp(STDIN_FILENO) != ::getpgrp()) return -1;
    return STDIN_FILENO;
}

void Say(const std::string& line) {
    std::cout << line << std::endl;
}

int Serve(const zmt::sim::ToolOptions& options) {
    const int stopFd = SignalDescriptor({SIGINT, SIGTERM, SIGHUP});
    const int plugFd = SignalDescriptor({SIGUSR1});
    if (stopFd < 0 || plugFd < 0) return std::perror("signalfd"), 1;
    zmt::sim::InterfaceAndMeter line;
    const auto now = zmt::sim::SimClock::now();
    line.setAnalog(options.analog, now);
    line.setInput(options.input, now);
    zmt::sim::PseudoTerminalServer server(line);
    const std::string link =
        (std::filesystem::path(options.dir) / ("com" + std::to_string(options.port))).string();
    std::string error;
    if (!server.open(error) || !server.createLink(link, error)) {
        std::cerr << "zmt4824-meter-sim: " << error << std::endl;
        return 1;
    }
    Say("modem lines cannot cross a pseudo-terminal: the meter counts as always powered "
        "and the calibration signal as off");
    server.serve(
        {stopFd, plugFd, CommandInput()},
        [&](const std::string& path) {
            Say("COM" + std::to_string(options.port) + ": " + link + " -> " + path + " ready");
        },
        [](const std::string& line) {
            Say(line.starts_with("stored image") ? line + " (in use after the next power-up)"
                                                 : line);
        });
    server.removeLink();
    Say("stopped");
    ::close(stopFd);
    ::close(plugFd);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto parsed = zmt::sim::ParseToolOptions(args);
    if (!parsed.ok() || parsed.options.help) {
        if (!parsed.ok()) std::cerr << "zmt4824-meter-sim: " << parsed.error << "\n";
        std::cerr << zmt::sim::ToolUsage();
        return parsed.ok() ? 0 : 2;
    }
    return Serve(parsed.options);
}
