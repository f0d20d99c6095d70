#pragma once

#include "link/interface/PlatformDevice.h"

#include <QString>

#include <optional>

namespace zmt {

// The port a command was given: COM1..COM4 as the program opens them, or a device path.
struct PortChoice {
    link::PlatformDeviceFactory factory;
    int number = 1;
    QString name;  // what every line calls it: COMn, or the path as the user gave it
};

// The number of "COM1".."COM4" (in any case); empty for anything else.
std::optional<int> ComNumberOf(const QString& port);

// `com` makes the devices behind COMn; a path (anything with a '/') is opened as it is.
// Empty when `port` is neither.
std::optional<PortChoice> ResolvePort(const QString& port, const link::PlatformDeviceFactory& com);

// Why `port` names no port, for every command that is given one.
QString UnknownPortLine(const QString& port);

}  // namespace zmt
