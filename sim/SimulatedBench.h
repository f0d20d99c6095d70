#pragma once

#include "link/interface/PlatformDevice.h"
#include "sim/SimulatedStation.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace zmt::sim {

// The COM numbers that have a simulated interface and meter. A test or the demo sets the
// stations up, hands deviceFactory() to the port component, and keeps the station handles
// to turn the knobs and read the gauges.
class SimulatedBench {
  public:
    // The stations run on `clock` (the machine's by default).
    explicit SimulatedBench(Clock& clock = SteadyClock()) : clock_(clock) {}

    // Adds (or replaces) the station on `comNumber`.
    std::shared_ptr<SimulatedStation> addStation(int comNumber, LineTiming timing = {},
                                                 ImageWords stored = FactoryImage());
    // The station on `comNumber`, or null.
    std::shared_ptr<SimulatedStation> station(int comNumber) const;

    // Virtual time, over all stations: see SimulatedStation.
    bool Quiescent() const;
    std::optional<SimTime> NextEventAt() const;
    // Given to every station, also those added later.
    void SetActivityListener(std::function<void()> listener);

  private:
    std::vector<std::shared_ptr<SimulatedStation>> all() const;

    Clock& clock_;
    mutable std::mutex mutex_;
    std::map<int, std::shared_ptr<SimulatedStation>> stations_;
    std::function<void()> activityListener_;
};

}  // namespace zmt::sim
