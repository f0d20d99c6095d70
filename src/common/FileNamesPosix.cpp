#include "common/FileNames.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zmt {

FileKind KindOfFile(const QString& name) {
    struct stat info {};
    if (::stat(EncodeFileName(name).constData(), &info) != 0) return FileKind::Missing;
    if (S_ISDIR(info.st_mode)) return FileKind::Folder;
    return S_ISREG(info.st_mode) ? FileKind::Regular : FileKind::Other;
}

bool OpenForReading(QFile& file, const QString& name, QString& reason) {
    const int fd = ::open(EncodeFileName(name).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        reason = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) return true;
    reason = file.errorString();
    ::close(fd);
    return false;
}

}  // namespace zmt
