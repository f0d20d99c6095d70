#pragma once

#include <QString>

#include <sys/types.h>
#include <unistd.h>

#include <map>
#include <optional>
#include <set>
#include <vector>

namespace zmt::link {

// Which files the other processes of the machine hold open and lock, read once from /proc,
// so that the port list can say "busy" without opening a device (an open would raise its
// lines). Descriptors are seen only of processes that this user may look into; the lock
// table and the command lines are seen of every process.
class DeviceHolders {
  public:
    explicit DeviceHolders(const QString& procFolder = QStringLiteral("/proc"),
                           pid_t self = ::getpid());

    // A process holding a file: its number and its full program name.
    struct Holder {
        pid_t pid = 0;
        QString name;
    };

    // True when a process other than `self` holds `path` (or what it links to).
    bool heldByOther(const QString& path) const;
    // Who holds `path`: the process holding its lock when there is one, else every process
    // that has it open, by number. The master side of a pseudo-terminal is the far end of
    // the line (a simulated meter), so its holder is not among the slave's holders.
    std::vector<Holder> holdersOf(const QString& path) const;

  private:
    struct Lock {
        unsigned major = 0;  // of the file system that holds the locked file
        unsigned minor = 0;
        ino_t inode = 0;
        pid_t pid = 0;
    };

    void readProcess(const QString& processFolder, pid_t pid);
    static std::optional<Lock> ParseLock(const QByteArray& line);
    void readLocks();
    std::vector<pid_t> openersOf(const QString& path) const;
    std::vector<pid_t> lockersOf(const QString& path) const;
    bool holdsMasterOf(pid_t pid, const QString& path) const;
    Holder holder(pid_t pid) const;

    QString proc_;
    pid_t self_;
    std::multimap<dev_t, pid_t> openers_;
    // What the descriptors name, for a device that cannot be looked at (it has gone).
    std::multimap<QString, pid_t> openedPaths_;
    // The pseudo-terminals (by index) whose master side a process holds.
    std::map<pid_t, std::set<int>> masters_;
    std::vector<Lock> locks_;
};

}  // namespace zmt::link
