#include "link/LinkFolderMap.h"

#include "link/ComPortNames.h"

namespace zmt::link {

ComTarget LinkFolderMap::target(int number, const std::vector<PortEntry>& catalog) const {
    return ResolveComTarget(number, folder_, catalog);
}

QString LinkFolderMap::standardDevice(int number) const {
    return QString::fromStdString(StandardComDevice(number));
}

std::vector<BindProblem> LinkFolderMap::bind(const std::vector<BindRequest>& requests) {
    return BindComPorts(folder_, requests);
}

}  // namespace zmt::link
