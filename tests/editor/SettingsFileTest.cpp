#include "EditorFixture.h"
#include "FileSizeLimit.h"
#include "editor/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace zmt {
namespace {

class SettingsFileTest : public EditorFixture {
  protected:
    QString pathOf(const QString& name) const { return dir.filePath(name); }

    void WriteBytes(const QString& name, const QByteArray& bytes) const {
        QFile file(pathOf(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QByteArray ReadBytes(const QString& name) const {
        QFile file(pathOf(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir dir;
};

TEST_F(SettingsFileTest, WritesTheFirstStartFileByteForByte) {
    Effects fx;
    editor.ApplyFirstStartDefaults(fx);
    session.ComPortName = "COM1";
    const SettingsResult result =
        WriteSettingsFile(pathOf(SettingsFileName), BuildSettingsLines(model, session));
    ASSERT_TRUE(result.ok) << result.message(texts, 1).toStdString();
    EXPECT_EQ(ReadBytes(SettingsFileName),
              QByteArray("4824-1\r\nV6.0\r\nCOM1\r\n4\r\n1\r\n    0\r\n    0\r\n   20\r\n"
                         " 2000\r\n   10\r\ndevice on\r\nsignal on\r\n 2000\r\n 2000\r\n"
                         "gwnorm\r\n+ / -\r\n0\r\n\r\n\r\n\r\n"));
}

TEST_F(SettingsFileTest, WritesLatin1) {
    ASSERT_TRUE(WriteSettingsFile(pathOf("a.dig"), {QString::fromUtf8("Größe ä"), ""}).ok);
    EXPECT_EQ(ReadBytes("a.dig"), QByteArray("Gr\xF6\xDF"
                                             "e \xE4\r\n\r\n"));
}

TEST_F(SettingsFileTest, SplitsEveryLineEnding) {
    struct Case {
        QByteArray bytes;
        QStringList lines;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},  // LF then CR: two endings
        {"x\r\n\r\n\r\n", {"x", "", ""}},
        {"", {}},
        {"\r\n", {""}},
        {"   20\r\n", {"   20"}},
        {"\xE4\xFC\r\n", {QString::fromUtf8("äü")}},
        {QByteArray("a\0b\r\n", 5), {QString("a") + QChar(0) + "b"}},
    };
    for (const auto& c : cases) {
        WriteBytes("in.dig", c.bytes);
        const SettingsFileContent content = ReadSettingsFile(pathOf("in.dig"));
        ASSERT_TRUE(content.result.ok) << content.result.message(texts, 1).toStdString();
        EXPECT_EQ(content.lines, c.lines) << c.bytes.toStdString();
    }
}

TEST_F(SettingsFileTest, ReadsBackWhatItWrote) {
    Effects fx;
    editor.ApplyFirstStartDefaults(fx);
    model.setField(Field::Skalin1, QString::fromUtf8("4,5"));
    const QStringList lines = BuildSettingsLines(model, session);
    ASSERT_TRUE(WriteSettingsFile(pathOf("round.dig"), lines).ok);
    EXPECT_EQ(ReadSettingsFile(pathOf("round.dig")).lines, lines);
}

TEST_F(SettingsFileTest, ReportsWhatCannotBeRead) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.dig"));
    WriteBytes("huge.dig", QByteArray(MaxSettingsFileSize + 1, 'x'));
    struct Case {
        QString path;
        const char* english;
        const char* german;
    };
    const Case cases[] = {
        {pathOf("missing.dig"), "the file does not exist", "die Datei existiert nicht"},
        {pathOf("folder.dig"), "this is a folder, not a file", "dies ist ein Ordner, keine Datei"},
        {pathOf("huge.dig"), "the file is too large for a settings file",
         "die Datei ist zu groß für eine Einstellungsdatei"},
        {"", "the file does not exist", "die Datei existiert nicht"},
    };
    for (const auto& c : cases) {
        const SettingsFileContent content = ReadSettingsFile(c.path);
        EXPECT_FALSE(content.result.ok);
        EXPECT_EQ(content.result.message(texts, 1), c.path + ": " + c.english);
        EXPECT_EQ(content.result.message(texts, 0), c.path + ": " + QString::fromUtf8(c.german));
        EXPECT_TRUE(content.lines.isEmpty());
    }
}

TEST_F(SettingsFileTest, AFailedWriteKeepsTheOldFile) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.dig"));
    const QString cases[] = {pathOf("no/such/folder/x.dig"), pathOf("folder.dig"), ""};
    for (const QString& path : cases) {
        const SettingsResult result = WriteSettingsFile(path, {"4824-1"});
        EXPECT_FALSE(result.ok) << path.toStdString();
        const QString message = result.message(texts, 1);
        EXPECT_TRUE(message.startsWith(path + ": cannot be written (")) << message.toStdString();
    }
    EXPECT_TRUE(QFileInfo(pathOf("folder.dig")).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 0);  // no leftovers
}

TEST_F(SettingsFileTest, AFullDiskKeepsTheOldFile) {
    const QStringList oldLines = BuildSettingsLines(model, session);
    ASSERT_TRUE(WriteSettingsFile(pathOf(SettingsFileName), oldLines).ok);
    const QByteArray oldBytes = ReadBytes(SettingsFileName);
    model.setField(Field::Skalin1, "12345");
    SettingsResult result;
    {
        // Room for part of the file only: the buffered lines fail at the final flush.
        test::FileSizeLimit limit(40);
        result = WriteSettingsFile(pathOf(SettingsFileName), BuildSettingsLines(model, session));
    }
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.message(texts, 0).startsWith(pathOf(SettingsFileName) +
                                                    ": kann nicht geschrieben werden ("));
    EXPECT_EQ(ReadBytes(SettingsFileName), oldBytes);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{SettingsFileName});
}

}  // namespace
}  // namespace zmt
