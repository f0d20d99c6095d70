#pragma once

#include "link/ComPortMap.h"
#include "link/PortSetup.h"

namespace zmt::demo {

class DemoBench;

// The demo's COM bindings: every COM number reaches one of the bench's simulated
// interfaces ("sim1" to "sim4"), its own at first; binding routes it to another one.
class DemoComPortMap : public link::ComPortMap {
  public:
    explicit DemoComPortMap(DemoBench& bench) : bench_(bench) {}

    link::ComTarget target(int number, const std::vector<link::PortEntry>& catalog) const override;
    QString standardDevice(int number) const override;
    std::vector<link::BindProblem> bind(const std::vector<link::BindRequest>& requests) override;

  private:
    DemoBench& bench_;
};

// The port setup of the demo: the four simulated interfaces as the device list, the map
// above, and probe ports that open a simulated interface by its name.
link::PortSetup DemoPortSetup(DemoBench& bench);

}  // namespace zmt::demo
