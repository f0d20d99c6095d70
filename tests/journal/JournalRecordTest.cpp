// A record as JSON and back, what makes an object no record, and the table for a
// spreadsheet.
#include "journal/JournalCsv.h"
#include "journal/JournalLocation.h"
#include "journal/JournalRecord.h"

#include <QJsonArray>

namespace zmt::journal {
namespace {

JournalRecord FullRecord() {
    JournalRecord record;
    record.id = "0b7c6f3e-1111-4222-8333-444455556666";
    record.time = "2024-05-06T07:08:09.010+02:00";
    record.version = "6.01";
    record.operation = "write";
    record.port = "COM1";
    record.device = "/dev/serial/by-id/usb-FTDI_adapter-if00-port0";
    record.operatorName = "tech";
    record.file = "/plant/line, 3/meter.dig";
    record.fileSha256 = QString(64, u'a');
    record.language = "en";
    record.asFound = Image{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    record.asFoundValid = true;
    record.written = Image{0, 65535};
    record.result = JournalResult::Succeeded;
    record.verdict = {"Interface... O.K.", "device configuration \"successfull\""};
    record.exitCode = 0;
    return record;
}

TEST(JournalRecordTest, RoundTripsEveryField) {
    const JournalRecord record = FullRecord();
    const ParsedRecord parsed = FromJson(ToJson(record));
    ASSERT_TRUE(parsed.record) << parsed.missing.toStdString();
    EXPECT_EQ(ToJson(*parsed.record), ToJson(record));
    EXPECT_EQ(parsed.record->asFound, record.asFound);
    EXPECT_EQ(parsed.record->written, record.written);
    EXPECT_FALSE(parsed.record->readBack);
    EXPECT_TRUE(ToLine(record).endsWith('\n'));
    EXPECT_EQ(ToLine(record).count('\n'), 1);  // one record, one line
}

TEST(JournalRecordTest, NewerFieldsAreKeptAndWrittenAgain) {
    QJsonObject json = ToJson(FullRecord());
    json["format"] = 7;
    json["site"] = "plant 3";
    json["witness"] = QJsonObject{{"name", "A. Smith"}};
    const ParsedRecord parsed = FromJson(json);
    ASSERT_TRUE(parsed.record);
    EXPECT_EQ(parsed.record->unknown.value("site").toString(), "plant 3");
    EXPECT_TRUE(parsed.record->unknown.contains("witness"));
    EXPECT_FALSE(parsed.record->unknown.contains("id"));
    EXPECT_EQ(ToJson(*parsed.record).value("site").toString(), "plant 3");
}

TEST(JournalRecordTest, AnObjectWithoutIdTimeOrOperationIsNoRecord) {
    for (const char* field : {"id", "time", "operation"}) {
        QJsonObject json = ToJson(FullRecord());
        json.remove(QLatin1String(field));
        const ParsedRecord parsed = FromJson(json);
        EXPECT_FALSE(parsed.record) << field;
        EXPECT_EQ(parsed.missing, QLatin1String(field)) << parsed.missing.toStdString();
    }
}

TEST(JournalRecordTest, OtherMissingOrMalformedFieldsAreLeftEmpty) {
    const QJsonObject json{{"id", "x"},
                           {"time", "t"},
                           {"operation", "read"},
                           {"asFound", QJsonArray{1, 2, 3}},                // too short
                           {"written", QJsonArray::fromStringList({"a"})},  // no numbers
                           {"asFoundValid", true}};
    const ParsedRecord parsed = FromJson(json);
    ASSERT_TRUE(parsed.record);
    EXPECT_FALSE(parsed.record->asFound);
    EXPECT_FALSE(parsed.record->asFoundValid);  // no image, nothing valid to restore
    EXPECT_FALSE(parsed.record->written);
    EXPECT_TRUE(parsed.record->resultWord().isEmpty());
}

TEST(JournalCsvTest, OneColumnPerFieldAndSixteenPerImage) {
    const QStringList lines = JournalCsv({FullRecord()}).split(u'\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].split(u',').size(), 11 + 3 * 16 + 6);
    EXPECT_TRUE(lines[0].contains("asFound.w0,asFound.w1"));
    // The file name holds a comma, the verdict quotes: both quoted as a spreadsheet reads them.
    EXPECT_TRUE(lines[1].contains("\"/plant/line, 3/meter.dig\""));
    EXPECT_TRUE(
        lines[1].contains("\"Interface... O.K. / device configuration \"\"successfull\"\"\""));
    EXPECT_TRUE(lines[1].contains(",yes,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,0,65535,0,"));
}

// A text a spreadsheet would evaluate stays text; the numbers of the record stay numbers.
TEST(JournalCsvTest, TextsThatLookLikeFormulasAreKeptAsText) {
    struct Case {
        QString JournalRecord::*field;
        int column;
        QString value;
        QString cell;
    };
    const Case cases[] = {
        {&JournalRecord::file, 7, "=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
        {&JournalRecord::device, 5, "@SUM(A1)", "'@SUM(A1)"},
        {&JournalRecord::operatorName, 6, "+cmd", "'+cmd"},
        {&JournalRecord::port, 4, "-2+3", "'-2+3"},
        {&JournalRecord::operatorName, 6, "\tcmd", "'\tcmd"},
        {&JournalRecord::file, 7, "meter=1.dig", "meter=1.dig"},  // only the first character
        {&JournalRecord::restoredFrom, 65, "=1+1", "'=1+1"},
    };
    for (const Case& c : cases) {
        JournalRecord record = FullRecord();
        record.verdict.clear();
        record.*c.field = c.value;
        // Splitting at commas is enough here: no other field of the record holds one.
        const QStringList cells = JournalCsv({record}).split(u'\n')[1].split(u',');
        EXPECT_EQ(cells.value(c.column), c.cell) << c.value.toStdString();
    }
    JournalRecord record = FullRecord();
    record.file.clear();
    record.verdict = {"- failed"};
    record.offsetReading = -1000;
    record.exitCode = -1;
    const QStringList cells = JournalCsv({record}).split(u'\n')[1].split(u',');
    EXPECT_EQ(cells[11 + 48], "-1000");
    EXPECT_EQ(cells[11 + 48 + 3], "'- failed");
    EXPECT_EQ(cells[11 + 48 + 4], "-1");
}

TEST(JournalLocationTest, DataFolderFollowsXdgDataHomeOnlyWhenAbsolute) {
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/data/home");
    EXPECT_EQ(JournalPath(), "/data/home/zmt4824/journal.jsonl");
    EXPECT_EQ(JournalPath("zmt4824-demo"), "/data/home/zmt4824-demo/journal.jsonl");
    qputenv("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(DataFolder(), QDir::homePath() + "/.local/share/zmt4824");
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(DataFolder(), QDir::homePath() + "/.local/share/zmt4824");
    qputenv("XDG_DATA_HOME", saved);
}

}  // namespace
}  // namespace zmt::journal
