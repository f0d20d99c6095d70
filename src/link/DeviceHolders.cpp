#include "link/DeviceHolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace zmt::link {

DeviceHolders::DeviceHolders(const QString& procFolder, pid_t self) {
    const QDir proc(procFolder);
    const QString own = QString::number(self);
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        pid.toLongLong(&numeric);
        if (numeric && pid != own) readProcess(proc.filePath(pid), pid.toInt());
    }
}

std::optional<dev_t> DeviceHolders::DeviceNumberOf(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISCHR(info.st_mode))
        return std::nullopt;
    return info.st_rdev;
}

void DeviceHolders::readProcess(const QString& processFolder, pid_t pid) {
    const QDir fds(processFolder + QStringLiteral("/fd"));
    // Another user's process denies the listing: it is not seen.
    const QStringList entries =
        fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    if (entries.isEmpty()) return;
    QFile comm(processFolder + QStringLiteral("/comm"));
    const Holder holder{pid, comm.open(QIODevice::ReadOnly)
                                 ? QString::fromUtf8(comm.readAll()).trimmed()
                                 : QString()};
    for (const QString& fd : entries) {
        const QString file = fds.filePath(fd);
        if (const auto device = DeviceNumberOf(file)) held_.try_emplace(*device, holder);
        const QString target = QFile::symLinkTarget(file);
        if (target.startsWith(QStringLiteral("/dev/"))) heldPaths_.try_emplace(target, holder);
    }
}

bool DeviceHolders::heldByOther(const QString& path) const {
    const auto device = DeviceNumberOf(path);
    return device && held_.count(*device) > 0;
}

std::optional<DeviceHolders::Holder> DeviceHolders::holderOf(const QString& path) const {
    if (const auto device = DeviceNumberOf(path)) {
        const auto found = held_.find(*device);
        if (found != held_.end()) return found->second;
    }
    const QFileInfo file(path);
    for (const QString& name : {file.canonicalFilePath(), file.absoluteFilePath()}) {
        const auto found = heldPaths_.find(name);
        if (!name.isEmpty() && found != heldPaths_.end()) return found->second;
    }
    return std::nullopt;
}

}  // namespace zmt::link
