#include "link/SystemDevice.h"
#include "link/Win32CommDevice.h"

namespace zmt::link {

std::unique_ptr<PlatformDevice> MakeSystemDevice() {
    return std::make_unique<Win32CommDevice>();
}

std::unique_ptr<PlatformDevice> MakeSystemDeviceAt(const std::string& path) {
    return std::make_unique<Win32CommDevice>(path);
}

}  // namespace zmt::link
