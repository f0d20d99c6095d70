#pragma once

#include <QString>

#include <sys/types.h>
#include <unistd.h>

#include <optional>
#include <set>

namespace zmt::link {

// Which files the other processes of the machine hold open, read once from /proc, so that
// the port list can say "busy" without opening a device (an open would raise its lines).
// Only processes whose descriptors this user may read are seen: a busy device held by a
// system service shows as free here and as busy when a probe tries to open it.
class DeviceHolders {
  public:
    explicit DeviceHolders(const QString& procFolder = QStringLiteral("/proc"),
                           pid_t self = ::getpid());

    // True when a process other than `self` has `path` (or what it links to) open.
    bool heldByOther(const QString& path) const;

  private:
    // The device number of a character device; other files are of no interest here.
    static std::optional<dev_t> DeviceNumberOf(const QString& path);
    void readProcess(const QString& fdFolder);

    std::set<dev_t> held_;
};

}  // namespace zmt::link
