#pragma once

#include "app/demo/RoutedStationPort.h"
#include "link/interface/PlatformDevice.h"
#include "sim/SimulatedBench.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace zmt::demo {

inline constexpr int FirstCom = 1;
inline constexpr int LastCom = 4;

// What the technician sets on the bench: the meter's type, the signal at its input and
// the meter's own errors. One meter travels with the chosen port, so every station gets
// the same settings.
struct BenchKnobs {
    int meterType = 1;  // index into the device types; 1 = 20 mA
    double input = 0;   // in the unit of the meter's type
    double offsetError = 0;
    double gainError = 1;
    bool meterPlugged = true;  // the meter sits on the interface
};

// One look at the station the program works with.
struct MeterSnapshot {
    int comNumber = FirstCom;
    bool attached = false;  // the program holds this port open
    bool plugged = true;    // a meter sits on the interface
    bool dtr = false;
    bool rts = false;
    bool powered = false;
    bool ready = false;
    std::optional<std::string> displayText;  // empty while the meter is off or starting
    sim::ContactState contact = sim::ContactState::Open;
    double input = 0;                // what reaches the meter's input
    bool calibrationSignal = false;  // RTS puts the full-scale signal there instead
    int powerUps = 0;
    int imagesStored = 0;

    bool operator==(const MeterSnapshot&) const = default;
};

// A simulated programming interface with a meter on each of COM1..COM4, the knobs that
// act on all of them and the observation of the one the program has open.
class DemoBench {
  public:
    // The meters run on `clock` (the machine's in the demo, a virtual one in tests).
    explicit DemoBench(sim::LineTiming timing = {}, Clock& clock = SteadyClock());
    Clock& clock() { return clock_; }

    // The program's ports: COMn opens the station it is routed to.
    link::PlatformDeviceFactory deviceFactory() const;
    // Ports that open station n itself, whatever COMn is routed to.
    link::PlatformDeviceFactory stationFactory() const;
    std::shared_ptr<sim::SimulatedStation> station(int comNumber) const;
    int route(int comNumber) const { return (*routes_)[comNumber].load(); }
    void setRoute(int comNumber, int station) { (*routes_)[comNumber] = station; }

    void setMeterType(int index);
    void setInput(double input);
    void setOffsetError(double counts);
    void setGainError(double factor);
    // Takes the meter off the interface or plugs it in again; the interface stays.
    void setMeterPlugged(bool plugged);
    const BenchKnobs& knobs() const { return knobs_; }
    double fullScale() const;
    // The unit of the meter's type: "mA" or "V".
    QString unit() const;

    // Follows the station that a port of the program has open; while none is open, the
    // last one stays in view.
    MeterSnapshot observe();

  private:
    void applyAnalog();
    void applyToAll(const std::function<void(sim::SimulatedStation&)>& apply);
    int followedStation();

    Clock& clock_;
    std::shared_ptr<sim::SimulatedBench> bench_;
    std::shared_ptr<StationRoutes> routes_ = std::make_shared<StationRoutes>();
    BenchKnobs knobs_;
    int followed_ = FirstCom;
};

}  // namespace zmt::demo
