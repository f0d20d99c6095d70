// `series`: the loop in the tool, one line or JSON object per unit, a summary, exit codes.
#include "CliFixture.h"
#include "ReadOnlyFolder.h"

#include "common/OneShotTimer.h"
#include "journal/JournalFile.h"
#include "journal/JournalLocation.h"
#include "language/AddedRows.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

namespace zmt::cli {
namespace {

using namespace std::chrono_literals;

class CliSeriesTest : public CliTest {
  protected:
    CliSeriesTest() {
        savedDataHome_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome_.path()));
        texts_.FillLanguageText();
        WriteConfiguration(workDir.path("series.dig"));
        AddMeter();
        // The operator reads the progress line: once the tool asks for the meter to be taken
        // off, it goes a second later and a fresh one is plugged in a second after that.
        off_.setHandler([this] {
            off_.setEnabled(false);
            station->setMeterPlugged(false);
            next_.setEnabled(true);
            if (onMeterOff) onMeterOff();
        });
        next_.setHandler([this] {
            next_.setEnabled(false);
            station->setStoredImage(sim::FactoryImage());
            station->setMeterPlugged(true);
        });
        console.whileStatus = [this](const QString& line) {
            if (line == texts_.text(rows::SeriesWaitingForRemoval, 1) && !off_.enabled())
                off_.setEnabled(true);
        };
    }
    ~CliSeriesTest() override { qputenv("XDG_DATA_HOME", savedDataHome_); }

    QStringList Series(QStringList extra) {
        return QStringList{"series", "--port", "COM1", "--lang", "en", workDir.path("series.dig")} +
               extra;
    }

    std::function<void()> onMeterOff;

  private:
    QTemporaryDir dataHome_;
    QByteArray savedDataHome_;
    LanguageText texts_;
    OneShotTimer off_{nullptr, "off", 1000, sim.time.clock};
    OneShotTimer next_{nullptr, "next", 1000, sim.time.clock};
};

// The file goes away after the first unit: the series keeps what it started with.
TEST_F(CliSeriesTest, TwoUnitsOneLineEachWithTheConfigurationOfTheStart) {
    onMeterOff = [this] { QFile::remove(workDir.path("series.dig")); };
    EXPECT_EQ(Run(Series({"--count", "2"})), Success) << Err().toStdString();
    ASSERT_EQ(console.out.size(), 4) << Out().toStdString();
    EXPECT_TRUE(console.out[0].startsWith("unit 1  ")) << console.out[0].toStdString();
    EXPECT_TRUE(console.out[0].contains("  passed  "));
    EXPECT_TRUE(console.out[1].startsWith("unit 2  "));
    EXPECT_EQ(console.out[3], "2 units: 2 passed, 0 failed");
    EXPECT_EQ(station->imagesStored(), 2);  // one write per meter
    EXPECT_EQ(station->storedImage()[12], 12000);
    const auto records = journal::ReadJournal(journal::JournalPath()).records;
    ASSERT_EQ(records.size(), 4u);
    EXPECT_TRUE(console.out[1].contains(records[2].id));
    EXPECT_FALSE(station->dtr());
    EXPECT_FALSE(station->rts());
}

TEST_F(CliSeriesTest, JsonObjectPerUnitAndASummary) {
    EXPECT_EQ(Run(Series({"--count", "1", "--no-verify", "--json"})), Success);
    ASSERT_EQ(console.out.size(), 2);
    const QJsonObject unit = QJsonDocument::fromJson(console.out[0].toUtf8()).object();
    EXPECT_EQ(unit["unit"].toInt(), 1);
    EXPECT_EQ(unit["result"].toString(), "passed");
    EXPECT_FALSE(unit["journal"].toString().isEmpty());
    EXPECT_TRUE(unit["verifyJournal"].toString().isEmpty());
    // The unit's time as the journal's: with its offset, the same moment when read back.
    const QString time = unit["time"].toString();
    EXPECT_TRUE(QRegularExpression(R"([+-]\d\d:\d\d$)").match(time).hasMatch())
        << time.toStdString();
    EXPECT_TRUE(QDateTime::fromString(time, Qt::ISODateWithMs).isValid()) << time.toStdString();
    const QJsonObject summary = QJsonDocument::fromJson(console.out[1].toUtf8()).object();
    EXPECT_EQ(summary["command"].toString(), "series");
    EXPECT_EQ(summary["passed"].toInt(), 1);
    EXPECT_EQ(summary["end"].toString(), "count");
    EXPECT_EQ(summary["exitCode"].toInt(), 0);
}

// The tool's series writes the sheets as the window's does: each names its unit's record.
TEST_F(CliSeriesTest, EachSheetNamesItsUnitsJournalRecord) {
    const QString folder = workDir.path("sheets");
    ASSERT_EQ(Run(Series({"--count", "1", "--no-verify", "--sheets", folder})), Success)
        << Err().toStdString();
    const QStringList sheets = QDir(folder).entryList({"*.pdf"}, QDir::Files);
    ASSERT_EQ(sheets.size(), 1);
    QProcess tool;
    tool.start("pdftotext", {"-layout", QDir(folder).filePath(sheets[0]), "-"});
    ASSERT_TRUE(tool.waitForFinished(60000));
    const QString text = QString::fromUtf8(tool.readAllStandardOutput()).simplified();
    const auto records = journal::ReadJournal(journal::JournalPath()).records;
    ASSERT_EQ(records.size(), 1u);
    EXPECT_TRUE(text.contains("journal record of the write: " + records[0].id))
        << text.toStdString();
}

