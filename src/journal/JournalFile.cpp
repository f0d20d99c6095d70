#include "journal/JournalFile.h"

#include "journal/JournalLines.h"

#include "journal/JournalPairing.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zmt::journal {

namespace {

JournalReason SystemReason(int error) {
    return {JournalReason::System, QString::fromLocal8Bit(std::strerror(error))};
}

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

bool MakeFolder(const QString& path, JournalReason& reason) {
    const QString folder = QFileInfo(path).absolutePath();
    if (QFileInfo(folder).isDir() || QDir().mkpath(folder)) return true;
    reason = {JournalReason::FolderNotMade, folder};
    return false;
}

// Opens the journal for appending; a FIFO or device does not block the open and is refused.
int OpenForAppend(const QString& path, bool create, JournalReason& reason) {
    const QByteArray name = QFile::encodeName(path);
    // Read as well: the last byte tells whether the last line was torn.
    const int flags = O_RDWR | O_APPEND | O_CLOEXEC | O_NONBLOCK | (create ? O_CREAT : 0);
    const int fd = ::open(name.constData(), flags, 0644);
    if (fd < 0) {
        reason = errno == EISDIR  ? JournalReason{JournalReason::IsAFolder}
                 : errno == ENXIO ? JournalReason{JournalReason::NotARegularFile}
                                  : SystemReason(errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        reason = {JournalReason::NotARegularFile};
        return -1;
    }
    return fd;
}

bool EndsWithNewline(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size == 0) return true;
    char last = '\n';
    return ::pread(fd, &last, 1, info.st_size - 1) != 1 || last == '\n';
}

}  // namespace

AppendResult ProbeJournal(const QString& path) {
    JournalReason reason;
    if (!MakeFolder(path, reason)) return {false, reason};
    const bool exists = QFileInfo::exists(path) || QFileInfo(path).isSymLink();
    if (!exists) {
        const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
        // The effective rights, as the append will have them (root without its override too).
        if (::faccessat(AT_FDCWD, folder.constData(), W_OK, AT_EACCESS) != 0)
            return {false, SystemReason(errno)};
        return {true, {}};
    }
    // Whether there is room only the append itself can tell: it says so when there is none.
    const Descriptor fd(OpenForAppend(path, false, reason));
    return {fd.get() >= 0, reason};
}

AppendResult AppendRecord(const QString& path, const JournalRecord& record) {
    JournalReason reason;
    if (!MakeFolder(path, reason)) return {false, reason};
    const Descriptor fd(OpenForAppend(path, true, reason));
    if (fd.get() < 0) return {false, reason};
    QByteArray line = ToLine(record);
    if (!EndsWithNewline(fd.get())) line.prepend('\n');
    ssize_t written;
    do {
        written = ::write(fd.get(), line.constData(), size_t(line.size()));
    } while (written < 0 && errno == EINTR);
    if (written < 0) return {false, SystemReason(errno)};
    // A short write leaves a torn line, which reading skips and the next append ends.
    if (written != line.size()) return {false, SystemReason(ENOSPC)};
    if (::fsync(fd.get()) != 0) return {false, SystemReason(errno)};
    return {true, {}};
}

JournalContents ReadJournal(const QString& path) {
    JournalContents contents;
    const QByteArray name = QFile::encodeName(path);
    const int raw = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (raw < 0) {
        if (errno != ENOENT) contents.error = SystemReason(errno);
        return contents;
    }
    const Descriptor fd(raw);
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        contents.error = SystemReason(errno);
        return contents;
    }
    if (S_ISDIR(info.st_mode)) {
        contents.error = {JournalReason::IsAFolder};
        return contents;
    }
    if (!S_ISREG(info.st_mode)) {
        contents.error = {JournalReason::NotARegularFile};
        return contents;
    }
    QFile file;
    if (!file.open(fd.get(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) {
        contents.error = {JournalReason::System, file.errorString()};
        return contents;
    }
    ReadRecordLines(file, contents);
    contents.records = PairOutcomes(std::move(contents.records));
    return contents;
}

}  // namespace zmt::journal
