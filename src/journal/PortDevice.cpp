#include "journal/PortDevice.h"

#include "link/ComTarget.h"

#include <QDir>
#include <QFileInfo>

namespace zmt::journal {

namespace {

QString StableName(const QString& device, const std::vector<link::PortEntry>& catalog) {
    if (const link::PortEntry* entry = link::FindPortEntry(catalog, device))
        if (!entry->stablePath.isEmpty()) return entry->stablePath;
    return device;
}

}  // namespace

QString DeviceOfCom(int number, const std::vector<link::PortEntry>& catalog) {
    const link::ComTarget target = link::ResolveComTarget(number, QDir::currentPath(), catalog);
    return StableName(target.shownPath(), catalog);
}

QString DeviceOfCom(int number, const link::ComPortMap& comPorts,
                    const std::vector<link::PortEntry>& catalog) {
    return StableName(comPorts.target(number, catalog).shownPath(), catalog);
}

QString DeviceOfPath(const QString& path, const std::vector<link::PortEntry>& catalog) {
    const QString device = QFileInfo(path).canonicalFilePath();
    return StableName(device.isEmpty() ? path : device, catalog);
}

}  // namespace zmt::journal
