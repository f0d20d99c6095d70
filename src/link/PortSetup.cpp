#include "link/PortSetup.h"

#include "link/FixedPortCatalog.h"
#include "link/LinkFolderMap.h"
#include "link/SystemPortCatalog.h"

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
