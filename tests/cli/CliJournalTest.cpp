// The tool's journal: each operation on the meter appends one record, `journal` lists them,
// and `restore` writes a record's as-found image back through the same operation.
#include "CliFixture.h"

#include "journal/JournalFile.h"
#include "journal/JournalLocation.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <deque>
#include <optional>

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
    EXPECT_EQ(record.resultWord(), "succeeded");
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
    EXPECT_EQ(records[2].resultWord(), "failed");
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
    EXPECT_EQ(records[1].resultWord(), "failed");
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
    EXPECT_EQ(Records().back().resultWord(), "cancelled");
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

// The as-found image is on the disk before the first byte of a write frame leaves: a write
// killed at any point after it leaves a record to restore from.
TEST_F(CliJournalTest, TheAsFoundRecordIsOnDiskBeforeTheFirstWriteByte) {
    struct Case {
        QStringList arguments;
        std::deque<QString> readings;
    };
    const Case cases[] = {
        {{"write", "--port", "COM1", "example.dig"}, {}},
        {{"write", "--verify", "--port", "COM1", "example.dig"}, {}},
        {{"calibrate", "--port", "COM1", "example.dig"}, {"0", "2000"}},
    };
    for (const Case& c : cases) {
        AddMeter(kMeterBeforeWrite);
        WriteConfiguration("example.dig");
        QFile::remove(journal::JournalPath());
        console = {};
        console.input = c.readings;
        int exchanges = 0;
        std::optional<journal::JournalRecord> onDisk;
        int storedAtFrame = -1;
        console.whileStatus = [&](const QString& line) {
            if (line != "transfer data... 0 %" || ++exchanges != 2) return;
            const auto records = Records();  // read as a killed run would leave it
            if (records.size() == 1) onDisk = records[0];
            storedAtFrame = station->imagesStored();
        };
        EXPECT_EQ(Run(c.arguments + QStringList{"--lang", "en"}), Success) << Err().toStdString();
        const std::string name = c.arguments.join(' ').toStdString();
        ASSERT_TRUE(onDisk) << name;
        EXPECT_TRUE(onDisk->interrupted()) << name;  // no outcome yet
        EXPECT_EQ(onDisk->asFound, ImageOf(kMeterBeforeWrite)) << name;
        EXPECT_EQ(storedAtFrame, 0) << name;
        const auto records = Records();
        ASSERT_FALSE(records.empty()) << name;
        EXPECT_EQ(records[0].id, onDisk->id) << name;  // the outcome under the first id
        EXPECT_TRUE(records[0].succeeded()) << name;
        EXPECT_EQ(records[0].exitCode, Success) << name;
    }
}

// A signal during the frame lets it finish; the record says what the process does: it
// was cancelled and ends with 130.
TEST_F(CliJournalTest, AnInterruptDuringTheFrameIsRecordedAsCancelledWithTheRealExitStatus) {
    AddMeter(kMeterBeforeWrite);
    WriteConfiguration("example.dig");
    int exchanges = 0;
    console.whileStatus = [&](const QString& line) {
        if (line == "transfer data... 0 %") ++exchanges;
        if (exchanges == 2 && line.endsWith(" 30 %")) console.interrupts = 1;
    };
    EXPECT_EQ(Run({"write", "--port", "COM1", "example.dig", "--lang", "en"}), Interrupted);
    const auto records = Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].resultWord(), "cancelled");
    EXPECT_EQ(records[0].exitCode, Interrupted);
    EXPECT_EQ(records[0].asFound, ImageOf(kMeterBeforeWrite));
}

