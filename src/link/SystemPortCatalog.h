#pragma once

#include "link/DeviceHolders.h"
#include "link/PortCatalog.h"

namespace zmt::link {

// The machine's serial devices as the system's serial port listing knows them (USB
// adapters, on-board ports with a UART behind them), each with its stable udev name and
// whether another program holds it.
class SystemPortCatalog : public PortCatalog {
  public:
    std::vector<PortEntry> list() override;
};

// Completes raw entries: the stable name from `byIdFolder` whose link leads to the device,
// the busy flag from `holders`, and the order by device name (ttyUSB2 before ttyUSB10).
void CompletePortEntries(std::vector<PortEntry>& entries, const QString& byIdFolder,
                         const DeviceHolders& holders);

}  // namespace zmt::link
