#pragma once

#include "link/interface/PlatformDevice.h"

#include <memory>
#include <string>

namespace zmt::link {

// The machine's own serial device behind a COM port: the terminal device on Linux, the
// Win32 communications device on Windows. Each platform's file defines it.

// Opens COMn as the platform names it.
std::unique_ptr<PlatformDevice> MakeSystemDevice();
// Opens `path` whatever number it is asked for: a probe of one listed device.
std::unique_ptr<PlatformDevice> MakeSystemDeviceAt(const std::string& path);

}  // namespace zmt::link
