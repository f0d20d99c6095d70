// COM numbers on Windows: the binding file comN-binding.txt in the working folder names the Windows
// port that COMn opens, the assignment writes such files, and what a number reaches is read from
// them without opening anything. Folders with non-ASCII names included.

#include "link/ComBindingFile.h"
#include "link/ComLinkBinding.h"
#include "link/ComPortNames.h"
#include "link/ComTarget.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace zmt::link {
namespace {

void WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

struct NameCase {
    const char* name;
    bool valid;
};

TEST(Win32PortNameTest, OnlyTheSystemsSpellingOfComOneTo256IsAPortName) {
    const std::vector<NameCase> cases{{"COM1", true},   {"COM9", true},    {"COM10", true},
                                      {"COM256", true}, {"COM257", false}, {"COM0", false},
                                      {"COM01", false}, {"com1", false},   {"COM", false},
                                      {"COM1x", false}, {"LPT1", false},   {"/dev/ttyS0", false},
                                      {"", false},      {"COM1234", false}};
    for (const NameCase& c : cases) EXPECT_EQ(IsWindowsPortName(c.name), c.valid) << c.name;
}

struct BindingCase {
    const char* label;
    QByteArray content;  // of com3; null: no file
    std::string opens;
};

TEST(Win32PortNameTest, ComNOpensThePortItsBindingNamesElseItsOwn) {
    const std::vector<BindingCase> cases{
        {"no binding", QByteArray(), "COM3"},       {"binding", "COM7\r\n", "COM7"},
        {"binding above nine", "COM12\n", "COM12"}, {"no line end", "COM8", "COM8"},
        {"no port name", "hello\n", "COM3"},        {"empty", "", "COM3"}};
    for (const BindingCase& c : cases) {
        QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/Prüfstand-Ω-XXXXXX"));
        ASSERT_TRUE(folder.isValid());
        if (!c.content.isNull()) WriteFile(folder.filePath("com3-binding.txt"), c.content);
        EXPECT_EQ(ComPortPathIn(folder.path().toStdString(), 3), c.opens) << c.label;
    }
}

TEST(Win32BindingTest, AnAssignmentWritesBindingsThatTheTargetsThenName) {
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/Zähler-XXXXXX"));
    ASSERT_TRUE(folder.isValid());
    const std::vector<PortEntry> catalog{
        {QStringLiteral("COM7"), {}, QStringLiteral("USB Serial Port"), {}, {}, {}, {}}};
    EXPECT_TRUE(
        BindComPorts(folder.path(), {{1, QStringLiteral("COM7")}, {2, QStringLiteral("COM12")}})
            .empty());
    const ComTarget first = ResolveComTarget(1, folder.path(), catalog);
    EXPECT_EQ(first.kind, ComTargetKind::Link);
    EXPECT_EQ(first.path, QStringLiteral("COM7"));
    EXPECT_TRUE(first.exists);
    EXPECT_EQ(first.description, QStringLiteral("USB Serial Port"));
    const ComTarget second = ResolveComTarget(2, folder.path(), catalog);
    EXPECT_EQ(second.path, QStringLiteral("COM12"));
    EXPECT_FALSE(second.exists) << "COM12 is not in the catalog";
    EXPECT_EQ(ComPortPathIn(folder.path().toStdString(), 2), "COM12");

    // Unbinding removes the file: COM1 then opens the system's COM1.
    EXPECT_TRUE(BindComPorts(folder.path(), {{1, QString()}}).empty());
    EXPECT_EQ(ResolveComTarget(1, folder.path(), catalog).kind, ComTargetKind::Standard);
    EXPECT_EQ(ComPortPathIn(folder.path().toStdString(), 1), "COM1");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
              QStringList{QStringLiteral("com2-binding.txt")})
        << "no temporary file is left";
}

TEST(Win32BindingTest, TheUsersOwnFileAndAPathThatIsNoPortAreRefused) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    WriteFile(folder.filePath("com1-binding.txt"), "my notes\n");
    const auto own = BindComPorts(folder.path(), {{1, QStringLiteral("COM7")}});
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(own[0].failure, BindFailure::NotALink);
    EXPECT_EQ(ResolveComTarget(1, folder.path(), {}).kind, ComTargetKind::OwnFile);

    const auto notAPort = BindComPorts(folder.path(), {{2, QStringLiteral("/dev/ttyUSB0")}});
    ASSERT_EQ(notAPort.size(), 1u);
    EXPECT_EQ(notAPort[0].failure, BindFailure::DeviceMissing);
    EXPECT_FALSE(QFile::exists(folder.filePath("com2-binding.txt")));
}

}  // namespace
}  // namespace zmt::link
