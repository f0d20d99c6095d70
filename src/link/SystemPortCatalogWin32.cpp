#include "link/SystemPortCatalog.h"

#include "link/ComBindingFile.h"

#include <QRegularExpression>

#include <windows.h>
// After windows.h, which it needs.
#include <devguid.h>
#include <setupapi.h>

#include <algorithm>
#include <map>

namespace zmt::link {

namespace {

QString FromWide(const wchar_t* text) {
    return QString::fromWCharArray(text);
}

// The ports the drivers have registered: HKLM\HARDWARE\DEVICEMAP\SERIALCOMM holds one value
// per port, its data the port name.
QStringList RegisteredPorts() {
    QStringList ports;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                        &key) != ERROR_SUCCESS)
        return ports;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        wchar_t data[64];
        DWORD nameLength = 256;
        DWORD dataBytes = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LONG result = ::RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                                            reinterpret_cast<BYTE*>(data), &dataBytes);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result != ERROR_SUCCESS || type != REG_SZ) continue;
        data[dataBytes / sizeof(wchar_t)] = L'\0';
        const QString port = FromWide(data).trimmed();
        if (IsWindowsPortName(port.toStdString()) && !ports.contains(port)) ports << port;
    }
    ::RegCloseKey(key);
    return ports;
}

QString DeviceProperty(HDEVINFO devices, SP_DEVINFO_DATA& device, DWORD property) {
    wchar_t text[512];
    DWORD type = 0;
    if (!::SetupDiGetDeviceRegistryPropertyW(devices, &device, property, &type,
                                             reinterpret_cast<BYTE*>(text), sizeof text - 2,
                                             nullptr))
        return {};
    return FromWide(text);
}

QString PortNameOf(HDEVINFO devices, SP_DEVINFO_DATA& device) {
    HKEY key = ::SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) return {};
    wchar_t name[64];
    DWORD bytes = sizeof name - sizeof(wchar_t);
    DWORD type = 0;
    QString port;
    if (::RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name),
                           &bytes) == ERROR_SUCCESS &&
        type == REG_SZ) {
        name[bytes / sizeof(wchar_t)] = L'\0';
        port = FromWide(name);
    }
    ::RegCloseKey(key);
    return port;
}

// The friendly names and makers of the ports' devices ("USB Serial Port (COM7)"), where the
// system's device setup knows them.
std::map<QString, PortEntry> DescribedPorts() {
    std::map<QString, PortEntry> described;
    HDEVINFO devices =
        ::SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE) return described;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; ::SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        const QString port = PortNameOf(devices, device);
        if (port.isEmpty()) continue;
        PortEntry& entry = described[port];
        entry.description = DeviceProperty(devices, device, SPDRP_FRIENDLYNAME);
        if (entry.description.isEmpty())
            entry.description = DeviceProperty(devices, device, SPDRP_DEVICEDESC);
        entry.manufacturer = DeviceProperty(devices, device, SPDRP_MFG);
        static const QRegularExpression ids(QStringLiteral("VID_([0-9A-F]{4})&PID_([0-9A-F]{4})"));
        const auto match = ids.match(DeviceProperty(devices, device, SPDRP_HARDWAREID).toUpper());
        if (match.hasMatch()) {
            entry.vendorId = static_cast<std::uint16_t>(match.captured(1).toUInt(nullptr, 16));
            entry.productId = static_cast<std::uint16_t>(match.captured(2).toUInt(nullptr, 16));
        }
    }
    ::SetupDiDestroyDeviceInfoList(devices);
    return described;
}

}  // namespace

// Windows says which program holds a port only by refusing the open, so `busy` stays false;
// a port in use shows as such when it is opened.
std::vector<PortEntry> SystemPortCatalog::list() {
    const std::map<QString, PortEntry> described = DescribedPorts();
    std::vector<PortEntry> entries;
    for (const QString& port : RegisteredPorts()) {
        const auto found = described.find(port);
        PortEntry entry = found == described.end() ? PortEntry{} : found->second;
        entry.devicePath = port;
        entries.push_back(entry);
    }
    std::sort(entries.begin(), entries.end(), [](const PortEntry& a, const PortEntry& b) {
        return a.devicePath.mid(3).toInt() < b.devicePath.mid(3).toInt();
    });
    return entries;
}

}  // namespace zmt::link
