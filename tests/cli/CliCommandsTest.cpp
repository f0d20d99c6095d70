// The tool's commands against the simulated interface and meter: what they print, what
// they leave in the meter, and their exit status for every way a run can go wrong.
#include "CliFixture.h"

#include "FileSizeLimit.h"
#include "editor/SettingsFile.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <sys/stat.h>

namespace zmt::cli {
namespace {

// A meter set up by someone else: calibrated, decimal point code 2, bipolar, inverted
// contact on at 1400 and off at 1500, -5.5 -> -1000 and 20 -> 1500.
const sim::ImageWords kConfiguredImage{65533, 100,  8233,  2049, 0xC0,  2,     3438,  3538,
                                       7,     9450, 12000, 9000, 11500, 11400, 11500, 1};

QJsonObject JsonOf(const QStringList& out) {
    return QJsonDocument::fromJson(out.join(u'\n').toUtf8()).object();
}

TEST_F(CliTest, ReadPrintsTheMetersConfigurationAndWritesNothing) {
    AddMeter(kConfiguredImage);
    EXPECT_EQ(Run({"read", "--port", "COM1", "--lang", "de", "--quiet"}), Success)
        << Err().toStdString();
    EXPECT_EQ(console.out,
              QStringList({"Geräte-Typ: 20 mA", "Dezimalpunkt: [00,00]", "Eingang (1): -5,5 mA",
                           "Anzeige (1): -1000", "Eingang (2): 20 mA", "Anzeige (2): 1500",
                           "Anzeige: + / -", "Grenzwert-Art: gwinv", "Grenzwert ON: 1400",
                           "Grenzwert OFF: 1500",
                           "Test: 10 mA wird angezeigt als \"5,19\", Kontakt geschlossen"}));
    EXPECT_EQ(station->imagesStored(), 0);
    EXPECT_EQ(station->storedImage(), kConfiguredImage);
    // For the read alone: the tool asks no question to power it for, and the restart at the
    // end of the command would only be switched off again.
    EXPECT_EQ(station->powerUps(), 1);
    EXPECT_TRUE(console.err.isEmpty()) << Err().toStdString();

    console = {};
    EXPECT_EQ(Run({"read", "--port", "COM1", "--json"}), Success);
    const QJsonObject json = JsonOf(console.out);
    EXPECT_EQ(json["command"].toString(), "read");
    EXPECT_EQ(json["configuration"]["limitMode"].toString(), "gwinv");
    EXPECT_EQ(json["configuration"]["input1"].toDouble(), -5.5);
    EXPECT_EQ(json["test"]["display"].toString(), "5,19");
    EXPECT_EQ(json["image"].toArray().at(0).toInt(), 65533);

    console = {};
    station->setStoredImage(sim::ErasedImage());
    EXPECT_EQ(Run({"read", "--port", "COM1", "--quiet", "--lang", "en"}), Success);
    EXPECT_EQ(console.err,
              QStringList{"the meter holds no valid configuration: decimal point code 255"});
}

TEST_F(CliTest, WriteThenVerifyFindsTheMeterAsWrittenAndNamesEachDifference) {
    AddMeter();
    WriteConfiguration("example.dig");
    WriteConfiguration("four.dig", {{5, "    4"}});
    EXPECT_EQ(Run({"write", "--port", "COM1", "example.dig", "--lang", "en"}), Success);
    EXPECT_EQ(console.out, QStringList{"device configuration successfull"});
    EXPECT_EQ(station->storedImage(), WorkedExampleImage());

    const std::tuple<QStringList, int, QStringList> runs[] = {
        {{"verify", "--port", "COM1", "example.dig"}, Success, {"meter and configuration match"}},
        {{"verify", "--port", "COM1", "four.dig"},
         Differences,
         {"meter and configuration differ:", "input (1): file 4 mA, meter 0 mA",
          "display at input 0: file -500, meter 0"}},
        {{"write", "--port", "COM1", "four.dig", "--verify"},
         Success,
         {"device configuration successfull", "meter and configuration match"}},
    };
    for (const auto& [arguments, code, out] : runs) {
        console = {};
        EXPECT_EQ(Run(arguments + QStringList{"--lang", "en", "--quiet"}), code)
            << arguments.join(' ').toStdString();
        EXPECT_EQ(console.out, out);
    }
    EXPECT_EQ(station->imagesStored(), 2);  // the two writes; the verifies wrote nothing
}

TEST_F(CliTest, VerifyAsJsonListsTheDifferencesInEnglish) {
    AddMeter(kConfiguredImage);
    WriteConfiguration("example.dig");
    EXPECT_EQ(Run({"verify", "--port", "COM1", "example.dig", "--json", "--lang", "de"}),
              Differences);
    const QJsonObject json = JsonOf(console.out);
    EXPECT_FALSE(json["equal"].toBool());
    const QJsonObject first = json["differences"].toArray().at(0).toObject();
    EXPECT_EQ(first["what"].toString(), "decimal point");
    EXPECT_EQ(first["file"].toString(), "[0000,]");
    EXPECT_EQ(first["meter"].toString(), "[00,00]");
    EXPECT_EQ(json["image"]["meter"].toArray().size(), 16);
}

class CalibrateTest : public CliTest {
  protected:
    void SetUp() override {
        AddMeter();
        station->setOffsetError(7);
        station->setGainError(1.013);
        WriteConfiguration("example.dig");
    }
    int Calibrate(std::deque<QString> readings) {
        console.input = std::move(readings);
        return Run({"calibrate", "--port", "COM1", "example.dig", "--lang", "de", "--quiet"});
    }
};

TEST_F(CalibrateTest, ReadingsFromAPipeCalibrateTheMeter) {
    EXPECT_EQ(Calibrate({"7", "2026"}), Success) << Err().toStdString();
    EXPECT_TRUE(console.out.contains("Offset-Abgleich"));
    EXPECT_TRUE(console.out.contains("Bitte Anzeige am Gerät ablesen:"));
    EXPECT_EQ(console.out.last(), "Gerät erfolgreich kalibriert und parametriert");
    EXPECT_EQ(station->storedImage()[0], 7);
    EXPECT_EQ(station->storedImage()[2], 8087);
}

TEST_F(CalibrateTest, ARefusedReadingEndsAPipeAndIsAskedAgainOnATerminal) {
    EXPECT_EQ(Calibrate({"abc", "7", "2026"}), DataError);
    EXPECT_TRUE(console.err.contains("Eingabefehler"));
    EXPECT_LT(station->imagesStored(), 2);  // the initial image only, no calibration

    console = {};
    console.terminal = true;
    EXPECT_EQ(Calibrate({"abc", "7", "0", "2026"}), Success) << Err().toStdString();
    EXPECT_EQ(console.err.count("Eingabefehler"), 2);
    EXPECT_EQ(station->storedImage()[2], 8087);
}

TEST_F(CalibrateTest, APipeThatEndsBeforeTheSecondReadingIsAnError) {
    EXPECT_EQ(Calibrate({"7"}), DataError);
    EXPECT_TRUE(console.err.contains("Eingabe beendet vor der Ablesung")) << Err().toStdString();
}

TEST_F(CliTest, ShowEvaluatesTheFileAsTheMainWindowDoes) {
    WriteConfiguration("low.dig", {{6, "-2000"}, {16, "1"}});
    EXPECT_EQ(Run({"show", "low.dig", "--lang", "en"}), Success);
    EXPECT_TRUE(console.out.contains("slope (digits per input unit): 200"));
    EXPECT_TRUE(console.out.contains("display at input 0: -2000"));
    EXPECT_TRUE(console.out.contains("test: 10 mA is displayed as \"0,\", contact open"))
        << Out().toStdString();
    EXPECT_TRUE(console.out.contains("!!!WARNING!!! values below -1999 are shown without\"-\""));

    console = {};
    WriteConfiguration("equal.dig", {{5, "   20"}});
    EXPECT_EQ(Run({"show", "equal.dig", "--json", "--lang", "de"}), Success);
    const QJsonObject json = JsonOf(console.out);
    EXPECT_FALSE(json["writable"].toBool());
    EXPECT_TRUE(json["messages"].toArray().contains(QJsonValue("keine Berechnung möglich")));

    // The file asks for German; the evaluation's lines follow --lang, once each.
    console = {};
    EXPECT_EQ(Run({"show", "equal.dig", "--lang", "en"}), Success);
    EXPECT_EQ(console.out.count("math error"), 2) << Out().toStdString();  // memo, write check
    EXPECT_FALSE(Out().contains("keine Berechnung"));
}

TEST_F(CliTest, ReportWritesTheSheetOfAFileAsPdf) {
    WriteConfiguration("example.dig");
    EXPECT_EQ(Run({"report", "example.dig", "--output", "sheet", "--lang", "de"}), Success);
    EXPECT_EQ(console.out, QStringList{"sheet.pdf"});
    QFile sheet("sheet.pdf");
    ASSERT_TRUE(sheet.open(QIODevice::ReadOnly));
    EXPECT_TRUE(sheet.read(5) == "%PDF-");
    EXPECT_EQ(Run({"report", "missing.dig", "--output", "other.pdf"}), FileError);
    EXPECT_FALSE(QFile::exists("other.pdf"));
}

struct FailureCase {
    const char* name;
    std::function<void(CliTest&)> setUp;
    QStringList arguments;
    int code;
    const char* says;  // part of what the tool says
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class FailureTest : public CliTest, public ::testing::WithParamInterface<FailureCase> {};

const auto Meter = [](sim::Fault fault) {
    return [fault](CliTest& test) {
        auto station = test.sim.bench->addStation(1);
        station->setFault(fault);
        WriteConfiguration("example.dig");
    };
};

const FailureCase kFailures[] = {
    {"NoPort",
     [](CliTest&) { WriteConfiguration("example.dig"); },
     {"write", "--port", "COM1", "example.dig"},
     PortUnavailable,
     "COM1  -error opening port-"},
    {"NoInterface",
     Meter(sim::Fault::noInterface()),
     {"verify", "--port", "COM1", "example.dig"},
     NoInterface,
     "could not find interface at COM1"},
    {"NoMeter",
     Meter(sim::Fault::noMeter()),
     {"read", "--port", "COM1"},
     NoMeter,
     "transmission error"},
    {"AnswersStop",
     Meter(sim::Fault::stopAfter(20)),
     {"write", "--port", "COM1", "example.dig"},
     DataError,
     "receive error"},
    {"MissingFile",
     Meter(sim::Fault::none()),
     {"write", "--port", "COM1", "missing.dig"},
     FileError,
     "missing.dig: the file does not exist"},
    {"FileIsAFolder",
     [](CliTest&) { QDir().mkdir("folder.dig"); },
     {"show", "folder.dig"},
     FileError,
     "folder.dig: this is a folder, not a file"},
    {"FileIsAFifo",
     [](CliTest&) { ::mkfifo("pipe.dig", 0600); },
     {"show", "pipe.dig"},
     FileError,
     "pipe.dig: this is not a regular file"},
    {"GarbledAnswer",
     Meter(sim::Fault::wrongAnswer()),
     {"verify", "--port", "COM1", "example.dig"},
     NoMeter,
     "transmission error"},
    {"BadLine",
     [](CliTest&) {
         WriteConfiguration("bad.dig", {{4, "9"}});
     },
     {"show", "bad.dig"},
     FileError,
     "Settings line 4: '9' is not a device type"},
    {"Unwritable",
     [](CliTest& test) {
         test.sim.bench->addStation(1);
         WriteConfiguration("equal.dig", {{5, "   20"}});
     },
     {"write", "--port", "COM1", "equal.dig"},
     FileError,
     "math error"},
    {"UnknownPort",
     [](CliTest&) {},
     {"read", "--port", "COM9"},
     UsageError,
     "PORT must be COM1..COM4 or a device path"},
};

TEST_P(FailureTest, EndsWithItsExitStatusAndSaysWhy) {
    const FailureCase& c = GetParam();
    c.setUp(*this);
    EXPECT_EQ(Run(c.arguments + QStringList{"--lang", "en", "--quiet"}), c.code);
    const QString said = Out() + u'\n' + Err();
    EXPECT_TRUE(said.contains(QString::fromUtf8(c.says))) << said.toStdString();
    if (auto meter = sim.bench->station(1)) {
        EXPECT_EQ(meter->imagesStored(), 0);  // nothing reached the meter
        EXPECT_FALSE(meter->isAttached());    // the port is closed
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FailureTest, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliTest, ABusyPortIsNotTouched) {
    AddMeter();
    auto holder = sim.deviceFactory()();
    ASSERT_TRUE(holder->open(1).ok());
    EXPECT_EQ(Run({"read", "--port", "COM1", "--quiet"}), PortUnavailable);
    EXPECT_EQ(station->powerUps(), 0);
}

// A read-only folder (which root may write all the same) and a full disk.
TEST_F(CliTest, AnOutputThatCannotBeWrittenKeepsTheOldFile) {
    AddMeter();
    ASSERT_TRUE(QDir().mkdir("out"));
    for (const bool fullDisk : {false, true}) {
        if (!fullDisk && ::geteuid() == 0) continue;
        WriteConfiguration("out/old.dig", {{2, "COM4"}});
        ::chmod("out", fullDisk ? 0755 : 0555);
        int code = 0;
        {
            std::optional<test::FileSizeLimit> limit;
            if (fullDisk) limit.emplace(40);
            code = Run({"read", "--port", "COM1", "--output", "out/old.dig", "--quiet"});
        }
        ::chmod("out", 0755);
        EXPECT_EQ(code, FileError) << fullDisk;
        EXPECT_EQ(test::ReadLines("out/old.dig").value(2), "COM4") << fullDisk;
    }
}

// Ctrl-C stops at once, but lets a write frame that has begun reach its end.
TEST_F(CliTest, CtrlCLetsAWriteFrameFinishAndStopsAnythingElseAtOnce) {
    AddMeter();
    WriteConfiguration("four.dig", {{5, "    4"}});
    int exchanges = 0;
    console.whileStatus = [&](const QString& line) {
        if (line == "transfer data... 0 %") ++exchanges;
        if (exchanges == 2 && line.endsWith(" 30 %")) console.interrupts = 1;  // mid-frame
    };
    EXPECT_EQ(Run({"write", "--port", "COM1", "four.dig", "--lang", "en"}), Interrupted);
    EXPECT_EQ(console.err,
              QStringList({"finishing the write; press Ctrl-C again to abort", "stopped"}));
    EXPECT_EQ(station->imagesStored(), 1);
    EXPECT_FALSE(station->isAttached());

    console = {};
    console.whileStatus = [&](const QString& line) {
        if (line.endsWith(" 30 %")) console.interrupts = 1;  // during the opening read
    };
    EXPECT_EQ(Run({"write", "--port", "COM1", "four.dig", "--lang", "en"}), Interrupted);
    EXPECT_EQ(console.err, QStringList{"stopped"});
    EXPECT_EQ(station->imagesStored(), 1);
}

// A file saved by the program, written with the tool and read back with --from the same
// file gives that file again.
TEST_F(CliTest, ARoundTripThroughTheMeterGivesTheSameFile) {
    AddMeter();
    test::ControllerSetup program;
    program.CreateController();
    program.controller->FirstStartChoice(1);
    Effects fx;
    for (const auto& [field, text] :
         {std::pair{Field::Skalin1, "4,5"}, {Field::Skalout2, "1500"}, {Field::RelaisOn, "900"}}) {
        program.model.setField(field, text);
        program.editor.FieldExit(field, fx);
    }
    program.editor.GrenzwertartClick(fx);
    const QString saved = workDir.path("saved.dig");
    ASSERT_TRUE(program.controller->Save(saved).ok);
    EXPECT_EQ(Run({"write", "--port", "COM1", saved, "--quiet"}), Success);
    EXPECT_EQ(Run({"read", "--port", "COM1", "--from", saved, "--output", "back.dig", "--quiet"}),
              Success);
    EXPECT_EQ(test::ReadLines("back.dig"), test::ReadLines(saved));
}

}  // namespace
}  // namespace zmt::cli
