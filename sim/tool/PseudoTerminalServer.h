#pragma once

#include "sim/InterfaceAndMeter.h"

#include <functional>
#include <string>

namespace zmt::sim {

// Serves a simulated line on the master side of a pseudo-terminal, so that a program
// opens the slave side like a serial port. Modem lines cannot cross a pseudo-terminal:
// the meter is powered once when serving starts and the signal stays off.
class PseudoTerminalServer {
  public:
    using Report = std::function<void(const std::string&)>;

    explicit PseudoTerminalServer(InterfaceAndMeter& line) : line_(line) {}
    ~PseudoTerminalServer();
    PseudoTerminalServer(const PseudoTerminalServer&) = delete;
    PseudoTerminalServer& operator=(const PseudoTerminalServer&) = delete;

    // Opens the pair in raw mode; false with `error` set when the system refuses.
    bool open(std::string& error);
    const std::string& slavePath() const { return slavePath_; }
    // Makes `linkPath` a symbolic link to the slave; an older link there is replaced.
    bool createLink(const std::string& linkPath, std::string& error);
    // Removes the link if it still points at this server's slave.
    void removeLink();

    // Where the commands of a serving run come from; -1: nowhere.
    struct Control {
        int stopFd = -1;        // readable: serving ends
        int plugSignalFd = -1;  // a signal descriptor: each signal takes the meter off or
                                // plugs it in again
        int inputFd = -1;       // lines "unplug" and "plug"
    };

    // Powers the meter and serves until the stop descriptor becomes readable. `onReady` is
    // called once the meter has started; `report` gets a line for every image the meter
    // stores and for every change of the meter's place.
    void serve(const Control& control, const Report& onReady, const Report& report);

  private:
    void takeSignal(int fd, const Report& report);
    // False once the input has ended.
    bool takeInput(int fd, const Report& report);
    void plug(bool plugged, const Report& report);
    void forwardAnswers();
    void takeHostBytes(SimTime now);
    int pollTimeoutMs(SimTime now, bool waitingForReady) const;

    InterfaceAndMeter& line_;
    int master_ = -1;
    int slave_ = -1;  // held open so the master never sees a hang-up between host opens
    std::string slavePath_;
    std::string linkPath_;
    std::string input_;  // the start of a command line not ended yet
};

// One line of the sixteen words, for the tool's report.
std::string DescribeImage(const ImageWords& image);

}  // namespace zmt::sim