// What a killed write leaves (its first record alone) is listed as interrupted everywhere
// and brings the meter back.
TEST_F(CliJournalTest, AKilledWriteIsListedAsInterruptedAndCanBeRestored) {
    AddMeter(kMeterBeforeWrite);
    journal::JournalRecord started;
    started.id = "0badc0de-0000-4000-8000-000000000001";
    started.time = "2026-12-10T01:02:31.694+01:00";
    started.operation = "write";
    started.port = "COM1";
    started.asFound = ImageOf(kMeterBeforeWrite);
    started.asFoundValid = true;
    started.written = ImageOf(WorkedExampleImage());
    started.result = journal::JournalResult::Started;
    ASSERT_TRUE(journal::AppendRecord(journal::JournalPath(), started).ok);
    station->setStoredImage(WorkedExampleImage());  // the frame had reached the meter

    ASSERT_EQ(Run({"journal", "--lang", "en"}), Success);
    EXPECT_TRUE(Out().contains("  interrupted  ")) << Out().toStdString();
    console = {};
    ASSERT_EQ(Run({"journal", "--json"}), Success);
    const QJsonObject json = QJsonDocument::fromJson(Out().toUtf8()).object();
    EXPECT_EQ(json["records"][0]["result"].toString(), "interrupted");
    console = {};
    ASSERT_EQ(Run({"journal", "--csv"}), Success);
    EXPECT_TRUE(Out().contains("interrupted")) << Out().toStdString();

    console = {};
    EXPECT_EQ(Run({"restore", "--port", "COM1", "--last", "--yes", "--quiet"}), Success)
        << Err().toStdString();
    EXPECT_EQ(station->storedImage(), kMeterBeforeWrite);
    EXPECT_EQ(Records().back().restoredFrom, started.id);
}

// Two stations write into one journal: each restores its own meter's state.
TEST_F(CliJournalTest, TwoStationsSharingAJournalEachRestoreTheirOwnMeter) {
    const sim::ImageWords secondBefore{65533, 100,  8233,  2049, 0xC0,  3,     3000,  3100,
                                       7,     9450, 12000, 9000, 11500, 11400, 11500, 1};
    AddMeter(kMeterBeforeWrite);
    const auto second = sim.bench->addStation(2, {}, secondBefore);
    WriteConfiguration("example.dig");
    ASSERT_EQ(Run({"write", "--port", "COM1", "example.dig", "--quiet"}), Success);
    ASSERT_EQ(Run({"write", "--port", "COM2", "example.dig", "--quiet"}), Success);
    const sim::ImageWords secondWritten = second->storedImage();

    EXPECT_EQ(Run({"restore", "--port", "COM1", "--last", "--yes", "--quiet"}), Success)
        << Err().toStdString();
    EXPECT_EQ(station->storedImage(), kMeterBeforeWrite);
    EXPECT_EQ(second->storedImage(), secondWritten);  // untouched
    EXPECT_EQ(Run({"restore", "--port", "COM2", "--last", "--yes", "--quiet"}), Success);
    EXPECT_EQ(second->storedImage(), secondBefore);

    console = {};
    EXPECT_EQ(Run({"restore", "--port", "COM3", "--last", "--yes", "--lang", "en"}), FileError);
    EXPECT_TRUE(Err().contains("no restorable record of the device")) << Err().toStdString();
}

// A record of another meter is never written silently: --yes alone does not do it.
TEST_F(CliJournalTest, ARecordOfAnotherDeviceNeedsItsOwnConsent) {
    AddMeter(kMeterBeforeWrite);
    const auto second = sim.bench->addStation(2, {}, sim::FactoryImage());
    WriteConfiguration("example.dig");
    ASSERT_EQ(Run({"write", "--port", "COM1", "example.dig", "--quiet"}), Success);
    const QString id = Records().back().id;
    const QStringList restore{"restore", "--port", "COM2", "--id", id, "--lang", "en", "--quiet"};

    EXPECT_EQ(Run(restore + QStringList{"--yes"}), UsageError);
    EXPECT_TRUE(Err().contains("--other-device")) << Err().toStdString();
    EXPECT_TRUE(Err().contains("the port reaches")) << Err().toStdString();
    console = {};
    console.terminal = true;
    console.input = {"n"};
    EXPECT_EQ(Run(restore + QStringList{"--yes"}), UsageError);
    EXPECT_TRUE(Out().contains("another device")) << Out().toStdString();
    EXPECT_EQ(console.err, QStringList{"Restore cancelled."});
    EXPECT_EQ(second->storedImage(), sim::FactoryImage());

    console = {};
    EXPECT_EQ(Run(restore + QStringList{"--yes", "--other-device"}), Success)
        << Err().toStdString();
    EXPECT_EQ(second->storedImage(), kMeterBeforeWrite);
}

TEST_F(CliJournalTest, ALostRecordIsSaidOncePerOperation) {
    AddMeter();
    WriteConfiguration("example.dig");
    QDir().mkpath(journal::JournalPath());  // a folder where the file should be
    EXPECT_EQ(
        Run({"write", "--verify", "--port", "COM1", "example.dig", "--quiet", "--lang", "en"}),
        Success);
    EXPECT_EQ(Err().count("Warning: the journal"), 2) << Err().toStdString();  // write, verify
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
