#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace zmt::link {

// One serial device of the machine as the port list shows it.
struct PortEntry {
    QString devicePath;  // /dev/ttyUSB0
    // The name udev keeps for the adapter whatever socket it is plugged into
    // (/dev/serial/by-id/usb-...); empty when there is none.
    QString stablePath;
    QString description;
    QString manufacturer;
    QString serialNumber;
    std::optional<std::uint16_t> vendorId;
    std::optional<std::uint16_t> productId;
    bool busy = false;  // another program holds it open

    // What a binding links to: the stable name where there is one, so that a binding
    // survives a replug into another socket.
    const QString& bindPath() const { return stablePath.isEmpty() ? devicePath : stablePath; }
};

// The serial devices of the machine, listed anew at every call (adapters come and go).
class PortCatalog {
  public:
    virtual ~PortCatalog() = default;
    virtual std::vector<PortEntry> list() = 0;
};

// The entry of `catalog` for the device file `path` (links followed on both sides), or null.
const PortEntry* FindPortEntry(const std::vector<PortEntry>& catalog, const QString& path);

}  // namespace zmt::link
