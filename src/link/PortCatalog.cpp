#include "link/PortCatalog.h"

#include <QFileInfo>

namespace zmt::link {

namespace {

// Where a path ends up once every link is followed; a path that leads nowhere stays as it is.
QString DeviceBehind(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

}  // namespace

const PortEntry* FindPortEntry(const std::vector<PortEntry>& catalog, const QString& path) {
    const QString device = DeviceBehind(path);
    for (const PortEntry& entry : catalog)
        if (DeviceBehind(entry.devicePath) == device) return &entry;
    return nullptr;
}

}  // namespace zmt::link
