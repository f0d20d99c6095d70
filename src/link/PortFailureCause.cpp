#include "link/PortFailureCause.h"

#include "link/DeviceHolders.h"
#include "link/SpComPortCore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>

namespace zmt::link {

namespace {

QString ReadLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readLine()).trimmed();
}

QString Join(const QString& folder, const QString& name) {
    return QDir(folder).filePath(name);
}

// The drivers of the USB serial converters that technicians meet, and the vendors whose
// converters they are; brltty claims several of them as braille displays.
constexpr std::array<const char*, 6> SerialDrivers{"ftdi_sio", "ch341",   "cp210x",
                                                   "pl2303",   "cdc_acm", "usbserial_generic"};
constexpr std::array<const char*, 5> SerialVendors{"0403", "1a86", "10c4", "067b", "04d8"};

template <std::size_t N>
bool Among(const std::array<const char*, N>& names, const QString& name) {
    for (const char* known : names)
        if (name == QLatin1String(known)) return true;
    return false;
}

// A USB device folder of /sys/bus/usb/devices: whether a terminal belongs to one of its
// interfaces, and whether it is a serial converter at all.
struct UsbDevice {
    QString product;
    bool serialConverter = false;
    bool hasTerminal = false;
};

bool NamesTerminal(const QString& name) {
    return name.startsWith(QStringLiteral("ttyUSB")) || name.startsWith(QStringLiteral("ttyACM"));
}

