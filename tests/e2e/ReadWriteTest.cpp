// Reading and writing the simulated meter through the real windows.
#include "OperationFixture.h"

#include "common/Beep.h"

#include <QCheckBox>
#include <QTextBlock>
#include <QTextDocument>

namespace zmt::e2e {
namespace {

// A meter set up by someone else: offset and gain calibrated, decimal point code 2,
// bipolar, inverted contact on at 1400 and off at 1500, -5.5 -> -1000 and 20 -> 1500.
sim::ImageWords ConfiguredImage() {
    return {65533, 100,  8233,  2049, 0xC0,  2,     3438,  3538,
            7,     9450, 12000, 9000, 11500, 11400, 11500, 1};
}

class ReadTest : public OperationTest, public ::testing::WithParamInterface<int> {};

TEST_P(ReadTest, TheMetersValuesArriveInTheEditorAndTheMeterKeepsItsImage) {
    const int language = GetParam();
    AddMeter(ConfiguredImage());
    StartProgram(language);
    int powerUpsAfterRead = -1;
    QStringList info, memo1;
    RunOperation("Readbutt", [&] {
        button("weiterbutton")->click();
        ASSERT_TRUE(WaitFor([&] { return ops().sequencer().waittimer().enabled(); }));
        powerUpsAfterRead = station->powerUps();
        ASSERT_TRUE(WaitUntilSettled());
        info = InfoLines();
        EXPECT_EQ(InfoColour(), QColor(0, 255, 0));
        EXPECT_EQ(ShownButtons(), QStringList({"nochmalbutton", "Fertigbutton"}));
        ASSERT_TRUE(WaitForPowerCycle());
        memo1 = control<QPlainTextEdit>("Memo1")->toPlainText().split('\n');

        // Coming back to the window judges nothing again.
        const int beeps = BeepCount();
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&ops(), &activate);
        Pass(milliseconds(300));
        EXPECT_EQ(InfoLines(), info);
        EXPECT_FALSE(ops().sequencer().waittimer().enabled());
        EXPECT_EQ(BeepCount(), beeps);
    });
    const QStringList expected[] = {
        {"ausgelesene Daten wurden als Vorgabeparameter übernommen", "Rundungsfehler möglich!"},
        {"received configuration transfered to desktop", ""}};
    EXPECT_EQ(info, expected[language]);
    ExpectEditorHoldsTheConfiguredImage();
    EXPECT_EQ(station->storedImage(), ConfiguredImage());
    EXPECT_EQ(station->imagesStored(), 1);
    EXPECT_EQ(station->powerUps() - powerUpsAfterRead, 2);  // after the read, after the write
    ASSERT_EQ(memo1.size(), 17);
    EXPECT_EQ(memo1[0], "reccount 66");
    EXPECT_EQ(memo1[1], "65533");
    EXPECT_TRUE(errors.messages.isEmpty()) << errors.messages.join('\n').toStdString();
}

TEST_P(ReadTest, AnErasedMeterIsTakenAsItIsAndNamedOnAYellowLine) {
    const int language = GetParam();
    AddMeter(sim::ErasedImage());
    StartProgram(language);
    QStringList info;
    QColor colour;
    QList<QBrush> lineBackgrounds;
    RunOperation("Readbutt", [&] {
        button("weiterbutton")->click();
        ASSERT_TRUE(WaitUntilSettled());
        info = InfoLines();
        colour = InfoColour();
        const QTextDocument* document = control<QPlainTextEdit>("Info")->document();
        for (QTextBlock line = document->begin(); line.isValid(); line = line.next())
            lineBackgrounds << line.blockFormat().background();
    });
    const QStringList expected[] = {
        {"ausgelesene Daten wurden als Vorgabeparameter übernommen", "Rundungsfehler möglich!",
         "Das Gerät enthält keine gültige Konfiguration: Dezimalpunkt-Code 255"},
        {"received configuration transfered to desktop", "",
         "the meter holds no valid configuration: decimal point code 255"}};
    EXPECT_EQ(info, expected[language]);
    EXPECT_EQ(colour, QColor(0, 255, 0));  // the exchange itself was good
    EXPECT_EQ(lineBackgrounds, QList<QBrush>({QBrush(), QBrush(), QBrush(QColor(255, 255, 0))}));
    // The words are what the meter holds: taken over and written back unchanged.
    EXPECT_EQ(program->model.DecimalPoint, 255);
    EXPECT_EQ(text("RelaisOn").trimmed(), "55535");
    EXPECT_EQ(station->storedImage(), sim::ErasedImage());
    EXPECT_TRUE(errors.messages.isEmpty()) << errors.messages.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(InBothLanguages, ReadTest, ::testing::Values(0, 1));

// Once on the virtual clock, once on the machine's clock.
class WriteTest : public OperationTest, public ::testing::WithParamInterface<Timing> {
  protected:
    WriteTest() : OperationTest(GetParam()) {}
};

TEST_P(WriteTest, StoresTheWorkedExampleAndTheMeterShowsWhatTheEditorPredicts) {
    AddMeter(sim::FactoryImage());
    StartProgram();
    QStringList info;
    std::optional<std::int64_t> atFullScale;
    RunOperation("Skalbutt", [&] {
        button("weiterbutton")->click();
        ASSERT_TRUE(WaitUntilSettled());
        info = InfoLines();
        ASSERT_TRUE(WaitForPowerCycle());
        atFullScale = Displayed();  // the calibration signal is on here
    });
    EXPECT_EQ(info,
              QStringList({"Das Gerät wurde mit den Vorgabewerten erfolgreich parametriert!"}));
    EXPECT_EQ(station->storedImage(), WorkedExampleImage());
    EXPECT_EQ(atFullScale, 2000);

    // Signal off, then the test line against the meter at several inputs.
    QCheckBox& signal = *mainCheckBox("switchsignal");
    ASSERT_TRUE(WaitFor([&] { return signal.isEnabled(); }));
    signal.click();
    ASSERT_TRUE(WaitFor([&] { return !station->rts(); }));
    for (const char* input : {"0", "4", "7,3", "12,5", "20"}) {
        station->setInput(QLocale().toDouble(input));
        test::TypeInto(field("Testin1"), input);
        QTest::keyClick(field("Testin1"), Qt::Key_Return);
        ASSERT_TRUE(WaitFor([&] { return station->displayed().has_value(); }));
        EXPECT_EQ(QString::fromStdString(station->displayText()), text("Testout1").trimmed())
            << input;
    }
    EXPECT_TRUE(errors.messages.isEmpty()) << errors.messages.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(OnEitherClock, WriteTest, ::testing::Values(Timing::Virtual, Timing::Real),
                         [](const auto& info) {
                             return std::string(info.param == Timing::Virtual ? "Virtual" : "Real");
                         });

// Comparing reads the meter, writes nothing back and leaves the editor's values alone.
TEST_F(OperationTest, CompareListsWhereTheMeterDiffersAndChangesNothing) {
    const std::pair<sim::ImageWords, QStringList> cases[] = {
        {WorkedExampleImage(), {QString::fromUtf8("Gerät und Konfiguration stimmen überein")}},
        {ConfiguredImage(),
         {QString::fromUtf8("Gerät und Konfiguration unterscheiden sich:"),
          "Dezimalpunkt: Datei [0000,], Gerät [00,00]", "Anzeige: Datei +, Gerät + / -",
          "Grenzwert-Art: Datei gwnorm, Gerät gwinv", "Eingang (1): Datei 0 mA, Gerät -5,5 mA",
          "Anzeige (1): Datei 0, Gerät -1000", "Anzeige (2): Datei 2000, Gerät 1500",
          "Grenzwert ON: Datei 2000, Gerät 1400", "Grenzwert OFF: Datei 2000, Gerät 1500",
          "Anzeige bei Eingang 0: Datei 0, Gerät -100",
          "Anzeige bei Endwert: Datei 2000, Gerät 1900",
          "Schaltschwelle ON (Gerätewert): Datei 4047, Gerät 3438",
          "Schaltschwelle OFF (Gerätewert): Datei 4047, Gerät 3538"}},
    };
    for (const auto& [image, expected] : cases) {
        AddMeter(image);
        StartProgram();
        const ConfigModel before = program->model;
        QStringList info;
        QColor colour;
        RunOperation("MenueVergleichen", [&] {
            button("weiterbutton")->click();
            ASSERT_TRUE(WaitUntilSettled());
            info = InfoLines();
            colour = InfoColour();
            EXPECT_TRUE(WaitForPowerCycle());
        });
        EXPECT_EQ(info, expected);
        EXPECT_EQ(colour, expected.size() == 1 ? QColor(0, 255, 0) : QColor(Qt::yellow));
        EXPECT_EQ(program->model, before);
        EXPECT_EQ(station->imagesStored(), 0);
        EXPECT_EQ(station->storedImage(), image);
        TearDown();
    }
}

// A configuration that cannot be evaluated sends nothing, not even the opening read; once
// the entry is corrected the same button writes it.
struct UnwritableCase {
    const char* name;
    std::vector<std::pair<int, QString>> lines;  // of the settings file, beside the example
    const char* field;
    const char* correction;
    QStringList info;
};

void PrintTo(const UnwritableCase& c, std::ostream* os) {
    *os << c.name;
}

class UnwritableTest : public OperationTest,
                       public ::testing::WithParamInterface<UnwritableCase> {};

TEST_P(UnwritableTest, NothingIsSentUntilTheEntryIsCorrected) {
    const UnwritableCase& c = GetParam();
    AddMeter(sim::FactoryImage());
    std::vector<std::pair<int, QString>> lines{{3, "0"}, {15, "+"}, {16, "1"}};
    lines.insert(lines.end(), c.lines.begin(), c.lines.end());
    test::WriteSettings("initdig.txt", lines);
    StartProgramWithSettings(sim::SimulatedDeviceFactory(bench));
    RunOperation("Skalbutt", [&] {
        button("weiterbutton")->click();
        EXPECT_EQ(InfoLines(), c.info);
        EXPECT_EQ(InfoColour(), QColor(Qt::red));
        EXPECT_EQ(ShownButtons(), QStringList({"nochmalbutton", "Fertigbutton"}));
        EXPECT_FALSE(program->transfer.TransferStarted);
    });
    EXPECT_EQ(station->imagesStored(), 0);

    program->Form1().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&program->Form1()));
    test::TypeInto(field(c.field), c.correction);
    test::LeaveWithTab(field(c.field));
    QStringList info;
    RunOperation("Skalbutt", [&] {
        button("weiterbutton")->click();
        ASSERT_TRUE(WaitUntilSettled());
        info = InfoLines();
    });
    EXPECT_EQ(info, QStringList({"device configuration successfull"}));
    EXPECT_EQ(station->imagesStored(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnwritableTest,
    ::testing::Values(
        UnwritableCase{
            "EqualInputs", {{5, "   20"}}, "Skalin1", "0", {"no valid input data", "math error"}},
        UnwritableCase{"InputNotANumber",
                       {{7, "  2O"}},
                       "Skalin2",
                       "20",
                       {"no valid input data", "input (2): \"2O\" is not a number"}},
        UnwritableCase{"LimitNotAnInteger",
                       {{13, " 12,5"}},
                       "RelaisOff",
                       "1500",
                       {"no valid input data", "limit OFF: \"12,5\" is not a whole number"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zmt::e2e
