// The tool's journal: each operation on the meter appends one record, `journal` lists them,
// and `restore` writes a record's as-found image back through the same operation.
#include "CliFixture.h"

#include "journal/JournalFile.h"
#include "journal/JournalLocation.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace zmt::cli {
namespace {

const sim::ImageWords kMeterBeforeWrite{65533, 100,  8233,  2049, 0xC0,  2,     3438,  3538,
                                        7,     9450, 12000, 9000, 11500, 11400, 11500, 1};

class CliJournalTest : public CliTest {
  protected:
    CliJournalTest() {
        // Each test its own journal.
        savedDataHome_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome_.path()));
    }
    ~CliJournalTest() override { qputenv("XDG_DATA_HOME", savedDataHome_); }

    std::vector<journal::JournalRecord> Records() const {
        return journal::ReadJournal(journal::JournalPath()).records;
    }
    static journal::Image ImageOf(const sim::ImageWords& words) {
        journal::Image image{};
        std::copy(words.begin(), words.end(), image.begin());
        return image;
    }

  private:
    QTemporaryDir dataHome_;
    QByteArray savedDataHome_;
};

TEST_F(CliJournalTest, AWriteIsRecordedWithWhatItFoundAndWhatItWrote) {
    AddMeter(kMeterBeforeWrite);
    WriteConfiguration("example.dig");
    ASSERT_EQ(Run({"write", "--port", "COM1", "example.dig", "--lang", "en", "--quiet"}), Success);
    const auto records = Records();
    ASSERT_EQ(records.size(), 1u);
    const journal::JournalRecord& record = records[0];
    EXPECT_EQ(record.operation, "write");
    EXPECT_EQ(record.port, "COM1");
    EXPECT_EQ(record.result, "succeeded");
    EXPECT_EQ(record.exitCode, Success);
    EXPECT_EQ(record.language, "en");
    EXPECT_EQ(record.asFound, ImageOf(kMeterBeforeWrite));
    EXPECT_TRUE(record.asFoundValid);
    EXPECT_EQ(record.written, ImageOf(station->storedImage()));
    EXPECT_TRUE(record.file.endsWith("example.dig"));
    EXPECT_EQ(record.fileSha256.size(), 64);
    EXPECT_FALSE(record.operatorName.isEmpty());
    EXPECT_TRUE(record.verdict.contains("device configuration successfull"));
    EXPECT_TRUE(record.time.contains(u'T'));
}

TEST_F(CliJournalTest, EveryOperationOnTheMeterIsRecordedFailuresToo) {
    AddMeter();
    WriteConfiguration("example.dig");
    Run({"read", "--port", "COM1", "--quiet"});
    Run({"verify", "--port", "COM1", "example.dig", "--quiet"});
    Run({"show", "example.dig"});  // no meter: no record
    station->setFault(sim::Fault::noMeter());
    EXPECT_EQ(Run({"write", "--port", "COM1", "example.dig", "--quiet"}), NoMeter);
    const auto records = Records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].operation, "read");
    EXPECT_EQ(records[1].operation, "verify");
    EXPECT_EQ(records[1].exitCode, Differences);
    EXPECT_EQ(records[2].operation, "write");
    EXPECT_EQ(records[2].result, "failed");
    EXPECT_EQ(records[2].exitCode, NoMeter);
    EXPECT_FALSE(records[2].asFound);
    EXPECT_FALSE(records[2].written);
}

TEST_F(CliJournalTest, ListsAsTextJsonAndCsv) {
    AddMeter();
    WriteConfiguration("example.dig");
    Run({"write", "--port", "COM1", "example.dig", "--quiet"});
    Run({"read", "--port", "COM1", "--quiet"});
    const QString id = Records().back().id;

    console.out.clear();
    EXPECT_EQ(Run({"journal", "--last", "1"}), Success);
    ASSERT_EQ(console.out.size(), 1);
    EXPECT_TRUE(console.out[0].contains(id));

    console.out.clear();
    EXPECT_EQ(Run({"journal", "--json"}), Success);
    const QJsonObject json = QJsonDocument::fromJson(Out().toUtf8()).object();
    EXPECT_EQ(json["records"].toArray().size(), 2);

    console.out.clear();
    EXPECT_EQ(Run({"journal", "--csv"}), Success);
    ASSERT_EQ(console.out.size(), 3);
    EXPECT_TRUE(console.out[0].startsWith("id,time,"));
    EXPECT_EQ(console.out[2].split(u',').size(), console.out[0].split(u',').size());
}

