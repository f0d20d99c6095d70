#include "link/PosixTerminalDevice.h"
#include "link/SystemDevice.h"

namespace zmt::link {

std::unique_ptr<PlatformDevice> MakeSystemDevice() {
    return std::make_unique<PosixTerminalDevice>();
}

std::unique_ptr<PlatformDevice> MakeSystemDeviceAt(const std::string& path) {
    return std::make_unique<PosixTerminalDevice>(path);
}

}  // namespace zmt::link
