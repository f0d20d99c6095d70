#include "link/ComTarget.h"

#include "link/ComPortNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>

namespace zmt::link {

namespace {

bool IsCharacterDevice(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISCHR(info.st_mode);
}

// The kernel lists a terminal with hardware with a device behind it; a serial port whose
// UART type reads 0 has none.
bool KernelHasHardware(const QString& device, const QString& ttyFolder) {
    const QDir entry(QDir(ttyFolder).filePath(QFileInfo(device).fileName()));
    if (!QFileInfo::exists(entry.filePath(QStringLiteral("device")))) return false;
    QFile type(entry.filePath(QStringLiteral("type")));
    if (!type.open(QIODevice::ReadOnly)) return true;  // not a serial-core port: USB and the like
    return type.readAll().trimmed() != "0";
}

// The target of a link as it was written; empty when `path` is no link.
QString LinkText(const QString& path) {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink(QFile::encodeName(path).constData(), buffer, sizeof buffer);
    return length < 0 ? QString() : QFile::decodeName(QByteArray(buffer, int(length)));
}

void ClassifyComFile(ComTarget& target, const QString& comFile) {
    const QString written = LinkText(comFile);
    target.kind = written.isEmpty() ? ComTargetKind::OwnFile : ComTargetKind::Link;
    target.path = written.isEmpty() ? comFile : written;
}

}  // namespace

ComTarget ResolveComTarget(int number, const QString& folder, const std::vector<PortEntry>& catalog,
                           const QString& ttyFolder) {
    ComTarget target;
    target.number = number;
    const QString opened =
        QFile::decodeName(ComPortPathIn(QFile::encodeName(folder).toStdString(), number).c_str());
    if (opened == QString::fromStdString(StandardComDevice(number)))
        target.path = opened;
    else
        ClassifyComFile(target, opened);
    target.device = QFileInfo(opened).canonicalFilePath();
    target.exists = !target.device.isEmpty();
    const PortEntry* entry = target.exists ? FindPortEntry(catalog, target.device) : nullptr;
    if (entry) target.description = entry->description;
    target.hardware = target.exists && IsCharacterDevice(target.device) &&
                      (entry || KernelHasHardware(target.device, ttyFolder));
    return target;
}

}  // namespace zmt::link