TEST_F(CliJournalTest, ListingSaysWhichLinesItSkipped) {
    QDir().mkpath(journal::DataFolder());
    QFile file(journal::JournalPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "{\"id\":\"a\",\"time\":\"t\",\"operation\":\"read\",\"site\":\"north\"}\n\x01\x02\n{"
        "\"id\":");
    file.close();
    EXPECT_EQ(Run({"journal", "--json", "--lang", "en"}), Success);
    EXPECT_TRUE(Err().contains("line 2 skipped")) << Err().toStdString();
    EXPECT_TRUE(Err().contains("line 3 skipped")) << Err().toStdString();
    const QJsonObject json = QJsonDocument::fromJson(console.out.join(u'\n').toUtf8()).object();
    ASSERT_EQ(json["records"].toArray().size(), 1);
    EXPECT_EQ(json["records"].toArray()[0].toObject()["site"].toString(), "north");
}

TEST_F(CliJournalTest, RestoreBringsBackWhatTheMeterHeldBeforeTheWrite) {
    AddMeter(kMeterBeforeWrite);
    WriteConfiguration("example.dig");
    ASSERT_EQ(Run({"write", "--port", "COM1", "example.dig", "--quiet"}), Success);
    ASSERT_NE(station->storedImage(), kMeterBeforeWrite);
    const QString writeId = Records().back().id;

    EXPECT_EQ(Run({"restore", "--port", "COM1", "--last", "--yes", "--lang", "en", "--quiet"}),
              Success)
        << Err().toStdString();
    EXPECT_EQ(station->storedImage(), kMeterBeforeWrite);
    EXPECT_TRUE(Out().contains("meter restored, the read-back matches")) << Out().toStdString();
    const auto records = Records();
    ASSERT_EQ(records.size(), 2u);
    const journal::JournalRecord& restore = records[1];
    EXPECT_EQ(restore.operation, "restore");
    EXPECT_EQ(restore.restoredFrom, writeId);
    EXPECT_EQ(restore.written, ImageOf(kMeterBeforeWrite));
    EXPECT_EQ(restore.readBack, ImageOf(kMeterBeforeWrite));
    EXPECT_EQ(restore.asFound, records[0].written);  // its own as-found: what the write left
    EXPECT_EQ(restore.exitCode, Success);
}

TEST_F(CliJournalTest, RestoreToAPortWithoutAMeterWritesNothingAndIsRecorded) {
    AddMeter(kMeterBeforeWrite);
    WriteConfiguration("example.dig");
    ASSERT_EQ(Run({"write", "--port", "COM1", "example.dig", "--quiet"}), Success);
    const int stored = station->imagesStored();
    station->setFault(sim::Fault::noMeter());
    EXPECT_EQ(Run({"restore", "--port", "COM1", "--last", "--yes", "--quiet"}), NoMeter);
    EXPECT_EQ(station->imagesStored(), stored);
    const auto records = Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].operation, "restore");
    EXPECT_EQ(records[1].result, "failed");
    EXPECT_FALSE(records[1].written);
}

TEST_F(CliJournalTest, RestoreAsksFirstAndRefusesWithoutATerminal) {
    AddMeter(kMeterBeforeWrite);
    WriteConfiguration("example.dig");
    ASSERT_EQ(Run({"write", "--port", "COM1", "example.dig", "--quiet"}), Success);
    const sim::ImageWords written = station->storedImage();
    EXPECT_EQ(Run({"restore", "--port", "COM1", "--last", "--quiet"}), UsageError);
    EXPECT_TRUE(Err().contains("--yes"));
    console.terminal = true;
    console.input = {"n"};
    EXPECT_EQ(Run({"restore", "--port", "COM1", "--last", "--quiet", "--lang", "en"}), UsageError);
    EXPECT_TRUE(Out().contains("restore the meter to its state of")) << Out().toStdString();
    EXPECT_EQ(station->storedImage(), written);
    console.input = {"y"};
    EXPECT_EQ(Run({"restore", "--port", "COM1", "--last", "--quiet"}), Success);
    EXPECT_EQ(station->storedImage(), kMeterBeforeWrite);
}

