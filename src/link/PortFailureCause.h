#pragma once

// Why a port did not open, in terms the user can act on, told from what the kernel shows in
// /proc and /sys. Nothing here opens a device: an open would raise the meter's lines.

#include "link/interface/PlatformDevice.h"

#include <QString>

#include <sys/types.h>

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
    PermissionDenied,  // the user may not open it (group dialout)
    NotSerial,         // a file or a device without terminal settings
    AdapterClaimed,    // a USB serial adapter is connected but brltty took it
    NoHardwareBehind,  // a /dev/ttyS node without a UART while a USB adapter is there
};

struct PortFailureCause {
    PortFailureKind kind = PortFailureKind::Unknown;
    QString device;      // the device file the port led to, as far as it is known
    QString holderName;  // HeldByProgram: the program's command name, and its number
    pid_t holderPid = 0;
    QString adapter;  // AdapterClaimed, NoHardwareBehind: the adapter, as the user knows it

    bool heldByModemManager() const { return holderName == QStringLiteral("ModemManager"); }
};

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
