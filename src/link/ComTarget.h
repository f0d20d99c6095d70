#pragma once

#include "link/PortCatalog.h"

#include <QString>

#include <vector>

namespace zmt::link {

// How a COM number is bound in the working folder.
enum class ComTargetKind {
    Standard,  // no comN: the standard device /dev/ttyS<n-1>
    Link,      // comN is a symbolic link (the binding the program makes)
    OwnFile,   // comN is a file or folder of the user's own, never replaced
};

// What a COM number reaches.
struct ComTarget {
    int number = 0;
    ComTargetKind kind = ComTargetKind::Standard;
    QString path;    // the link's target as written, the standard device, or comN itself
    QString device;  // the file it ends at with every link followed; empty when missing
    bool exists = false;
    // A character device with a serial port behind it (the catalog lists it, or the
    // kernel has a device for it: a /dev/ttyS node without a UART has none).
    bool hardware = false;
    QString description;  // the catalog's, empty when the catalog does not list it

    // What to show for it: the device where it leads to one, else the path.
    const QString& shownPath() const { return device.isEmpty() ? path : device; }
};

// COMn as the port opens it (ComPortPathIn), read without opening anything. `ttyFolder`
// is where the kernel lists its terminals.
ComTarget ResolveComTarget(int number, const QString& folder, const std::vector<PortEntry>& catalog,
                           const QString& ttyFolder = QStringLiteral("/sys/class/tty"));

}  // namespace zmt::link