TEST_F(CliJournalTest, AMeterThatIsNotTheOneOfTheRecordIsNamedBeforeItIsOverwritten) {
    AddMeter(kMeterBeforeWrite);
    WriteConfiguration("example.dig");
    ASSERT_EQ(Run({"write", "--port", "COM1", "example.dig", "--quiet"}), Success);
    station->setStoredImage(sim::FactoryImage());  // another meter now
    console.terminal = true;
    console.input = {"y", "n"};
    EXPECT_EQ(Run({"restore", "--port", "COM1", "--last", "--quiet", "--lang", "en"}), DataError);
    EXPECT_TRUE(Err().contains("it may be another meter")) << Err().toStdString();
    EXPECT_EQ(station->storedImage(), sim::FactoryImage());
    EXPECT_EQ(Records().back().result, "cancelled");
}

TEST_F(CliJournalTest, ABlankMetersAsFoundIsNeverWrittenBack) {
    AddMeter(sim::ErasedImage());
    WriteConfiguration("example.dig");
    ASSERT_EQ(Run({"write", "--port", "COM1", "example.dig", "--quiet"}), Success);
    EXPECT_FALSE(Records().back().asFoundValid);
    const sim::ImageWords written = station->storedImage();
    EXPECT_EQ(Run({"restore", "--port", "COM1", "--last", "--yes", "--lang", "en"}), FileError);
    EXPECT_TRUE(Err().contains("no valid configuration")) << Err().toStdString();
    EXPECT_EQ(station->storedImage(), written);
}

TEST_F(CliJournalTest, AnUnwritableJournalIsSaidOnStandardErrorAndTheWriteGoesOn) {
    AddMeter();
    WriteConfiguration("example.dig");
    QDir().mkpath(journal::JournalPath());  // a folder where the file should be
    EXPECT_EQ(Run({"write", "--port", "COM1", "example.dig", "--quiet", "--lang", "en"}), Success);
    EXPECT_TRUE(Err().startsWith("Warning: the journal")) << Err().toStdString();
    EXPECT_EQ(station->storedImage(), WorkedExampleImage());
}

// The sheet of `report` names the newest successful write of a file with the same bytes
// that wrote this configuration; a file changed since names none.
TEST_F(CliJournalTest, TheReportNamesTheWriteOfTheFilesConfiguration) {
    AddMeter(kMeterBeforeWrite);
    WriteConfiguration("example.dig");
    WriteConfiguration("other.dig", {{8, " 1000"}});
    ASSERT_EQ(Run({"write", "--port", "COM1", "example.dig", "--quiet"}), Success);
    ASSERT_EQ(Run({"write", "--port", "COM1", "other.dig", "--quiet"}), Success);
    station->setFault(sim::Fault::noMeter());
    EXPECT_EQ(Run({"write", "--port", "COM1", "example.dig", "--quiet"}), NoMeter);
    const auto records = Records();
    ASSERT_EQ(records.size(), 3u);
    const auto sheetText = [this](const QString& file) {
        QFile::remove("sheet.pdf");
        EXPECT_EQ(Run({"report", file, "--output", "sheet.pdf", "--lang", "en"}), Success);
        QProcess tool;
        tool.start("pdftotext", {"-layout", "sheet.pdf", "-"});
        EXPECT_TRUE(tool.waitForFinished(60000));
        return QString::fromUtf8(tool.readAllStandardOutput()).simplified();
    };
    EXPECT_TRUE(sheetText("example.dig").contains("journal record of the write: " + records[0].id));
    EXPECT_TRUE(sheetText("other.dig").contains("journal record of the write: " + records[1].id));
    WriteConfiguration("example.dig", {{8, " 1500"}});
    EXPECT_FALSE(sheetText("example.dig").contains("journal record"));
}

TEST_F(CliJournalTest, RestoreOptionsAreChecked) {
    for (const QStringList& arguments :
         {QStringList{"restore", "--port", "COM1"},
          QStringList{"restore", "--port", "COM1", "--id", "x", "--last"},
          QStringList{"restore", "--last"}, QStringList{"journal", "--json", "--csv"},
          QStringList{"journal", "--last", "0"}})
        EXPECT_FALSE(ParseCommandLine(arguments).options) << arguments.join(' ').toStdString();
    const auto parsed = ParseCommandLine({"journal", "--last", "5", "--csv"});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->lastCount, 5);
}

}  // namespace
}  // namespace zmt::cli
