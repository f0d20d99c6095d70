// Files that cannot be written or read: saving and exiting on a full disk or into a folder
// where a file belongs, and a settings file that is no readable file at start-up.
#include "FaultFixture.h"

#include "common/Beep.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include <functional>

namespace zmt::faults {
namespace {

const QString kSaved = QString::fromUtf8("Einstellungen wurden gespeichert");
const QString kTarget = QStringLiteral("meter.dig");

// Room for a part of a settings file only: the lines fail at the final flush.
constexpr rlim_t kAlmostFullDisk = 40;

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// ---- saving ----

struct SaveFault {
    const char* name;
    std::function<void()> prepare;  // after the start, before the save
    bool diskFull;
    bool targetWritten;  // the chosen file comes first; initdig.txt only after it
};

void PrintTo(const SaveFault& c, std::ostream* os) {
    *os << c.name;
}

const SaveFault kSaveFaults[] = {
    {"DiskFull", [] {}, true, false},
    {"TargetIsAFolder",
     [] {
         QFile::remove(kTarget);
         QDir().mkdir(kTarget);
     },
     false, false},
    {"SettingsFileIsAFolder",
     [] {
         QFile::remove("initdig.txt");
         QDir().mkdir("initdig.txt");
     },
     false, true},
};

class SaveFaultTest : public ProgramFixture, public ::testing::WithParamInterface<SaveFault> {};

TEST_P(SaveFaultTest, TheOldFilesSurviveAndTheFailureIsShown) {
    const SaveFault& c = GetParam();
    test::WriteSettings("initdig.txt", {});
    test::WriteSettings(kTarget, {{2, "COM4"}});
    Start();
    c.prepare();
    const QByteArray oldSettings = ReadBytes("initdig.txt");
    const QByteArray oldTarget = ReadBytes(kTarget);
    const QStringList filesBefore = FilesIn(".");
    control<QAction>("MLanguage")->trigger();  // line 16 changes, so a new file would differ
    form().ClearMem();
    dialogs.saveName = QFileInfo(kTarget).absoluteFilePath();
    {
        std::unique_ptr<test::FileSizeLimit> limit;
        if (c.diskFull) limit = std::make_unique<test::FileSizeLimit>(kAlmostFullDisk);
        control<QAction>("Speichern1")->trigger();
    }
    ASSERT_EQ(errors.messages.size(), 1);
    EXPECT_TRUE(errors.messages.first().contains(c.targetWritten ? "initdig.txt" : kTarget))
        << errors.messages.first().toStdString();
    EXPECT_FALSE(form().MemLines().contains(kSaved));
    EXPECT_EQ(ReadBytes("initdig.txt"), oldSettings);
    EXPECT_EQ(ReadBytes(kTarget) == oldTarget, !c.targetWritten);
    EXPECT_EQ(FilesIn("."), filesBefore);  // no half-written temporary file left behind
}

INSTANTIATE_TEST_SUITE_P(Faults, SaveFaultTest, ::testing::ValuesIn(kSaveFaults),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProgramFixture, SavingWorksAgainOnceTheDiskHasRoom) {
    test::WriteSettings("initdig.txt", {});
    Start();
    dialogs.saveName = QFileInfo(kTarget).absoluteFilePath();
    {
        test::FileSizeLimit limit(kAlmostFullDisk);
        control<QAction>("Speichern1")->trigger();
    }
    control<QAction>("Speichern1")->trigger();
    EXPECT_EQ(errors.messages.size(), 1);
    EXPECT_EQ(form().MemLines(), QStringList{kSaved});
    EXPECT_EQ(test::ReadLines(kTarget).value(2), "COM1");
}

// ---- exit ----

struct ExitFault {
    const char* name;
    bool diskFull;
    bool settingsFileIsAFolder;
};

void PrintTo(const ExitFault& c, std::ostream* os) {
    *os << c.name;
}

const ExitFault kExitFaults[] = {
    {"DiskFull", true, false},
    {"SettingsFileIsAFolder", false, true},
};

class ExitFaultTest : public ProgramFixture, public ::testing::WithParamInterface<ExitFault> {};

// The last good settings file stays, so the next start restores the last good state.
TEST_P(ExitFaultTest, OnlyBeepsAndTheNextStartFindsTheOldFile) {
    const ExitFault& c = GetParam();
    test::WriteSettings("initdig.txt", {{2, "COM3"}});
    Start();
    if (c.settingsFileIsAFolder) {
        QFile::remove("initdig.txt");
        QDir().mkdir("initdig.txt");
    }
    const QByteArray oldSettings = ReadBytes("initdig.txt");
    program->Show();
    control<QAction>("COM21")->trigger();  // a file written now would name COM2
    const int beeps = BeepCount();
    {
        std::unique_ptr<test::FileSizeLimit> limit;
        if (c.diskFull) limit = std::make_unique<test::FileSizeLimit>(kAlmostFullDisk);
        Exit();
    }
    EXPECT_EQ(BeepCount() - beeps, 1);
    EXPECT_TRUE(errors.messages.isEmpty()) << errors.messages.join('\n').toStdString();
    EXPECT_FALSE(form().isVisible());
    EXPECT_EQ(QFileInfo("initdig.txt").isDir(), c.settingsFileIsAFolder);
    EXPECT_EQ(ReadBytes("initdig.txt"), oldSettings);
    if (c.settingsFileIsAFolder) return;

    program.reset();
    Start();
    EXPECT_EQ(program->session.ComPortNumber, 3);
    EXPECT_TRUE(form().MemLines().isEmpty()) << form().MemLines().join('|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Faults, ExitFaultTest, ::testing::ValuesIn(kExitFaults),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- start-up ----

struct BrokenSettings {
    const char* name;
    std::function<bool()> make;  // false: this kind cannot be made here
    const char* reason;          // part of the memo line under the heading
    bool replacedAtExit;
};

void PrintTo(const BrokenSettings& c, std::ostream* os) {
    *os << c.name;
}

bool WriteRaw(const QByteArray& bytes) {
    QFile file("initdig.txt");
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A socket cannot be opened as a file, not even by root. It stays after its descriptor
// is closed.
bool MakeSocket() {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, "initdig.txt");
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

// Without read permission; root reads it anyway, so this kind exists only for other users.
bool MakeUnreadable() {
    test::WriteSettings("initdig.txt", {});
    QFile::setPermissions("initdig.txt", QFileDevice::WriteOwner);
    return ::access("initdig.txt", R_OK) != 0;
}

// Plays the writer of a FIFO named initdig.txt: a program that blocks opening it for reading
// is noticed (only then does a non-blocking open for writing succeed) and let go on, so
// that such a start fails the test instead of hanging it.
class FifoReaderWatch {
  public:
    FifoReaderWatch() : watching_([this] { Watch(); }) {}
    ~FifoReaderWatch() {
        stop_ = true;
        watching_.join();
    }
    bool readerBlocked() const { return readerBlocked_; }

  private:
    void Watch() {
        while (!stop_) {
            struct stat info {};
            const bool fifo = ::lstat("initdig.txt", &info) == 0 && S_ISFIFO(info.st_mode);
            const int fd = fifo ? ::open("initdig.txt", O_WRONLY | O_NONBLOCK) : -1;
            if (fd >= 0) {
                readerBlocked_ = true;
                ::close(fd);  // the reader sees the end of the file
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    std::atomic<bool> stop_{false};
    std::atomic<bool> readerBlocked_{false};
    std::thread watching_;
};

const BrokenSettings kBrokenSettings[] = {
    {"AFolder", [] { return QDir().mkdir("initdig.txt"); }, "Ordner", false},
    {"ASocket", MakeSocket, "initdig.txt", true},
    {"NoReadPermission", MakeUnreadable, "initdig.txt", true},
    {"TooLarge", [] { return WriteRaw(QByteArray((1 << 20) + 1, '7')); }, "zu groß", true},
    {"BinaryGarbage", [] { return WriteRaw(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)); },
     "Zeilen", true},
    {"CutAfterTheDeviceType",
     [] { return WriteRaw("4824-1\r\nV6.0\r\nCOM2\r\n4\r\n1\r\n    0\r\n"); }, "Zeilen", true},
    {"AFifo", [] { return ::mkfifo("initdig.txt", 0600) == 0; }, "initdig.txt", true},
};

class BrokenSettingsTest : public ProgramFixture,
                           public ::testing::WithParamInterface<BrokenSettings> {};

TEST_P(BrokenSettingsTest, IsReportedAndTheProgramStartsAsOnAFirstStart) {
    const BrokenSettings& c = GetParam();
    if (!c.make()) GTEST_SKIP() << "cannot make this kind of file as this user";
    {
        FifoReaderWatch watch;
        Start();
        EXPECT_FALSE(watch.readerBlocked()) << "the start waited for a writer";
    }
    const QStringList memo = form().MemLines();
    ASSERT_EQ(memo.size(), 2) << memo.join('|').toStdString();
    EXPECT_EQ(memo[0], kBadSettingsHeading);
    EXPECT_TRUE(memo[1].contains(c.reason)) << memo[1].toStdString();
    EXPECT_TRUE(control<OneShotTimer>("starttimer")->enabled());
    EXPECT_TRUE(errors.messages.isEmpty()) << errors.messages.join('\n').toStdString();

    test::WhenModalShows([](QWidget* window) {
        window->findChild<QAbstractButton*>("pre2")->click();
        window->findChild<QAbstractButton*>("okbutton")->click();
    });
    program->Show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return bench->power(2); }, 5000));
    const int beeps = BeepCount();
    Exit();
    EXPECT_EQ(BeepCount() - beeps, c.replacedAtExit ? 0 : 1);
    EXPECT_EQ(test::ReadLines("initdig.txt").value(2), c.replacedAtExit ? "COM2" : "");
}

INSTANTIATE_TEST_SUITE_P(Kinds, BrokenSettingsTest, ::testing::ValuesIn(kBrokenSettings),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zmt::faults
