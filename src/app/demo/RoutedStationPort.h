#pragma once

#include "sim/SimulatedPort.h"

#include <array>
#include <atomic>
#include <memory>

namespace zmt::demo {

// Which station each COM number of the demo opens (index 1..4); each its own at first.
using StationRoutes = std::array<std::atomic<int>, 5>;

// A simulated port that opens the station its COM number is routed to, as a comN link
// leads a real port to another device.
class RoutedStationPort : public sim::SimulatedPort {
  public:
    RoutedStationPort(std::shared_ptr<const sim::SimulatedBench> bench,
                      std::shared_ptr<const StationRoutes> routes)
        : SimulatedPort(std::move(bench)), routes_(std::move(routes)) {}

    link::OpenResult open(int number) override {
        const bool routed = number > 0 && number < static_cast<int>(routes_->size());
        return SimulatedPort::open(routed ? (*routes_)[number].load() : number);
    }

  private:
    std::shared_ptr<const StationRoutes> routes_;
};

}  // namespace zmt::demo
