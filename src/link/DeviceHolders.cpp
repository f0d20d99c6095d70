#include "DeviceHolders.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace zmt::link {

DeviceHolders::DeviceHolders(const QString& procFolder, pid_t self) {
    const QDir proc(procFolder);
    const QString own = QString::number(self);
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        pid.toLongLong(&numeric);
        if (numeric && pid != own) readProcess(proc.filePath(pid + QStringLiteral("/fd")));
    }
}

std::optional<dev_t> DeviceHolders::DeviceNumberOf(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISCHR(info.st_mode))
        return std::nullopt;
    return info.st_rdev;
}

void DeviceHolders::readProcess(const QString& fdFolder) {
    const QDir fds(fdFolder);
    // Another user's process denies the listing: it is not seen.
    for (const QString& fd :
         fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (const auto device = DeviceNumberOf(fds.filePath(fd))) held_.insert(*device);
    }
}

bool DeviceHolders::heldByOther(const QString& path) const {
    const auto device = DeviceNumberOf(path);
    return device && held_.count(*device) > 0;
}

}  // namespace zmt::link
