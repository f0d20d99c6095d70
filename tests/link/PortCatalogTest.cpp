// The device list: the stable udev name of each device, which devices another process
// holds (read from the process table, never by opening a device), the order, and finding
// a device's entry through links.
#include "PtyPorts.h"
#include "link/DeviceHolders.h"
#include "link/SystemPortCatalog.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace zmt::link {
namespace {

PortEntry Device(const QString& path, const QString& description = {}) {
    PortEntry entry;
    entry.devicePath = path;
    entry.description = description;
    return entry;
}

// A process table with processes 100 (holding `held`) and 200 (holding nothing of interest),
// and this test program as process 300.
class FakeProcessTable {
  public:
    explicit FakeProcessTable(const QStringList& held) {
        QDir proc(folder_.path());
        proc.mkpath("100/fd");
        proc.mkpath("200/fd");
        proc.mkpath("300/fd");
        proc.mkpath("self/fd");
        int fd = 3;
        for (const QString& path : held)
            QFile::link(path, proc.filePath(QStringLiteral("100/fd/%1").arg(fd++)));
        QFile::link("/dev/null", proc.filePath("200/fd/0"));
        QFile::link("socket:[4711]", proc.filePath("200/fd/1"));
    }
    QString path() const { return folder_.path(); }
    void holdAsThisProgram(const QString& device) {
        QFile::link(device, QDir(folder_.path()).filePath("300/fd/9"));
    }

  private:
    QTemporaryDir folder_;
};

TEST(DeviceHolders, SeesADeviceHeldByAnotherProcessUnderAnyOfItsNames) {
    test::PtyPeer held, free;
    const QString heldPath = QString::fromStdString(held.slavePath());
    FakeProcessTable table({heldPath});
    QTemporaryDir names;
    const QString alias = QDir(names.path()).filePath("usb-FTDI-if00-port0");
    QFile::link(heldPath, alias);
    const DeviceHolders holders(table.path(), 300);
    EXPECT_TRUE(holders.heldByOther(heldPath));
    EXPECT_TRUE(holders.heldByOther(alias));
    EXPECT_FALSE(holders.heldByOther(QString::fromStdString(free.slavePath())));
    EXPECT_FALSE(holders.heldByOther("/dev/ttyUSB97"));
}

TEST(DeviceHolders, ADeviceThisProgramHoldsIsNotBusy) {
    test::PtyPeer own;
    const QString ownPath = QString::fromStdString(own.slavePath());
    FakeProcessTable table({});
    table.holdAsThisProgram(ownPath);
    EXPECT_FALSE(DeviceHolders(table.path(), 300).heldByOther(ownPath));
    EXPECT_TRUE(DeviceHolders(table.path(), 999).heldByOther(ownPath));
}

TEST(SystemPortCatalog, CompletesStableNamesBusyFlagsAndTheOrder) {
    test::PtyPeer first, second, third;
    auto path = [](const test::PtyPeer& pty) { return QString::fromStdString(pty.slavePath()); };
    QTemporaryDir byId;
    const QString stable = QDir(byId.path()).filePath("usb-FTDI_FT232R_USB_UART_A1-if00-port0");
    ASSERT_TRUE(QFile::link(path(second), stable));
    ASSERT_TRUE(QFile::link("/dev/ttyUSB97", QDir(byId.path()).filePath("usb-gone")));
    FakeProcessTable table({path(third)});
    // The pseudo-terminals' numbers stand for ttyUSB numbers: "10" after "9".
    std::vector<PortEntry> entries{Device(path(third)), Device(path(second)), Device(path(first))};
    CompletePortEntries(entries, byId.path(), DeviceHolders(table.path(), 300));
    std::vector<PortEntry> expected{Device(path(first)), Device(path(second)), Device(path(third))};
    std::sort(expected.begin(), expected.end(), [](const PortEntry& a, const PortEntry& b) {
        return a.devicePath.section('/', -1).toInt() < b.devicePath.section('/', -1).toInt();
    });
    ASSERT_EQ(entries.size(), 3u);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const PortEntry& entry = entries[i];
        EXPECT_EQ(entry.devicePath, expected[i].devicePath);
        EXPECT_EQ(entry.stablePath, entry.devicePath == path(second) ? stable : QString());
        EXPECT_EQ(entry.bindPath(), entry.devicePath == path(second) ? stable : entry.devicePath);
        EXPECT_EQ(entry.busy, entry.devicePath == path(third));
    }
}

TEST(PortCatalog, FindsTheEntryOfADeviceThroughLinks) {
    test::PtyPeer a, b;
    const QString pathA = QString::fromStdString(a.slavePath());
    const QString pathB = QString::fromStdString(b.slavePath());
    QTemporaryDir folder;
    const QString link = QDir(folder.path()).filePath("com1");
    QFile::link(pathB, link);
    const std::vector<PortEntry> catalog{Device(pathA, "USB UART"), Device(pathB, "USB UART")};
    ASSERT_NE(FindPortEntry(catalog, link), nullptr);
    EXPECT_EQ(FindPortEntry(catalog, link)->devicePath, pathB);
    EXPECT_EQ(FindPortEntry(catalog, "/dev/ttyUSB97"), nullptr);
}

}  // namespace
}  // namespace zmt::link
