#pragma once

#include "link/ComPortMap.h"
#include "link/PortCatalog.h"

#include <QString>

#include <vector>

namespace zmt::journal {

// What the journal names as the device behind a port: the stable by-id name where the
// catalog has one, else the device the port leads to, else the path it is opened by.
// COMn resolves as the port opens it (the comN links of the working folder).
QString DeviceOfCom(int number, const std::vector<link::PortEntry>& catalog);
// The same through the program's own map of what COMn reaches (the demo's simulated ones).
QString DeviceOfCom(int number, const link::ComPortMap& comPorts,
                    const std::vector<link::PortEntry>& catalog);
QString DeviceOfPath(const QString& path, const std::vector<link::PortEntry>& catalog);

}  // namespace zmt::journal
