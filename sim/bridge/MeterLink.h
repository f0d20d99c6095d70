#pragma once

#include "sim/InterfaceAndMeter.h"
#include "sim/bridge/Timeline.h"
#include "sim/bridge/TraceEvent.h"

#include <functional>
#include <optional>
#include <string>

namespace zmt::sim::bridge {

using RecordSink = std::function<void(Record)>;

// One emulated serial device's far end: the connection QEMU makes to the device's socket,
// with the simulated interface and meter behind it. Bytes come over the connection, the
// modem lines come from the trace; everything is recorded as it happens.
class MeterLink {
  public:
    MeterLink(std::string name, RecordSink record) : name_(std::move(name)), record_(record) {}
    ~MeterLink();
    MeterLink(const MeterLink&) = delete;
    MeterLink& operator=(const MeterLink&) = delete;

    const std::string& name() const { return name_; }
    bool listen(const std::string& path, std::string& error);
    int listenFd() const { return listen_; }
    int connectionFd() const { return connection_; }
    void accept();
    void disconnect();

    void takeGuestBytes(double nowMs);
    void applyLines(const TraceEvent& event, double nowMs);
    // Plays the wire up to now and passes on what the interface sent back.
    void pump(double nowMs);
    std::optional<double> nextEventMs() const;

    // The adapter is pulled once the guest has sent `bytes` more bytes.
    void unplugAfter(int bytes) { unplugAfter_ = bytes; }

  private:
    void record(double ms, const std::string& kind, std::vector<long> values = {});
    void unplug(double nowMs);
    static SimTime At(double ms);

    std::string name_;
    RecordSink record_;
    InterfaceAndMeter line_;
    int listen_ = -1;
    int connection_ = -1;
    int imagesRecorded_ = -1;  // the image the meter starts with is recorded too
    std::optional<int> unplugAfter_;
    bool unplugged_ = false;
};

// Milliseconds on the bridge's one clock since it started.
double BridgeNowMs();

}  // namespace zmt::sim::bridge
