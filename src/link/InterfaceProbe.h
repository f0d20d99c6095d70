#pragma once

#include "common/Clock.h"
#include "link/PortCatalog.h"
#include "link/interface/PlatformDevice.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace zmt {
class OneShotTimer;
}

namespace zmt::link {

class TSpComPort;

enum class ProbeOutcome {
    Found,         // the command byte came back: the programming interface is there
    NoInterface,   // silence, or other bytes than the echo
    Busy,          // another program holds the device; it was not touched
    Vanished,      // the device is gone (unplugged since it was listed)
    NoPermission,  // the user may not open it (not in the group dialout)
    NotSerial,     // a file, a folder or a device without terminal settings
};

struct ProbeResult {
    PortEntry entry;
    ProbeOutcome outcome = ProbeOutcome::NoInterface;
    // Why the device was not opened (a busy one counts as Busy), so that the cause can be
    // told; None when it was.
    OpenFailure failure = OpenFailure::None;
};

// Makes the closed port component that opens one listed device.
using ProbePortFactory = std::function<std::unique_ptr<TSpComPort>(const QString& devicePath)>;

// A port component set up as the transfer window's (9600 bit/s, 8N1, DTR and RTS low) over
// `factory`, numbered `number`.
std::unique_ptr<TSpComPort> MakeProbePort(PlatformDeviceFactory factory, int number);
// Probe ports on the machine's terminal devices, each opening the device path it is given.
ProbePortFactory TerminalProbePorts();

// Looks for the programming interface on a list of devices, one device after the other:
// a device that another program holds is only reported; every other one is opened
// exclusively with DTR and RTS low (the meter stays unpowered), purged, given 50 ms of
// quiet, sent the command byte 0xA6 and given 300 ms for the interface's echo, then closed.
// Everything runs in steps of the event loop and on `clock`, so a window stays responsive
// throughout, and a cancel leaves every port closed and every line low.
class InterfaceProbe : public QObject {
    Q_OBJECT
  public:
    static constexpr std::uint8_t CommandByte = 0xA6;
    static constexpr int EchoWaitMs = 300;
    // The line must be quiet this long before the command byte goes out; a device that
    // breaks the silence this many times over is no interface.
    static constexpr int QuietMs = 50;
    static constexpr int QuietWaits = 6;

    InterfaceProbe(ProbePortFactory ports, Clock& clock, QObject* parent = nullptr);
    ~InterfaceProbe() override;

    // Starts over with `devices` (a run under way is cancelled first).
    void start(std::vector<PortEntry> devices);
    void cancel();
    bool running() const { return running_; }
    // The devices of the run under way or last run.
    const std::vector<PortEntry>& devices() const { return devices_; }
    const std::vector<ProbeResult>& results() const { return results_; }
    // The devices on which the interface answered, in the order probed.
    std::vector<PortEntry> found() const;
    // No written byte waits to be handed to the device (a virtual clock waits for that).
    bool settled() const;
    // A device is open and the probe waits for quiet before the command byte.
    bool awaitingQuiet() const;

  signals:
    // Device `index` (from 0) of `count` is probed next.
    void probing(int index, int count);
    void probed(const zmt::link::ProbeResult& result);
    void finished(bool cancelled);

  private:
    void probeNext();
    std::optional<ProbeOutcome> openAndSend(const PortEntry& entry);
    void sendCommand();
    void bytesArrived();
    void keepQuiet();
    void conclude(ProbeOutcome outcome);
    void finishDevice();
    void record(ProbeOutcome outcome);
    void closePort();
    void schedule(void (InterfaceProbe::*step)());

    ProbePortFactory ports_;
    OneShotTimer* quietTimer_;
    OneShotTimer* echoTimer_;
    std::vector<PortEntry> devices_;
    std::vector<ProbeResult> results_;
    std::unique_ptr<TSpComPort> port_;
    std::optional<ProbeOutcome> outcome_;      // of the device under way, once decided
    OpenFailure failure_ = OpenFailure::None;  // of the device under way
    int quietWaits_ = 0;
    std::size_t next_ = 0;
    bool running_ = false;
    std::uint64_t run_ = 0;  // a step queued by a cancelled run does nothing
};

}  // namespace zmt::link
