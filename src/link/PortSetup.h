#pragma once

#include "link/ComPortMap.h"
#include "link/InterfaceProbe.h"
#include "link/PortCatalog.h"

#include <memory>

namespace zmt::link {

// Where the port assignment takes its devices from: the device list, the COM bindings and
// the ports that probe for the interface.
struct PortSetup {
    std::shared_ptr<PortCatalog> catalog;
    std::shared_ptr<ComPortMap> comPorts;
    ProbePortFactory probePorts;
};

// This machine: its serial port listing, the comN links of the working folder, probes on
// its terminal devices.
PortSetup MachinePortSetup();
// The same with an empty device list: the system listing opens the machine's own
// /dev/ttyS* devices to look for a UART, which nothing but the program itself may do.
PortSetup WorkingFolderPortSetup();

}  // namespace zmt::link
