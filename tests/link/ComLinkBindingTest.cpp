// Binding COM numbers by the comN links of a folder: replacing a link atomically, going
// back to the standard device, and refusing or failing without changing any binding.
#include "ReadOnlyFolder.h"
#include "link/ComLinkBinding.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <functional>
#include <optional>
#include <thread>

namespace zmt::link {
namespace {

// A folder with com1 and com2 as a case sets them up, and a device file to bind to.
class BindingFolder {
  public:
    BindingFolder() {
        QFile device(path("ttyUSB0"));
        device.open(QIODevice::WriteOnly);
    }
    QString path(const QString& name) const { return QDir(folder_.path()).filePath(name); }
    const QString& folder() const { return folderPath_; }
    // What comN is now: "-> target", "file", "folder" or "" when missing.
    QString state(int number) const {
        const QFileInfo info(path(QStringLiteral("com%1").arg(number)));
        if (info.isSymLink()) return "-> " + QFile::symLinkTarget(info.filePath()).section('/', -1);
        if (info.isDir()) return "folder";
        return info.exists() ? "file" : "";
    }
    QStringList entries() const {
        return QDir(folderPath_).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    }

  private:
    QTemporaryDir folder_;
    QString folderPath_ = folder_.path();
};

using Setup = std::function<void(BindingFolder&)>;

void LinkCom(BindingFolder& f, int number, const QString& target) {
    QFile::link(target.startsWith('/') ? target : f.path(target),
                f.path(QStringLiteral("com%1").arg(number)));
}

struct BindCase {
    const char* name;
    Setup setup;
    std::vector<BindRequest> requests;   // device names are made absolute in the folder
    std::optional<BindFailure> failure;  // of the first problem
    QString com1;                        // state afterwards
    QString com2;
};

const BindCase kBindCases[] = {
    {"NewLink", [](BindingFolder&) {}, {{1, "ttyUSB0"}}, std::nullopt, "-> ttyUSB0", ""},
    {"ReplacesALink",
     [](BindingFolder& f) { LinkCom(f, 1, "/dev/null"); },
     {{1, "ttyUSB0"}},
     std::nullopt,
     "-> ttyUSB0",
     ""},
    {"ReplacesADanglingLink",
     [](BindingFolder& f) { LinkCom(f, 1, "/dev/ttyUSB97"); },
     {{1, "ttyUSB0"}},
     std::nullopt,
     "-> ttyUSB0",
     ""},
    {"StandardRemovesTheLink",
     [](BindingFolder& f) { LinkCom(f, 1, "ttyUSB0"); },
     {{1, ""}},
     std::nullopt,
     "",
     ""},
    {"StandardWithoutLinkIsNothingToDo", [](BindingFolder&) {}, {{1, ""}}, std::nullopt, "", ""},
    {"TwoAtOnce",
     [](BindingFolder& f) { LinkCom(f, 2, "ttyUSB0"); },
     {{1, "ttyUSB0"}, {2, ""}},
     std::nullopt,
     "-> ttyUSB0",
     ""},
    {"RefusesToReplaceARegularFile",
     [](BindingFolder& f) {
         QFile file(f.path("com1"));
         file.open(QIODevice::WriteOnly);
     },
     {{1, "ttyUSB0"}},
     BindFailure::NotALink,
     "file",
     ""},
    {"RefusesToRemoveAFolder",
     [](BindingFolder& f) { QDir(f.folder()).mkdir("com1"); },
     {{1, ""}},
     BindFailure::NotALink,
     "folder",
     ""},
    {"ARefusalChangesNoOtherBinding",
     [](BindingFolder& f) {
         QDir(f.folder()).mkdir("com1");
         LinkCom(f, 2, "/dev/null");
     },
     {{2, "ttyUSB0"}, {1, "ttyUSB0"}},
     BindFailure::NotALink,
     "folder",
     "-> null"},
    {"RefusesAVanishedDevice",
     [](BindingFolder& f) { LinkCom(f, 2, "/dev/null"); },
     {{1, "ttyUSB0"}, {2, "ttyUSB5"}},
     BindFailure::DeviceMissing,
     "",
     "-> null"},
};

class ComLinkBindingTest : public ::testing::TestWithParam<BindCase> {};

TEST_P(ComLinkBindingTest, LeavesTheFolderAsExpected) {
    const BindCase& c = GetParam();
    BindingFolder folder;
    c.setup(folder);
    std::vector<BindRequest> requests = c.requests;
    for (BindRequest& request : requests)
        if (!request.devicePath.isEmpty()) request.devicePath = folder.path(request.devicePath);
    const std::vector<BindProblem> problems = BindComPorts(folder.folder(), requests);
    if (c.failure) {
        ASSERT_FALSE(problems.empty());
        EXPECT_EQ(problems.front().failure, *c.failure);
    } else {
        EXPECT_TRUE(problems.empty());
    }
    EXPECT_EQ(folder.state(1), c.com1);
    EXPECT_EQ(folder.state(2), c.com2);
    for (const QString& entry : folder.entries())
        EXPECT_FALSE(entry.contains(".new")) << entry.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, ComLinkBindingTest, ::testing::ValuesIn(kBindCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A folder that takes no new link (read-only here; a full disk fails the same step) is
// reported with the system's reason, and every binding stays as it was.
TEST(ComLinkBinding, AReadOnlyFolderChangesNothingAndSaysWhy) {
    BindingFolder folder;
    LinkCom(folder, 1, "/dev/null");
    LinkCom(folder, 2, "/dev/null");
    std::vector<BindProblem> problems;
    {
        test::ReadOnlyFolder readOnly(folder.folder());
        problems = BindComPorts(
            folder.folder(), {{2, ""}, {1, folder.path("ttyUSB0")}, {3, folder.path("ttyUSB0")}});
    }
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].failure, BindFailure::System);
    EXPECT_EQ(problems[0].number, 1);
    EXPECT_EQ(problems[0].errorNumber, EACCES);
    EXPECT_EQ(folder.state(1), "-> null");
    EXPECT_EQ(folder.state(2), "-> null");
    EXPECT_EQ(folder.state(3), "");
}

TEST(ComLinkBinding, AReadOnlyFolderKeepsALinkThatShouldGo) {
    BindingFolder folder;
    LinkCom(folder, 1, "/dev/null");
    std::vector<BindProblem> problems;
    {
        test::ReadOnlyFolder readOnly(folder.folder());
        problems = BindComPorts(folder.folder(), {{1, ""}});
    }
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].errorNumber, EACCES);
    EXPECT_EQ(folder.state(1), "-> null");
}

// The new link takes comN's place in one rename: a reader never finds comN missing.
TEST(ComLinkBinding, ComNeverGoesMissingWhileItIsReplaced) {
    BindingFolder folder;
    LinkCom(folder, 1, "/dev/null");
    std::atomic<bool> stop{false}, missing{false};
    const QByteArray com1 = QFile::encodeName(folder.path("com1"));
    std::thread reader([&] {
        struct stat info {};
        while (!stop)
            if (::lstat(com1.constData(), &info) != 0) missing = true;
    });
    for (int round = 0; round < 200; ++round) {
        const QString target = round % 2 ? QStringLiteral("/dev/null") : folder.path("ttyUSB0");
        ASSERT_TRUE(BindComPorts(folder.folder(), {{1, target}}).empty());
    }
    stop = true;
    reader.join();
    EXPECT_FALSE(missing);
}

}  // namespace
}  // namespace zmt::link
