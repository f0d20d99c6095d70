// Appending to the journal and reading it back, whatever the file holds and wherever it is:
// torn and binary lines, a folder or a FIFO in its place, a full disk, a read-only folder,
// and two programs appending at once.
#include "FileSizeLimit.h"
#include "ReadOnlyFolder.h"
#include "journal/JournalFile.h"

#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zmt::journal {
namespace {

JournalRecord Record(const QString& id, const QString& operation = "write") {
    JournalRecord record;
    record.id = id;
    record.time = "2024-05-06T07:08:09.010+02:00";
    record.operation = operation;
    record.port = "COM1";
    record.result = JournalResult::Succeeded;
    record.asFound = Image{};
    return record;
}

class JournalFileTest : public ::testing::Test {
  protected:
    QString path() const { return folder.filePath("data/journal.jsonl"); }
    void WriteRaw(const QByteArray& bytes) {
        QDir().mkpath(folder.filePath("data"));
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray Raw() const {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList Ids(const JournalContents& contents) const {
        QStringList ids;
        for (const JournalRecord& record : contents.records) ids << record.id;
        return ids;
    }

    QTemporaryDir folder;
};

TEST_F(JournalFileTest, AppendsMakeTheFolderAndReadBackInOrder) {
    ASSERT_TRUE(ProbeJournal(path()).ok);
    EXPECT_FALSE(QFileInfo::exists(path()));  // the probe writes nothing
    for (const char* id : {"a", "b", "c"}) ASSERT_TRUE(AppendRecord(path(), Record(id)).ok);
    const JournalContents contents = ReadJournal(path());
    EXPECT_EQ(Ids(contents), QStringList({"a", "b", "c"}));
    EXPECT_TRUE(contents.skipped.empty());
    EXPECT_EQ(Raw().count('\n'), 3);
}

struct DamagedJournal {
    const char* what;
    QByteArray bytes;
    QStringList ids;
    std::vector<qint64> skippedLines;
    std::vector<JournalReason> why = {};
};

TEST_F(JournalFileTest, LinesThatAreNoRecordAreSkippedByNumberAndTheRestIsRead) {
    const QByteArray a = ToLine(Record("a"));
    const QByteArray b = ToLine(Record("b"));
    const std::vector<DamagedJournal> cases{
        {"empty file", "", {}, {}},
        {"torn last line", a + b.left(b.size() / 2), {"a"}, {2}, {{JournalReason::LineWithoutEnd}}},
        {"binary line",
         a + QByteArray("\x00\xff\xfe\x01zz\n", 7) + b,
         {"a", "b"},
         {2},
         {{JournalReason::NotARecord}}},
        {"record missing its id",
         a + "{\"time\":\"t\",\"operation\":\"write\"}\n" + b,
         {"a", "b"},
         {2},
         {{JournalReason::IncompleteRecord, "id"}}},
        {"json that is no object", "[1,2,3]\n" + a, {"a"}, {1}, {{JournalReason::NotARecord}}},
        {"blank lines and CRLF", "\n" + a.chopped(1) + "\r\n\n" + b, {"a", "b"}, {}},
    };
    for (const DamagedJournal& damaged : cases) {
        WriteRaw(damaged.bytes);
        const JournalContents contents = ReadJournal(path());
        EXPECT_TRUE(contents.error.isEmpty()) << damaged.what;
        EXPECT_EQ(Ids(contents), damaged.ids) << damaged.what;
        std::vector<qint64> lines;
        std::vector<JournalReason> why;
        for (const SkippedLine& skipped : contents.skipped) {
            lines.push_back(skipped.line);
            why.push_back(skipped.why);
        }
        EXPECT_EQ(lines, damaged.skippedLines) << damaged.what;
        EXPECT_EQ(why, damaged.why) << damaged.what;
        EXPECT_EQ(Raw(), damaged.bytes) << damaged.what << ": reading never rewrites";
    }
}

TEST_F(JournalFileTest, AnAppendAfterATornLineStartsOnALineOfItsOwn) {
    const QByteArray torn = ToLine(Record("a")) + ToLine(Record("b")).left(20);
    WriteRaw(torn);
    ASSERT_TRUE(AppendRecord(path(), Record("c")).ok);
    const JournalContents contents = ReadJournal(path());
    EXPECT_EQ(Ids(contents), QStringList({"a", "c"}));
    ASSERT_EQ(contents.skipped.size(), 1u);
    EXPECT_EQ(contents.skipped[0].line, 2);
    EXPECT_TRUE(Raw().startsWith(torn));  // nothing before the append was changed
}

TEST_F(JournalFileTest, AMissingJournalIsEmpty) {
    const JournalContents contents = ReadJournal(path());
    EXPECT_TRUE(contents.records.empty());
    EXPECT_TRUE(contents.error.isEmpty());
}

TEST_F(JournalFileTest, AFolderInPlaceOfTheJournalIsNamedAndNotWritten) {
    ASSERT_TRUE(QDir().mkpath(path()));
    EXPECT_FALSE(ReadJournal(path()).error.isEmpty());
    EXPECT_FALSE(ProbeJournal(path()).ok);
    const AppendResult appended = AppendRecord(path(), Record("a"));
    EXPECT_FALSE(appended.ok);
    EXPECT_EQ(appended.reason.code, JournalReason::IsAFolder);
}

TEST_F(JournalFileTest, AFifoInPlaceOfTheJournalNeverBlocks) {
    QDir().mkpath(folder.filePath("data"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path()).constData(), 0644), 0);
    // Nobody reads or writes the other end: opening it the usual way would wait for ever.
    EXPECT_EQ(ReadJournal(path()).error.code, JournalReason::NotARegularFile);
    EXPECT_FALSE(ProbeJournal(path()).ok);
    EXPECT_FALSE(AppendRecord(path(), Record("a")).ok);
}

TEST_F(JournalFileTest, ADeviceInPlaceOfTheJournalIsRefused) {
    EXPECT_FALSE(ProbeJournal("/dev/full").ok);
    EXPECT_FALSE(AppendRecord("/dev/full", Record("a")).ok);
    EXPECT_FALSE(ReadJournal("/dev/zero").error.isEmpty());  // would read for ever
}

TEST_F(JournalFileTest, AFullDiskIsSaidAtTheAppendAndKeepsWhatWasThere) {
    ASSERT_TRUE(AppendRecord(path(), Record("a")).ok);
    const QByteArray before = Raw();
    {
        const test::FileSizeLimit full(before.size() + 10);
        const AppendResult appended = AppendRecord(path(), Record("b"));
        EXPECT_FALSE(appended.ok);
        EXPECT_FALSE(appended.reason.isEmpty());
    }
    const JournalContents contents = ReadJournal(path());
    EXPECT_EQ(Ids(contents), QStringList({"a"}));  // a partial line, if any, is skipped
    EXPECT_TRUE(Raw().startsWith(before));
}

TEST_F(JournalFileTest, AReadOnlyFolderIsSaidBeforeTheAppend) {
    QDir().mkpath(folder.filePath("data"));
    const link::test::ReadOnlyFolder readOnly(folder.filePath("data"));
    EXPECT_FALSE(ProbeJournal(path()).ok);
    EXPECT_FALSE(AppendRecord(path(), Record("a")).ok);
}

TEST_F(JournalFileTest, TwoProgramsAppendingAtOnceEachLandWhole) {
    constexpr int kEach = 150;
    std::vector<pid_t> children;
    for (const char* name : {"first", "second"}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            JournalRecord record = Record(QString());
            // Long enough that a torn write would show.
            record.verdict = QStringList(40, QString::fromLatin1(name).repeated(8));
            bool ok = true;
            for (int i = 0; i < kEach; ++i) {
                record.id = QStringLiteral("%1-%2").arg(QLatin1String(name)).arg(i);
                ok = AppendRecord(path(), record).ok && ok;
            }
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const JournalContents contents = ReadJournal(path());
    EXPECT_TRUE(contents.skipped.empty());
    ASSERT_EQ(contents.records.size(), size_t(2 * kEach));
    for (const JournalRecord& record : contents.records)
        EXPECT_EQ(record.verdict.size(), 40) << record.id.toStdString();
}

}  // namespace
}  // namespace zmt::journal
