// The journal's file calls on Windows: whole records appended and flushed, a torn last line
// ended before the next record, a write's two records read as one, folders with non-ASCII
// names, and a folder that cannot be made refused with the system's reason.

#include "journal/JournalFile.h"
#include "journal/JournalLocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace zmt::journal {
namespace {

JournalRecord Record(const QString& id, JournalResult result = JournalResult::Succeeded,
                     const QString& outcomeOf = {}) {
    JournalRecord record;
    record.id = id;
    record.time = "2026-12-10T09:08:07.006+01:00";
    record.operation = "write";
    record.port = "COM1";
    record.result = result;
    record.outcomeOf = outcomeOf;
    record.asFound = Image{};
    return record;
}

QStringList Ids(const JournalContents& contents) {
    QStringList ids;
    for (const JournalRecord& record : contents.records)
        ids << record.id + u':' + record.resultWord();
    return ids;
}

class JournalFileWin32Test : public ::testing::TestWithParam<const char*> {
  protected:
    // A journal in a new folder below one named by the case.
    QString path() const {
        return QDir(folder_.path())
            .filePath(QString::fromUtf8(GetParam()) + "/zmt4824/journal.jsonl");
    }
    QByteArray raw() const {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QTemporaryDir folder_;
};

TEST_P(JournalFileWin32Test, RecordsAreAppendedWholeAndAWritesTwoRecordsReadAsOne) {
    EXPECT_TRUE(ProbeJournal(path()).ok) << "a journal that does not exist yet can be made";
    ASSERT_TRUE(AppendRecord(path(), Record("r")).ok);
    ASSERT_TRUE(AppendRecord(path(), Record("s", JournalResult::Started)).ok);
    ASSERT_TRUE(AppendRecord(path(), Record("o", JournalResult::Failed, "s")).ok);
    ASSERT_TRUE(AppendRecord(path(), Record("k", JournalResult::Started)).ok);
    EXPECT_EQ(raw().count('\n'), 4) << "one line per record, LF only";
    const JournalContents contents = ReadJournal(path());
    EXPECT_TRUE(contents.error.isEmpty()) << contents.error.detail.toStdString();
    EXPECT_EQ(Ids(contents), (QStringList{"r:succeeded", "s:failed", "k:interrupted"}));
    EXPECT_TRUE(ProbeJournal(path()).ok);
}

TEST_P(JournalFileWin32Test, ATornLastLineIsEndedBeforeTheNextRecordAndSkippedOnReading) {
    ASSERT_TRUE(AppendRecord(path(), Record("a")).ok);
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(ToLine(Record("b")).left(25));
    }
    ASSERT_TRUE(AppendRecord(path(), Record("c")).ok);
    const JournalContents contents = ReadJournal(path());
    EXPECT_EQ(Ids(contents), (QStringList{"a:succeeded", "c:succeeded"}));
    ASSERT_EQ(contents.skipped.size(), 1u);
    EXPECT_EQ(contents.skipped[0].line, 2);
}

INSTANTIATE_TEST_SUITE_P(Folders, JournalFileWin32Test,
                         ::testing::Values("plain", "Prüfstand Größe", "Ωmega-計器"));

TEST(JournalFileWin32RefusalTest, AFolderThatCannotBeMadeIsRefusedWithItsReason) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // A file where the journal's folder should be.
    QFile blocker(folder.filePath("zmt4824"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = folder.filePath("zmt4824/journal.jsonl");
    const AppendResult probe = ProbeJournal(path);
    EXPECT_FALSE(probe.ok);
    EXPECT_FALSE(probe.reason.isEmpty());
    const AppendResult append = AppendRecord(path, Record("a"));
    EXPECT_FALSE(append.ok);
    EXPECT_TRUE(ReadJournal(path).records.empty());
}

TEST(JournalFileWin32RefusalTest, AFolderInPlaceOfTheJournalIsNoJournal) {
    QTemporaryDir folder;
    ASSERT_TRUE(QDir().mkpath(folder.filePath("journal.jsonl")));
    const QString path = folder.filePath("journal.jsonl");
    EXPECT_FALSE(ProbeJournal(path).ok);
    EXPECT_FALSE(AppendRecord(path, Record("a")).ok);
    EXPECT_EQ(ReadJournal(path).error, JournalReason{JournalReason::IsAFolder});
}

TEST(JournalLocationWin32Test, TheJournalLivesInTheLocalApplicationData) {
    const QString saved = qEnvironmentVariable("LOCALAPPDATA");
    // Wide: the name is not in every code page.
    ::_wputenv_s(L"LOCALAPPDATA", L"C:\\Users\\J\u00f6rg \u03a9\\AppData\\Local");
    EXPECT_EQ(QDir::fromNativeSeparators(JournalPath("zmt4824")),
              QStringLiteral("C:/Users/Jörg Ω/AppData/Local/zmt4824/journal.jsonl"));
    ::_wputenv_s(L"LOCALAPPDATA", reinterpret_cast<const wchar_t*>(saved.utf16()));
}

}  // namespace
}  // namespace zmt::journal