void ReadInterface(const QString& interfaceFolder, UsbDevice& device) {
    const QString driver =
        QFileInfo(Join(interfaceFolder, QStringLiteral("driver"))).symLinkTarget();
    if (Among(SerialDrivers, QFileInfo(driver).fileName())) device.serialConverter = true;
    const QDir folder(interfaceFolder);
    for (const QString& child : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (NamesTerminal(child)) device.hasTerminal = true;
        if (child == QStringLiteral("tty")) {
            for (const QString& tty :
                 QDir(folder.filePath(child)).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
                if (NamesTerminal(tty)) device.hasTerminal = true;
        }
    }
}

UsbDevice ReadUsbDevice(const QString& deviceFolder) {
    UsbDevice device;
    device.product = ReadLine(Join(deviceFolder, QStringLiteral("product")));
    device.serialConverter =
        Among(SerialVendors, ReadLine(Join(deviceFolder, QStringLiteral("idVendor"))));
    const QDir folder(deviceFolder);
    const QString prefix = folder.dirName() + QLatin1Char(':');
    for (const QString& child : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (child.startsWith(prefix)) ReadInterface(folder.filePath(child), device);
    return device;
}

// A serial converter on the USB that no terminal belongs to; its product name, or empty.
QString UsbAdapterWithoutTerminal(const SystemFolders& folders) {
    const QDir devices(Join(folders.sys, QStringLiteral("bus/usb/devices")));
    for (const QString& name : devices.entryList(QDir::AllDirs | QDir::NoDotAndDotDot)) {
        if (name.contains(QLatin1Char(':'))) continue;  // an interface, read with its device
        const UsbDevice device = ReadUsbDevice(devices.filePath(name));
        if (device.serialConverter && !device.hasTerminal)
            return device.product.isEmpty() ? name : device.product;
    }
    return {};
}

bool BrlttyInstalled(const SystemFolders& folders) {
    for (const char* path : {"usr/bin/brltty", "bin/brltty", "usr/lib/udev/rules.d/85-brltty.rules",
                             "lib/udev/rules.d/85-brltty.rules"})
        if (QFileInfo::exists(Join(folders.root, QString::fromLatin1(path)))) return true;
    return false;
}

// The product name of the USB device a terminal belongs to, found above its interface.
QString ProductOfTerminal(const QString& ttyEntry) {
    QString folder = QFileInfo(Join(ttyEntry, QStringLiteral("device"))).canonicalFilePath();
    for (int up = 0; up < 3 && !folder.isEmpty(); ++up) {
        const QString product = ReadLine(Join(folder, QStringLiteral("product")));
        if (!product.isEmpty()) return product;
        folder = QFileInfo(folder).path();
    }
    return {};
}

PortFailureCause Cause(PortFailureKind kind, const QString& device = {}) {
    PortFailureCause cause;
    cause.kind = kind;
    cause.device = device;
    return cause;
}

bool IsStandardPort(const QString& device) {
    return device.startsWith(QStringLiteral("/dev/ttyS"));
}

// A /dev/ttyS node whose UART type reads 0 (or that the kernel lists without a device).
bool NoUartBehind(const QString& device, const SystemFolders& folders) {
    const QString entry =
        Join(folders.sys, QStringLiteral("class/tty/") + QFileInfo(device).fileName());
    if (!QFileInfo::exists(Join(entry, QStringLiteral("device")))) return true;
    const QString type = ReadLine(Join(entry, QStringLiteral("type")));
    return type == QStringLiteral("0");
}

// The device file a port's path names: a comN link's target (also when it leads nowhere),
// an absolute path as it is; empty for what is no file at all (a simulated port).
QString DeviceFileOf(const QString& path) {
    const QFileInfo file(path);
    if (file.isSymLink()) return file.symLinkTarget();
    if (file.isAbsolute()) return path;
    return file.exists() ? file.absoluteFilePath() : QString();
}

PortFailureCause Busy(const QString& device, const SystemFolders& folders) {
    PortFailureCause cause = Cause(PortFailureKind::Unknown, device);
    cause.holders = DeviceHolders(folders.proc).holdersOf(device);
    if (!cause.holders.empty()) cause.kind = PortFailureKind::HeldByProgram;
    return cause;
}

PortFailureCause Denied(const QString& device) {
    PortFailureCause cause = Cause(PortFailureKind::PermissionDenied, device);
    cause.access = AccessOf(device);
    return cause;
}

QString UserName(uid_t uid) {
    std::array<char, 1024> buffer{};
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return QString::number(uid);
}

QString GroupName(gid_t gid) {
    std::array<char, 4096> buffer{};
    group entry{};
    group* found = nullptr;
    if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return QString::fromLocal8Bit(found->gr_name);
    return QString::number(gid);
}

QChar FileTypeLetter(mode_t mode) {
    if (S_ISCHR(mode)) return QLatin1Char('c');
    if (S_ISBLK(mode)) return QLatin1Char('b');
    if (S_ISDIR(mode)) return QLatin1Char('d');
    if (S_ISLNK(mode)) return QLatin1Char('l');
    return QLatin1Char('-');
}

PortFailureCause Missing(const QString& device, const SystemFolders& folders) {
    PortFailureCause cause = Cause(PortFailureKind::NotPresent, device);
    if (StandardPortWithoutHardware(device, folders)) {
        cause.kind = PortFailureKind::NoHardwareBehind;
        cause.adapter = ListedUsbAdapter(folders);
    } else if (BrlttyInstalled(folders)) {
        const QString adapter = UsbAdapterWithoutTerminal(folders);
        if (!adapter.isEmpty()) {
            cause.kind = PortFailureKind::AdapterClaimed;
            cause.adapter = adapter;
        }
    }
    return cause;
}

}  // namespace

PortFailureCause DiagnosePortFailure(OpenFailure failure, const QString& device,
                                     const SystemFolders& folders) {
    switch (failure) {
        case OpenFailure::NoSuchDevice:
            return Missing(device, folders);
        case OpenFailure::Busy:
            return Busy(device, folders);
        case OpenFailure::PermissionDenied:
            return Denied(device);
        case OpenFailure::NotSerial:
            return Cause(PortFailureKind::NotSerial, device);
        default:
            return Cause(PortFailureKind::Unknown, device);
    }
}

PortFailureCause DiagnoseOpenFailure(const ESpComPortCoreError& error,
                                     const SystemFolders& folders) {
    const QString device = DeviceFileOf(QString::fromStdString(error.path()));
    if (device.isEmpty()) {
        const bool denied = error.failure() == OpenFailure::PermissionDenied;
        return Cause(denied ? PortFailureKind::PermissionDenied : PortFailureKind::Unknown);
    }
    return DiagnosePortFailure(error.failure(), device, folders);
}

QString DeviceAccess::modeText() const {
    if (!known()) return {};
    QString text(FileTypeLetter(mode));
    const char* letters = "rwxrwxrwx";
    for (int bit = 0; bit < 9; ++bit)
        text += (mode & (0400 >> bit)) ? QLatin1Char(letters[bit]) : QLatin1Char('-');
    return text;
}

DeviceAccess AccessOf(const QString& path) {
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0) return {};
    return {UserName(info.st_uid), GroupName(info.st_gid), info.st_mode};
}

QString ListedUsbAdapter(const SystemFolders& folders) {
    const QDir ttys(Join(folders.sys, QStringLiteral("class/tty")));
    QStringList names = ttys.entryList({QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")},
                                       QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    names.sort();
    if (names.isEmpty()) return {};
    const QString device = QStringLiteral("/dev/") + names.first();
    const QString product = ProductOfTerminal(ttys.filePath(names.first()));
    return product.isEmpty() ? device : QStringLiteral("%1 (%2)").arg(device, product);
}

bool StandardPortWithoutHardware(const QString& device, const SystemFolders& folders) {
    return IsStandardPort(device) && NoUartBehind(device, folders) &&
           !ListedUsbAdapter(folders).isEmpty();
}

}  // namespace zmt::link
