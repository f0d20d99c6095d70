#pragma once

#include <QString>

#include <sys/types.h>
#include <unistd.h>

#include <map>
#include <optional>

namespace zmt::link {

// Which files the other processes of the machine hold open, read once from /proc, so that
// the port list can say "busy" without opening a device (an open would raise its lines).
// Only processes whose descriptors this user may read are seen: a busy device held by a
// system service shows as free here and as busy when a probe tries to open it.
class DeviceHolders {
  public:
    explicit DeviceHolders(const QString& procFolder = QStringLiteral("/proc"),
                           pid_t self = ::getpid());

    // A process holding a file open: its number and its command name.
    struct Holder {
        pid_t pid = 0;
        QString name;
    };

    // True when a process other than `self` has `path` (or what it links to) open.
    bool heldByOther(const QString& path) const;
    // The first such process, where one is seen.
    std::optional<Holder> holderOf(const QString& path) const;

  private:
    // The device number of a character device; other files are of no interest here.
    static std::optional<dev_t> DeviceNumberOf(const QString& path);
    void readProcess(const QString& processFolder, pid_t pid);

    std::map<dev_t, Holder> held_;
    // What the descriptors name, for a device that cannot be looked at (it has gone).
    std::map<QString, Holder> heldPaths_;
};

}  // namespace zmt::link
