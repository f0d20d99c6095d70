#include "link/ComTarget.h"

#include "link/ComBindingFile.h"
#include "link/ComPortNames.h"

#include <QDir>
#include <QFileInfo>

namespace zmt::link {

// On Windows COMn opens the port its binding file names, else the port of its own number;
// a comN that names no port is the user's own file. `ttyFolder` has no meaning here.
ComTarget ResolveComTarget(int number, const QString& folder, const std::vector<PortEntry>& catalog,
                           const QString& /*ttyFolder*/) {
    ComTarget target;
    target.number = number;
    const QString comFile = QDir(folder).filePath(QString::fromStdString(ComLinkName(number)));
    const auto bound = BoundPortName(comFile.toStdString());
    if (bound) {
        target.kind = ComTargetKind::Link;
        target.path = QString::fromStdString(*bound);
    } else if (QFileInfo::exists(comFile)) {
        target.kind = ComTargetKind::OwnFile;
        target.path = comFile;
    } else {
        target.path = QString::fromStdString(StandardComDevice(number));
    }
    const QString port = QString::fromStdString(bound.value_or(StandardComDevice(number)));
    const PortEntry* entry = FindPortEntry(catalog, port);
    target.exists = entry != nullptr;
    target.device = target.exists ? port : QString();
    target.hardware = target.exists;
    if (entry) target.description = entry->description;
    return target;
}

}  // namespace zmt::link
