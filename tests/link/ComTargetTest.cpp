// What a COM number reaches, read without opening anything: each kind of comN in the
// working folder, the standard device, and what the kernel and the device list say of it.
#include "PtyPorts.h"
#include "link/ComTarget.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

namespace zmt::link {
namespace {

struct TargetCase {
    const char* name;
    // Makes com1 in the folder; `pty` is a pseudo-terminal's path, `folder` the folder.
    std::function<void(const QString& folder, const QString& pty)> make;
    ComTargetKind kind;
    bool exists;
    bool hardware;  // with the catalog listing the pseudo-terminal as "USB UART"
    const char* description;
};

void Link(const QString& target, const QString& folder) {
    ASSERT_TRUE(QFile::link(target, QDir(folder).filePath("com1")));
}

const TargetCase kTargetCases[] = {
    {"NoComFile", [](const QString&, const QString&) {}, ComTargetKind::Standard, false, false, ""},
    {"LinkToListedDevice", [](const QString& f, const QString& pty) { Link(pty, f); },
     ComTargetKind::Link, true, true, "USB UART"},
    {"LinkToUnlistedCharacterDevice",
     [](const QString& f, const QString&) { Link("/dev/null", f); }, ComTargetKind::Link, true,
     false, ""},
    {"DanglingLink", [](const QString& f, const QString&) { Link("/dev/ttyUSB97", f); },
     ComTargetKind::Link, false, false, ""},
    {"LinkToLinkToListedDevice",
     [](const QString& f, const QString& pty) {
         ASSERT_TRUE(QFile::link(pty, QDir(f).filePath("adapter")));
         Link(QDir(f).filePath("adapter"), f);
     },
     ComTargetKind::Link, true, true, "USB UART"},
    {"RegularFile",
     [](const QString& f, const QString&) {
         QFile file(QDir(f).filePath("com1"));
         ASSERT_TRUE(file.open(QIODevice::WriteOnly));
         file.write("the user's notes");
     },
     ComTargetKind::OwnFile, true, false, ""},
    {"Folder", [](const QString& f, const QString&) { ASSERT_TRUE(QDir(f).mkdir("com1")); },
     ComTargetKind::OwnFile, true, false, ""},
};

class ComTargetTest : public ::testing::TestWithParam<TargetCase> {};

TEST_P(ComTargetTest, SaysWhatComOneReaches) {
    const TargetCase& c = GetParam();
    QTemporaryDir folder, ttys;
    test::PtyPeer pty;
    ASSERT_TRUE(pty.valid());
    const QString ptyPath = QString::fromStdString(pty.slavePath());
    c.make(folder.path(), ptyPath);
    PortEntry listed;
    listed.devicePath = ptyPath;
    listed.description = "USB UART";
    const std::vector<PortEntry> catalog{listed};
    const ComTarget target = ResolveComTarget(1, folder.path(), catalog, ttys.path());
    EXPECT_EQ(target.number, 1);
    EXPECT_EQ(target.kind, c.kind);
    if (c.kind != ComTargetKind::Standard) {  // whether /dev/ttyS0 exists is the machine's
        EXPECT_EQ(target.exists, c.exists);
        EXPECT_EQ(target.hardware, c.hardware);
    }
    EXPECT_EQ(target.description, QString::fromUtf8(c.description));
    if (c.kind == ComTargetKind::Standard) {
        EXPECT_EQ(target.path, "/dev/ttyS0");
    } else if (c.kind == ComTargetKind::OwnFile) {
        EXPECT_EQ(target.path, QDir(folder.path()).filePath("com1"));
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, ComTargetTest, ::testing::ValuesIn(kTargetCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ComTarget, ALinkShowsItsTargetAsWrittenAndTheDeviceItLeadsTo) {
    QTemporaryDir folder;
    ASSERT_TRUE(QFile::link("/dev/null", QDir(folder.path()).filePath("devnull")));
    Link(QDir(folder.path()).filePath("devnull"), folder.path());
    const ComTarget target = ResolveComTarget(1, folder.path(), {});
    EXPECT_EQ(target.path, QDir(folder.path()).filePath("devnull"));
    EXPECT_EQ(target.device, "/dev/null");
    EXPECT_EQ(target.shownPath(), "/dev/null");
}

// The kernel's terminal list decides for devices the catalog does not know: a serial port
// with UART type 0 has no hardware, a terminal with a device behind it has.
TEST(ComTarget, TheKernelsTerminalListTellsAPortWithoutUartFromOneWithHardware) {
    QTemporaryDir folder, ttys;
    Link("/dev/null", folder.path());  // "null" stands for the device in the fake list
    QDir list(ttys.path());
    ASSERT_TRUE(list.mkpath("null"));
    ASSERT_TRUE(QFile::link(ttys.path(), list.filePath("null/device")));
    EXPECT_TRUE(ResolveComTarget(1, folder.path(), {}, ttys.path()).hardware);
    QFile type(list.filePath("null/type"));
    ASSERT_TRUE(type.open(QIODevice::WriteOnly));
    type.write("0\n");
    type.close();
    EXPECT_FALSE(ResolveComTarget(1, folder.path(), {}, ttys.path()).hardware);
}

}  // namespace
}  // namespace zmt::link
