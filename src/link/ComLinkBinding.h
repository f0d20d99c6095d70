#pragma once

#include <QString>

#include <vector>

namespace zmt::link {

// A COM number to bind: to `devicePath`, or back to its standard device when that is empty.
struct BindRequest {
    int number = 0;
    QString devicePath;
};

enum class BindFailure {
    NotALink,       // comN is the user's own file or folder: never replaced
    DeviceMissing,  // the device to bind to is gone (unplugged since it was listed)
    System,         // the folder refused (read-only, full disk, ...): errorNumber says why
};

struct BindProblem {
    int number = 0;
    BindFailure failure = BindFailure::System;
    int errorNumber = 0;
    QString path;  // comN, or the missing device
};

// Binds COM numbers by the links comN in `folder`. A new link is made under a temporary
// name in the same folder and renamed over comN, so that comN is at every moment either
// the old link or the new one. All requests are checked before anything changes, and all
// new links are made before any is renamed into place: a refusal, or a folder that takes
// no new link, leaves every binding as it was. Returns what was refused or failed.
std::vector<BindProblem> BindComPorts(const QString& folder,
                                      const std::vector<BindRequest>& requests);

}  // namespace zmt::link
