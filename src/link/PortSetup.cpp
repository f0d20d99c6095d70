#include "PortSetup.h"

#include "FixedPortCatalog.h"
#include "LinkFolderMap.h"
#include "SystemPortCatalog.h"

namespace zmt::link {

PortSetup MachinePortSetup() {
    PortSetup setup = WorkingFolderPortSetup();
    setup.catalog = std::make_shared<SystemPortCatalog>();
    return setup;
}

PortSetup WorkingFolderPortSetup() {
    return {std::make_shared<FixedPortCatalog>(), std::make_shared<LinkFolderMap>(),
            TerminalProbePorts()};
}

}  // namespace zmt::link
