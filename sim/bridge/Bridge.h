#pragma once

#include "sim/bridge/MeterLink.h"

#include <ostream>
#include <string>

namespace zmt::sim::bridge {

// The host's side of the real-driver guest, in one folder: the sockets ftdi.sock and
// uart.sock that QEMU's serial devices connect to, console.sock for the guest's console,
// and the FIFO trace.fifo that QEMU writes its trace log into. The guest's console goes
// to `console`; every line change, byte and case mark goes to `timeline`.
class Bridge {
  public:
    Bridge(const std::string& dir, std::ostream& timeline, std::ostream& console);
    Bridge(const Bridge&) = delete;
    Bridge& operator=(const Bridge&) = delete;
    ~Bridge();

    bool open(std::string& error);
    // Serves until `stopFd` becomes readable or the guest's console goes away.
    void run(int stopFd);

  private:
    void write(const Record& record);
    void takeTrace(double nowMs);
    void takeConsole(double nowMs);
    void consoleLine(const std::string& line, double nowMs);
    int pollTimeoutMs(double nowMs) const;
    MeterLink& linkOf(Device device) { return device == Device::Ftdi ? ftdi_ : uart_; }

    std::string dir_;
    std::ostream& timeline_;
    std::ostream& console_;
    MeterLink ftdi_;
    MeterLink uart_;
    MeterLink consoleLink_;  // only its socket: the console has no meter
    int trace_ = -1;
    std::string traceText_;
    std::string consoleText_;
    bool consoleSeen_ = false;
};

}  // namespace zmt::sim::bridge
