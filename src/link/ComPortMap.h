#pragma once

#include "link/ComLinkBinding.h"
#include "link/ComTarget.h"
#include "link/PortCatalog.h"

#include <QString>

#include <vector>

namespace zmt::link {

// What the COM numbers reach and how they are bound again: the comN links of the working
// folder on a real machine, the simulated interfaces in the demo.
class ComPortMap {
  public:
    virtual ~ComPortMap() = default;
    // What COMn reaches; `catalog` gives the descriptions.
    virtual ComTarget target(int number, const std::vector<PortEntry>& catalog) const = 0;
    // The device COMn reaches when it is not bound.
    virtual QString standardDevice(int number) const = 0;
    // See BindComPorts: all requests or none.
    virtual std::vector<BindProblem> bind(const std::vector<BindRequest>& requests) = 0;
};

}  // namespace zmt::link
