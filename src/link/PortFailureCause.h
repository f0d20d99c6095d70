#pragma once

// Why a port did not open, in terms the user can act on, told from what the kernel shows in
// /proc and /sys. Nothing here opens a device: an open would raise the meter's lines.

#include "link/DeviceHolders.h"
#include "link/interface/PlatformDevice.h"

#include <QString>

#include <sys/types.h>

#include <algorithm>
#include <vector>

namespace zmt::link {

// Where the kernel's process and device lists are, and the root that programs are
// installed under; tests hand in a fake tree.
struct SystemFolders {
    QString proc = QStringLiteral("/proc");
    QString sys = QStringLiteral("/sys");
    QString root = QStringLiteral("/");
};

enum class PortFailureKind {
    Unknown,           // nothing more is known than the failure itself
    NotPresent,        // no such device (unplugged?)
    HeldByProgram,     // another program has it open
    PermissionDenied,  // the user may not open it
    NotSerial,         // a file, a folder or a device without terminal settings
    AdapterClaimed,    // a USB serial adapter is connected but brltty took it
    NoHardwareBehind,  // a /dev/ttyS node without a UART while a USB adapter is there
};

// Who may open a device file: its owner, its group and its mode bits.
struct DeviceAccess {
    QString owner;
    QString group;
    mode_t mode = 0;  // as stat gives it, with the file type; 0: not known

    bool known() const { return mode != 0; }
    // The group may read and write it: joining the group gives access.
    bool groupMayOpen() const { return (mode & 0060) == 0060; }
    // The mode as `ls -l` shows it ("crw-rw----").
    QString modeText() const;
};

struct PortFailureCause {
    PortFailureKind kind = PortFailureKind::Unknown;
    QString device;  // the device file the port led to, as far as it is known
    std::vector<DeviceHolders::Holder> holders;  // HeldByProgram: who holds it
    DeviceAccess access;                         // PermissionDenied: the device's access
    QString adapter;  // AdapterClaimed, NoHardwareBehind: the adapter, as the user knows it

    bool heldByModemManager() const {
        return std::any_of(holders.begin(), holders.end(), [](const DeviceHolders::Holder& holder) {
            return holder.name == QLatin1String("ModemManager");
        });
    }
};

// The access of the file at `path`, with the owner and group by name (by number where the
// system has no name for them); not known when the file cannot be looked at.
DeviceAccess AccessOf(const QString& path);

// The cause of a failed open of `device` (the path the port number led to).
PortFailureCause DiagnosePortFailure(OpenFailure failure, const QString& device,
                                     const SystemFolders& folders = {});

class ESpComPortCoreError;
// The cause of a port core's failed open. A device it never reached (a simulated one, an
// invalid number) is not looked up: only the permission is known then.
PortFailureCause DiagnoseOpenFailure(const ESpComPortCoreError& error,
                                     const SystemFolders& folders = {});

// A USB serial adapter that the kernel lists as a terminal ("/dev/ttyUSB0 (FT232R USB UART)"),
// the first one found; empty when there is none.
QString ListedUsbAdapter(const SystemFolders& folders = {});

// True when COMn's device is a /dev/ttyS node without a UART while a USB serial adapter is
// listed: the user has most likely not yet assigned the adapter.
bool StandardPortWithoutHardware(const QString& device, const SystemFolders& folders = {});

}  // namespace zmt::link
