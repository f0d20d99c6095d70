#include "link/PortFailureCause.h"

#include "link/SpComPortCore.h"

namespace zmt::link {

// What Windows tells of a failed open: a port that does not exist, and a port that another
// program holds (the system answers "access denied" and does not say which program). The
// folders of the Linux diagnosis have no meaning here.

PortFailureCause DiagnosePortFailure(OpenFailure failure, const QString& device,
                                     const SystemFolders& /*folders*/) {
    PortFailureCause cause;
    cause.device = device;
    switch (failure) {
        case OpenFailure::NoSuchDevice:
            cause.kind = PortFailureKind::NotPresent;
            break;
        case OpenFailure::Busy:
            cause.kind = PortFailureKind::HeldByProgram;
            break;
        case OpenFailure::PermissionDenied:
            cause.kind = PortFailureKind::PermissionDenied;
            break;
        case OpenFailure::NotSerial:
            cause.kind = PortFailureKind::NotSerial;
            break;
        default:
            break;
    }
    return cause;
}

PortFailureCause DiagnoseOpenFailure(const ESpComPortCoreError& error,
                                     const SystemFolders& folders) {
    if (error.path().empty()) {
        PortFailureCause cause;
        if (error.failure() == OpenFailure::PermissionDenied)
            cause.kind = PortFailureKind::PermissionDenied;
        return cause;
    }
    return DiagnosePortFailure(error.failure(), QString::fromStdString(error.path()), folders);
}

QString ListedUsbAdapter(const SystemFolders& /*folders*/) {
    return {};
}

bool StandardPortWithoutHardware(const QString& /*device*/, const SystemFolders& /*folders*/) {
    return false;
}

// Windows shows no owner, group and mode of a port: an access is never known here.
QString DeviceAccess::modeText() const {
    return {};
}

}  // namespace zmt::link