// The meter falls silent in the middle of the write frame.
TEST_F(CliSeriesTest, AFailedUnitGivesExitOne) {
    station->setFault(sim::Fault::stopAfter(100));
    EXPECT_EQ(Run(Series({"--count", "1"})), 1);
    ASSERT_FALSE(console.out.isEmpty());
    EXPECT_TRUE(console.out[0].contains("  failed  ")) << console.out[0].toStdString();
    EXPECT_TRUE(console.out[0].contains("receive error")) << console.out[0].toStdString();
}

TEST_F(CliSeriesTest, CtrlCWhileWaitingEndsTheSeriesWithTheUnitsSoFar) {
    station->setMeterPlugged(false);
    console.whileStatus = [this](const QString& line) {
        if (line.contains("no meter plugged in")) console.interrupts = 1;
    };
    EXPECT_EQ(Run(Series({})), Success);
    EXPECT_THAT(Out().toStdString(), ::testing::HasSubstr("0 units: 0 passed, 0 failed"));
    EXPECT_FALSE(station->dtr());
}

TEST_F(CliSeriesTest, RefusedBeforeAnythingReachesTheMeter) {
    struct Case {
        const char* name;
        QStringList arguments;
        int code;
        bool readOnly = false;  // the sheet folder refuses new files, for root as well
    };
    WriteConfiguration(workDir.path("flat.dig"), {{7, "    0"}});  // no span
    QDir().mkpath(workDir.path("read-only"));
    const std::vector<Case> cases = {
        {"missing file", {"series", "--port", "COM1", workDir.path("none.dig")}, FileError},
        {"unevaluable", {"series", "--port", "COM1", workDir.path("flat.dig")}, FileError},
        {"no port", {"series", "--port", "COM3", workDir.path("series.dig")}, PortUnavailable},
        {"sheet folder is a file", Series({"--sheets", workDir.path("series.dig")}), FileError},
        {"sheet folder under a file", Series({"--sheets", workDir.path("series.dig") + "/sheets"}),
         FileError},
        {"read-only sheet folder", Series({"--sheets", workDir.path("read-only")}), FileError,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        console = {};
        std::optional<link::test::ReadOnlyFolder> readOnly;
        if (c.readOnly) readOnly.emplace(workDir.path("read-only"));
        EXPECT_EQ(Run(c.arguments), c.code) << Err().toStdString();
        EXPECT_EQ(station->imagesStored(), 0);
        EXPECT_EQ(station->powerUps(), 0);
        EXPECT_FALSE(console.err.isEmpty());
    }
    // The last case: the refusal names the folder and the system's reason.
    EXPECT_THAT(Err().toStdString(),
                ::testing::HasSubstr("read-only: cannot be written (Permission denied)"));
}

// Ctrl-C before the units asked for are done: the series did not finish, whether it came
// while waiting for the next meter or during a unit, and a stopped unit counts in the summary.
TEST_F(CliSeriesTest, CtrlCBeforeTheCountIsReachedExitsInterrupted) {
    struct Case {
        const char* name;
        const char* statusLine;  // Ctrl-C once the progress line says this
        const char* summary;
    };
    const std::vector<Case> cases = {
        {"waiting for the next meter", "waiting for the next meter", "1 units: 1 passed, 0 failed"},
        {"writing the second unit", "programming unit 2", "2 units: 1 passed, 0 failed, 1 stopped"},
    };
    const auto unplugsAndPlugs = console.whileStatus;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        console = {};
        console.whileStatus = [&](const QString& status) {
            unplugsAndPlugs(status);
            // Once the first unit has its line.
            if (status.startsWith(c.statusLine) && !console.out.isEmpty()) console.interrupts = 1;
        };
        EXPECT_EQ(Run(Series({"--count", "3"})), Interrupted) << Err().toStdString();
        EXPECT_THAT((Out() + Err()).toStdString(), ::testing::HasSubstr(c.summary));
        EXPECT_FALSE(station->dtr());
        station->setStoredImage(sim::FactoryImage());
        station->setMeterPlugged(true);
    }
}

TEST(CliSeriesOptions, CountAndOptionsBelongToSeries) {
    const auto parsed = ParseCommandLine(
        {"series", "--port", "COM2", "a.dig", "--count", "5", "--no-verify", "--sheets", "out"});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->command, Command::Series);
    EXPECT_EQ(parsed.options->count, 5);
    EXPECT_TRUE(parsed.options->noVerify);
    EXPECT_EQ(parsed.options->sheets, "out");
    for (const QStringList& bad : {QStringList{"series", "--port", "COM1", "a", "--count", "0"},
                                   QStringList{"series", "--port", "COM1"},
                                   QStringList{"write", "--port", "COM1", "a", "--count", "2"}})
        EXPECT_FALSE(ParseCommandLine(bad).options) << bad.join(' ').toStdString();
}

}  // namespace
}  // namespace zmt::cli
