// Who holds a pseudo-terminal, read from the machine's own /proc: the process holding its
// lock before every other that has it open, every plain holder with its whole name, and
// never the process serving the line's far end.
#include "HoldingProcess.h"
#include "PtyPorts.h"
#include "link/DeviceHolders.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace zmt::link {
namespace {

using Holders = std::vector<std::pair<pid_t, QString>>;

Holders HoldersOf(const std::string& device, pid_t self = ::getpid()) {
    Holders seen;
    for (const auto& holder :
         DeviceHolders("/proc", self).holdersOf(QString::fromStdString(device)))
        seen.emplace_back(holder.pid, holder.name);
    return seen;
}

struct HoldCase {
    const char* name;
    std::vector<bool> locks;  // one holding process each: whether it takes the lock
    std::vector<int> named;   // the processes named, by their place in `locks`
};

class DeviceHoldersOnAPty : public ::testing::TestWithParam<HoldCase> {};

TEST_P(DeviceHoldersOnAPty, NamesTheLockHolderElseEveryOpenerByItsWholeName) {
    const HoldCase& c = GetParam();
    test::PtyPeer line;
    ASSERT_TRUE(line.valid());
    std::vector<std::unique_ptr<test::HoldingProcess>> processes;
    for (std::size_t i = 0; i < c.locks.size(); ++i) {
        const std::string name = "zmt-holding-process-with-a-long-name-" + std::to_string(i);
        processes.push_back(
            std::make_unique<test::HoldingProcess>(line.slavePath(), name, c.locks[i]));
        ASSERT_TRUE(processes.back()->running()) << c.name << ": holder " << i;
    }
    Holders expected;
    for (const int i : c.named)
        expected.emplace_back(processes[i]->pid(),
                              QString("zmt-holding-process-with-a-long-name-%1").arg(i));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(HoldersOf(line.slavePath()), expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Holders, DeviceHoldersOnAPty,
    ::testing::Values(HoldCase{"Nobody", {}, {}}, HoldCase{"OnePlainOpen", {false}, {0}},
                      HoldCase{"FourPlainOpens", {false, false, false, false}, {0, 1, 2, 3}},
                      HoldCase{"TheLockHolderAmongPlainOpens", {false, true, false}, {1}},
                      HoldCase{"TheLockHolderAlone", {true}, {0}}),
    [](const auto& info) { return std::string(info.param.name); });

// This test program holds the master side (and, as the simulator does, the slave too): seen
// as another process, it is still no holder, while a program that opens the slave is.
TEST(DeviceHolders, TheFarEndOfAPseudoTerminalIsNoHolder) {
    test::PtyPeer line;
    ASSERT_TRUE(line.valid());
    const int ownSlave = ::open(line.slavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(ownSlave, 0);
    const pid_t nobodyInParticular = 0;
    EXPECT_EQ(HoldersOf(line.slavePath(), nobodyInParticular), Holders{});
    EXPECT_FALSE(DeviceHolders("/proc", nobodyInParticular)
                     .heldByOther(QString::fromStdString(line.slavePath())));

    const test::HoldingProcess terminal(line.slavePath(), "zmt-terminal-program-on-the-port",
                                        false);
    EXPECT_EQ(HoldersOf(line.slavePath(), nobodyInParticular),
              (Holders{{terminal.pid(), "zmt-terminal-program-on-the-port"}}));
    ::close(ownSlave);
}

}  // namespace
}  // namespace zmt::link
