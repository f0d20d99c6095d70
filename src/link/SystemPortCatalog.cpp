#include "link/SystemPortCatalog.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>

#include <algorithm>

namespace zmt::link {

namespace {

const QString kByIdFolder = QStringLiteral("/dev/serial/by-id");

PortEntry EntryOf(const QSerialPortInfo& info) {
    PortEntry entry;
    entry.devicePath = info.systemLocation();
    entry.description = info.description();
    entry.manufacturer = info.manufacturer();
    entry.serialNumber = info.serialNumber();
    if (info.hasVendorIdentifier()) entry.vendorId = info.vendorIdentifier();
    if (info.hasProductIdentifier()) entry.productId = info.productIdentifier();
    return entry;
}

// The first link of `folder` (in name order) that leads to `device`.
QString StableNameOf(const QString& device, const QDir& folder) {
    const QString target = QFileInfo(device).canonicalFilePath();
    if (target.isEmpty()) return {};
    for (const QFileInfo& link : folder.entryInfoList(QDir::System | QDir::Files, QDir::Name))
        if (link.isSymLink() && link.canonicalFilePath() == target) return link.filePath();
    return {};
}

// "ttyUSB10" sorts after "ttyUSB2": the name without its trailing number first, then the number.
bool DeviceNameBefore(const PortEntry& a, const PortEntry& b) {
    static const QRegularExpression trailingNumber(QStringLiteral("^(.*?)(\\d*)$"));
    const auto left = trailingNumber.match(a.devicePath);
    const auto right = trailingNumber.match(b.devicePath);
    if (left.captured(1) != right.captured(1)) return left.captured(1) < right.captured(1);
    return left.captured(2).toLongLong() < right.captured(2).toLongLong();
}

}  // namespace

void CompletePortEntries(std::vector<PortEntry>& entries, const QString& byIdFolder,
                         const DeviceHolders& holders) {
    const QDir folder(byIdFolder);
    for (PortEntry& entry : entries) {
        entry.stablePath = StableNameOf(entry.devicePath, folder);
        entry.busy = holders.heldByOther(entry.devicePath);
    }
    std::sort(entries.begin(), entries.end(), DeviceNameBefore);
}

std::vector<PortEntry> SystemPortCatalog::list() {
    std::vector<PortEntry> entries;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        entries.push_back(EntryOf(info));
    CompletePortEntries(entries, kByIdFolder, DeviceHolders());
    return entries;
}

}  // namespace zmt::link
