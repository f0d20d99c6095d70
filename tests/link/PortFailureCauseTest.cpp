// Why a port did not open, told from a fake /proc, /sys and installation root: each cause a
// technician meets on a Linux desktop, and the neighbours that must not be mistaken for it.

#include "link/PortFailureCause.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace zmt::link {
namespace {

// A fake machine: processes with open files, USB devices, terminals and installed files.
class FakeSystem {
  public:
    SystemFolders folders() const {
        return {root_.filePath("proc"), root_.filePath("sys"), root_.path()};
    }
    void process(int pid, const QString& name, const QString& openFile) {
        const QString folder = QStringLiteral("proc/%1").arg(pid);
        file(folder + "/comm", name + "\n");
        mkdir(folder + "/fd");
        QFile::link(openFile, root_.filePath(folder + "/fd/7"));
    }
    // A USB serial adapter at 1-2 with its interface; `terminal` empty: none belongs to it.
    void usbAdapter(const QString& vendor, const QString& product, const QString& driver,
                    const QString& terminal) {
        const QString device = "sys/bus/usb/devices/1-2";
        file(device + "/idVendor", vendor + "\n");
        file(device + "/product", product + "\n");
        mkdir(device + "/1-2:1.0");
        mkdir("sys/bus/drivers/" + driver);
        QFile::link(root_.filePath("sys/bus/drivers/" + driver),
                    root_.filePath(device + "/1-2:1.0/driver"));
        if (terminal.isEmpty()) return;
        mkdir(device + "/1-2:1.0/" + terminal);
        mkdir("sys/class/tty");
        QFile::link(root_.filePath(device + "/1-2:1.0/" + terminal),
                    root_.filePath("sys/class/tty/" + terminal));
        mkdir(device + "/1-2:1.0/" + terminal + "/sub");
        QFile::link(root_.filePath(device + "/1-2:1.0"),
                    root_.filePath(device + "/1-2:1.0/" + terminal + "/device"));
    }
    // A standard port; `uart` 0 is a node without hardware.
    void standardPort(const QString& name, int uart) {
        file("sys/class/tty/" + name + "/type", QString::number(uart) + "\n");
        mkdir("sys/class/tty/" + name + "/device");
    }
    void installed(const QString& path) { file(path, {}); }

  private:
    void mkdir(const QString& folder) { QDir(root_.path()).mkpath(folder); }
    void file(const QString& path, const QString& text) {
        mkdir(QFileInfo(path).path());
        QFile out(root_.filePath(path));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text.toUtf8());
    }
    QTemporaryDir root_;
};

struct CauseCase {
    const char* name;
    std::function<void(FakeSystem&)> machine;
    OpenFailure failure;
    QString device;
    PortFailureKind kind;
    QString holderOrAdapter;  // what the cause names besides the device
};

class PortFailureCauseTest : public ::testing::TestWithParam<CauseCase> {};

TEST_P(PortFailureCauseTest, TellsTheCauseFromProcAndSys) {
    const CauseCase& c = GetParam();
    FakeSystem machine;
    c.machine(machine);
    const PortFailureCause cause = DiagnosePortFailure(c.failure, c.device, machine.folders());
    EXPECT_EQ(cause.kind, c.kind) << c.name;
    EXPECT_EQ(cause.device, c.device) << c.name;
    const QString named = cause.kind == PortFailureKind::HeldByProgram && !cause.holders.empty()
                              ? cause.holders.front().name
                              : cause.adapter;
    EXPECT_EQ(named, c.holderOrAdapter) << c.name;
}

const auto Nothing = [](FakeSystem&) {};

INSTANTIATE_TEST_SUITE_P(
    Causes, PortFailureCauseTest,
    ::testing::Values(
        CauseCase{"HeldByModemManager",
                  [](FakeSystem& m) { m.process(812, "ModemManager", "/dev/ttyUSB0"); },
                  OpenFailure::Busy, "/dev/ttyUSB0", PortFailureKind::HeldByProgram,
                  "ModemManager"},
        CauseCase{"BusyWithoutAHolderInSight",
                  [](FakeSystem& m) { m.process(812, "minicom", "/dev/ttyUSB1"); },
                  OpenFailure::Busy, "/dev/ttyUSB0", PortFailureKind::Unknown, ""},
        CauseCase{"Unplugged", Nothing, OpenFailure::NoSuchDevice, "/dev/ttyUSB0",
                  PortFailureKind::NotPresent, ""},
        CauseCase{"ClaimedByBrltty",
                  [](FakeSystem& m) {
                      m.usbAdapter("1a86", "USB Serial", "usbfs", "");
                      m.installed("usr/bin/brltty");
                  },
                  OpenFailure::NoSuchDevice, "/dev/ttyUSB0", PortFailureKind::AdapterClaimed,
                  "USB Serial"},
        CauseCase{"AdapterWithoutPortButNoBrltty",
                  [](FakeSystem& m) { m.usbAdapter("1a86", "USB Serial", "usbfs", ""); },
                  OpenFailure::NoSuchDevice, "/dev/ttyUSB0", PortFailureKind::NotPresent, ""},
        CauseCase{"BrlttyAndAnAdapterThatHasItsPort",
                  [](FakeSystem& m) {
                      m.usbAdapter("0403", "FT232R USB UART", "ftdi_sio", "ttyUSB0");
                      m.installed("usr/bin/brltty");
                  },
                  OpenFailure::NoSuchDevice, "/dev/ttyUSB3", PortFailureKind::NotPresent, ""},
        CauseCase{"StandardPortWithoutUartWhileAnAdapterIsThere",
                  [](FakeSystem& m) {
                      m.standardPort("ttyS0", 0);
                      m.usbAdapter("0403", "FT232R USB UART", "ftdi_sio", "ttyUSB0");
                  },
                  OpenFailure::NoSuchDevice, "/dev/ttyS0", PortFailureKind::NoHardwareBehind,
                  "/dev/ttyUSB0 (FT232R USB UART)"},
        CauseCase{"StandardPortWithoutUartAndNoAdapter",
                  [](FakeSystem& m) { m.standardPort("ttyS0", 0); }, OpenFailure::NoSuchDevice,
                  "/dev/ttyS0", PortFailureKind::NotPresent, ""},
        CauseCase{"PermissionDenied", Nothing, OpenFailure::PermissionDenied, "/dev/ttyUSB0",
                  PortFailureKind::PermissionDenied, ""},
        CauseCase{"NotASerialDevice", Nothing, OpenFailure::NotSerial, "/dev/null",
                  PortFailureKind::NotSerial, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StandardPortWithoutHardware, NeedsBothTheEmptyNodeAndAListedAdapter) {
    FakeSystem machine;
    machine.standardPort("ttyS0", 0);
    machine.standardPort("ttyS1", 4);  // a 16550A
    EXPECT_FALSE(StandardPortWithoutHardware("/dev/ttyS0", machine.folders()));
    machine.usbAdapter("0403", "FT232R USB UART", "ftdi_sio", "ttyUSB0");
    EXPECT_TRUE(StandardPortWithoutHardware("/dev/ttyS0", machine.folders()));
    EXPECT_FALSE(StandardPortWithoutHardware("/dev/ttyS1", machine.folders()));
    EXPECT_FALSE(StandardPortWithoutHardware("/dev/ttyUSB0", machine.folders()));
}

}  // namespace
}  // namespace zmt::link
