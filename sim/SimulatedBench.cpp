#include "sim/SimulatedBench.h"

namespace zmt::sim {

std::shared_ptr<SimulatedStation> SimulatedBench::addStation(int comNumber, LineTiming timing,
                                                             ImageWords stored) {
    auto station = std::make_shared<SimulatedStation>(comNumber, timing, stored, clock_);
    std::lock_guard lock(mutex_);
    if (activityListener_) station->SetActivityListener(activityListener_);
    stations_[comNumber] = station;
    return station;
}

std::vector<std::shared_ptr<SimulatedStation>> SimulatedBench::all() const {
    std::lock_guard lock(mutex_);
    std::vector<std::shared_ptr<SimulatedStation>> stations;
    for (const auto& [number, station] : stations_) stations.push_back(station);
    return stations;
}

bool SimulatedBench::Quiescent() const {
    for (const auto& station : all())
        if (!station->Quiescent()) return false;
    return true;
}

std::optional<SimTime> SimulatedBench::NextEventAt() const {
    std::optional<SimTime> next;
    for (const auto& station : all()) {
        const auto at = station->NextEventAt();
        if (at && (!next || *at < *next)) next = at;
    }
    return next;
}

void SimulatedBench::SetActivityListener(std::function<void()> listener) {
    std::lock_guard lock(mutex_);
    activityListener_ = listener;
    for (const auto& [number, station] : stations_) station->SetActivityListener(listener);
}

std::shared_ptr<SimulatedStation> SimulatedBench::station(int comNumber) const {
    std::lock_guard lock(mutex_);
    const auto found = stations_.find(comNumber);
    return found == stations_.end() ? nullptr : found->second;
}

}  // namespace zmt::sim
