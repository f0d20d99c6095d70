// Why the tool could not open a port, as the tool itself says it for `read` and `find`: the
// program holding a pseudo-terminal's lock by its whole name, every program holding it open,
// the owner, group and mode of a device this user may not open, and a folder given as port.
#include "HoldingProcess.h"
#include "PtyPorts.h"
#include "WindowTestSupport.h"
#include "cli/ExitCode.h"
#include "editor/PortTexts.h"
#include "language/LanguageText.h"
#include "link/PortFailureCause.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <vector>

namespace zmt::cli {
namespace {

constexpr uid_t kNobody = 65534;

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
    QString all() const { return out + err; }
};

// The tool in English; `asNobody`: the child gives up root before it starts.
ToolRun RunTool(const QStringList& arguments, bool asNobody = false) {
    QProcess tool;
    if (asNobody) {
        tool.setChildProcessModifier([] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                ::_exit(99);
        });
        tool.setWorkingDirectory("/");
    }
    tool.start(QStringLiteral(ZMT_CLI_TOOL), arguments + QStringList{"--lang", "en"});
    if (!tool.waitForFinished(60000)) return {};
    return {tool.exitCode(), QString::fromLocal8Bit(tool.readAllStandardOutput()),
            QString::fromLocal8Bit(tool.readAllStandardError())};
}

QString Slave(const link::test::PtyPeer& line) {
    return QString::fromStdString(line.slavePath());
}

TEST(CliPortDoctor, APseudoTerminalLockedByAProgramNamesItWhole) {
    test::WorkingDirectory workDir;
    const link::test::PtyPeer line;
    ASSERT_TRUE(line.valid());
    const link::test::HoldingProcess opener(line.slavePath(), "zmt-plain-opener-of-the-port",
                                            false);
    const link::test::HoldingProcess locker(line.slavePath(), "zmt-program-locking-the-port", true);
    const QString held = QString("  %1 held by zmt-program-locking-the-port (PID %2)")
                             .arg(Slave(line))
                             .arg(locker.pid());
    const ToolRun read = RunTool({"read", "--port", Slave(line)});
    EXPECT_EQ(read.exitCode, PortUnavailable);
    EXPECT_TRUE(read.err.contains(held)) << read.all().toStdString();
    EXPECT_FALSE(read.all().contains("zmt-plain-opener")) << read.all().toStdString();

    const ToolRun find = RunTool({"find", Slave(line), "--yes", "--quiet"});
    EXPECT_EQ(find.exitCode, NoInterface);
    EXPECT_TRUE(find.out.contains(Slave(line) + ": busy, not touched")) << find.all().toStdString();
    EXPECT_TRUE(find.out.contains(held)) << find.all().toStdString();
}

// Plain opens do not keep root out (TIOCEXCL does not bind it), so the failure is given.
TEST(CliPortDoctor, EveryProgramHoldingAPseudoTerminalOpenIsNamedUpToThree) {
    const link::test::PtyPeer line;
    ASSERT_TRUE(line.valid());
    std::vector<std::unique_ptr<link::test::HoldingProcess>> holders;
    for (int i = 0; i < 4; ++i)
        holders.push_back(std::make_unique<link::test::HoldingProcess>(
            line.slavePath(), "zmt-terminal-program-number-" + std::to_string(i), false));
    LanguageText texts;
    texts.FillLanguageText();
    const QStringList lines =
        PortCauseLines(link::DiagnosePortFailure(link::OpenFailure::Busy, Slave(line)), texts, 1);
    QStringList named;
    for (int i = 0; i < 3; ++i)
        named << QString("zmt-terminal-program-number-%1 (PID %2)").arg(i).arg(holders[i]->pid());
    EXPECT_EQ(lines, QStringList{
                         QString("  %1 held by %2 and 1 more").arg(Slave(line), named.join(", "))});
}

TEST(CliPortDoctor, AFolderGivenAsPortIsNotASerialDevice) {
    QTemporaryDir folder;
    const ToolRun read = RunTool({"read", "--port", folder.path()});
    EXPECT_EQ(read.exitCode, PortUnavailable);
    EXPECT_TRUE(read.err.contains(folder.path() + " is not a serial device"))
        << read.all().toStdString();
    const ToolRun find = RunTool({"find", folder.path(), "--yes", "--quiet"});
    EXPECT_EQ(find.exitCode, NoInterface);
    EXPECT_TRUE(find.out.contains(folder.path() + ": not a serial device"))
        << find.all().toStdString();
    EXPECT_TRUE(find.out.contains("  " + folder.path() + " is not a serial device"))
        << find.all().toStdString();
}

// A root device as a user: the owner, the group and the mode, and the group to join only
// where the group may open it.
TEST(CliPortDoctor, PermissionDeniedNamesOwnerGroupAndModeAndTheGroupOnlyWhereItGrantsAccess) {
    if (::geteuid() != 0) GTEST_SKIP() << "becoming another user needs root";
    const link::test::PtyPeer line;
    ASSERT_TRUE(line.valid());
    const std::string device = line.slavePath();
    const gid_t ttyGroup = ::getgrnam("tty") ? ::getgrnam("tty")->gr_gid : 5;
    struct Case {
        const char* name;
        gid_t group;
        mode_t mode;
        QString access;
        bool joinGroup;
    };
    const std::vector<Case> cases = {
        {"owner only", 0, 0600, "owner root, group root, mode crw-------", false},
        {"group may open", ttyGroup, 0660, "owner root, group tty, mode crw-rw----", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(::chown(device.c_str(), 0, c.group), 0);
        ASSERT_EQ(::chmod(device.c_str(), c.mode), 0);
        const QString denied = QString("  %1: permission denied (%2)").arg(Slave(line), c.access);
        const QString join = "the user must join the group tty";
        const ToolRun read = RunTool({"read", "--port", Slave(line)}, true);
        EXPECT_EQ(read.exitCode, PortUnavailable) << read.all().toStdString();
        EXPECT_TRUE(read.err.contains(denied)) << read.all().toStdString();
        EXPECT_EQ(read.err.contains(join), c.joinGroup) << read.all().toStdString();
        const ToolRun find = RunTool({"find", Slave(line), "--yes", "--quiet"}, true);
        EXPECT_TRUE(find.out.contains(Slave(line) + ": permission denied"))
            << find.all().toStdString();
        EXPECT_TRUE(find.out.contains(denied)) << find.all().toStdString();
        EXPECT_EQ(find.out.contains(join), c.joinGroup) << find.all().toStdString();
    }
}

}  // namespace
}  // namespace zmt::cli
