#include "link/DeviceHolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <optional>

namespace zmt::link {

namespace {

std::optional<struct stat> StatOf(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) return std::nullopt;
    return info;
}

// The device number of a character device; other files are of no interest here.
std::optional<dev_t> DeviceNumberOf(const QString& path) {
    const auto info = StatOf(path);
    if (!info || !S_ISCHR(info->st_mode)) return std::nullopt;
    return info->st_rdev;
}

// The index of a pseudo-terminal's slave ("/dev/pts/3": 3), or -1.
int SlaveIndexOf(const QString& path) {
    const QString device = QFileInfo(path).canonicalFilePath();
    const QString folder = QStringLiteral("/dev/pts/");
    if (!device.startsWith(folder)) return -1;
    bool numeric = false;
    const int index = device.mid(folder.size()).toInt(&numeric);
    return numeric ? index : -1;
}

bool NamesMaster(const QString& target) {
    return target == QStringLiteral("/dev/ptmx") || target.endsWith(QStringLiteral("/ptmx"));
}

// The pseudo-terminal a master descriptor serves, from its fdinfo ("tty-index:\t3").
int MasterIndexOf(const QString& fdinfoPath) {
    QFile info(fdinfoPath);
    if (!info.open(QIODevice::ReadOnly)) return -1;
    const QByteArray key = "tty-index:";
    for (QByteArray line = info.readLine(); !line.isEmpty(); line = info.readLine()) {
        if (!line.startsWith(key)) continue;
        bool numeric = false;
        const int index = line.mid(key.size()).trimmed().toInt(&numeric);
        return numeric ? index : -1;
    }
    return -1;
}

// A program's name as the user knows it. The kernel's comm is cut at 15 characters; the
// command line's first word is the whole name, unless the program has put a title of its
// own there ("sshd: user@pts/0"), which is shown as it is.
QString ProcessName(const QString& processFolder) {
    QFile cmdline(processFolder + QStringLiteral("/cmdline"));
    if (cmdline.open(QIODevice::ReadOnly)) {
        const QByteArray line = cmdline.readAll();
        const QString first = QString::fromLocal8Bit(line.left(line.indexOf('\0')));
        if (!first.isEmpty())
            return first.contains(QLatin1Char(' ')) ? first : QFileInfo(first).fileName();
    }
    const QString exe = QFile::symLinkTarget(processFolder + QStringLiteral("/exe"));
    if (!exe.isEmpty()) return QFileInfo(exe).fileName();
    QFile comm(processFolder + QStringLiteral("/comm"));
    return comm.open(QIODevice::ReadOnly) ? QString::fromUtf8(comm.readAll()).trimmed() : QString();
}

std::vector<pid_t> Unique(std::vector<pid_t> pids) {
    std::sort(pids.begin(), pids.end());
    pids.erase(std::unique(pids.begin(), pids.end()), pids.end());
    return pids;
}

}  // namespace

DeviceHolders::DeviceHolders(const QString& procFolder, pid_t self)
    : proc_(procFolder), self_(self) {
    const QDir proc(procFolder);
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        const int number = pid.toInt(&numeric);
        if (numeric && number != self) readProcess(proc.filePath(pid), number);
    }
    readLocks();
}

void DeviceHolders::readProcess(const QString& processFolder, pid_t pid) {
    const QDir fds(processFolder + QStringLiteral("/fd"));
    // Another user's process denies the listing: it is not seen.
    const QStringList entries =
        fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& fd : entries) {
        const QString file = fds.filePath(fd);
        const QString target = QFile::symLinkTarget(file);
        if (NamesMaster(target)) {
            const int index = MasterIndexOf(processFolder + QStringLiteral("/fdinfo/") + fd);
            if (index >= 0) masters_[pid].insert(index);
        }
        if (const auto device = DeviceNumberOf(file)) openers_.emplace(*device, pid);
        if (target.startsWith(QStringLiteral("/dev/"))) openedPaths_.emplace(target, pid);
    }
}

// A line such as "1: FLOCK  ADVISORY  WRITE 4298 00:1b:3 0 EOF": the process, then the file
// system's major and minor number in hexadecimal and the inode. A "->" line waits for a
// lock and holds none.
std::optional<DeviceHolders::Lock> DeviceHolders::ParseLock(const QByteArray& line) {
    const QList<QByteArray> words = line.simplified().split(' ');
    if (words.size() < 6 || words[1] == "->") return std::nullopt;
    const QList<QByteArray> file = words[5].split(':');
    if (file.size() != 3) return std::nullopt;
    bool major = false, minor = false, inode = false, pid = false;
    const Lock lock{file[0].toUInt(&major, 16), file[1].toUInt(&minor, 16),
                    static_cast<ino_t>(file[2].toULongLong(&inode)), words[4].toInt(&pid)};
    // An open file description's lock names no process (-1).
    if (!major || !minor || !inode || !pid || lock.pid <= 0) return std::nullopt;
    return lock;
}

void DeviceHolders::readLocks() {
    QFile table(proc_ + QStringLiteral("/locks"));
    if (!table.open(QIODevice::ReadOnly)) return;
    for (QByteArray line = table.readLine(); !line.isEmpty(); line = table.readLine())
        if (const auto lock = ParseLock(line)) locks_.push_back(*lock);
}

std::vector<pid_t> DeviceHolders::openersOf(const QString& path) const {
    std::vector<pid_t> pids;
    if (const auto device = DeviceNumberOf(path)) {
        const auto [first, last] = openers_.equal_range(*device);
        for (auto it = first; it != last; ++it) pids.push_back(it->second);
        return Unique(pids);
    }
    const QFileInfo file(path);
    for (const QString& name : {file.canonicalFilePath(), file.absoluteFilePath()}) {
        if (name.isEmpty()) continue;
        const auto [first, last] = openedPaths_.equal_range(name);
        for (auto it = first; it != last; ++it) pids.push_back(it->second);
        if (!pids.empty()) break;
    }
    return Unique(pids);
}

std::vector<pid_t> DeviceHolders::lockersOf(const QString& path) const {
    const auto info = StatOf(path);
    std::vector<pid_t> pids;
    if (!info) return pids;
    for (const Lock& lock : locks_)
        if (lock.major == major(info->st_dev) && lock.minor == minor(info->st_dev) &&
            lock.inode == info->st_ino)
            pids.push_back(lock.pid);
    return Unique(pids);
}

bool DeviceHolders::holdsMasterOf(pid_t pid, const QString& path) const {
    const auto found = masters_.find(pid);
    return found != masters_.end() && found->second.count(SlaveIndexOf(path)) > 0;
}

DeviceHolders::Holder DeviceHolders::holder(pid_t pid) const {
    return {pid, ProcessName(QDir(proc_).filePath(QString::number(pid)))};
}

bool DeviceHolders::heldByOther(const QString& path) const {
    return !holdersOf(path).empty();
}

std::vector<DeviceHolders::Holder> DeviceHolders::holdersOf(const QString& path) const {
    auto named = [&](const std::vector<pid_t>& pids) {
        std::vector<Holder> holders;
        for (const pid_t pid : pids) {
            // A lock outlives the process that took it when a child kept the descriptor:
            // a process that is gone names nobody.
            const bool gone = !QFileInfo::exists(QDir(proc_).filePath(QString::number(pid)));
            if (pid != self_ && !gone && !holdsMasterOf(pid, path)) holders.push_back(holder(pid));
        }
        return holders;
    };
    std::vector<Holder> lockers = named(lockersOf(path));
    return lockers.empty() ? named(openersOf(path)) : lockers;
}

}  // namespace zmt::link
