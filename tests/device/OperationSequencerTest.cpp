// The operations' step chains without windows or timers: each step is run by hand, the
// exchanges are answered as the interface and the meter would.
#include "DeviceTestRig.h"
#include "device/OperationSequencer.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace zmt {
namespace {

using testing::DeviceRig;
using namespace words;

// A meter image with every word telling: calibration, scaling -5.5 -> -1000, 20 -> 1500.
constexpr ImageWords kMeterImage{65533, 100,  8233,  2049, 0x80,  2,     3438,  3538,
                                 7,     9450, 12000, 9000, 11500, 11400, 11500, 1};

class SequencerTest : public ::testing::Test {
  protected:
    SequencerTest() { rig.session.ComPortName = "COM2"; }
    OperationHooks MakeHooks() {
        OperationHooks h;
        h.SetPortLines = [this](bool power, bool signal, bool reopen) {
            lines.emplace_back(power, signal, reopen);
        };
        h.SetDTR = [this](bool on) { dtr.push_back(on); };
        h.SetRTS = [this](bool on) { rts.push_back(on); };
        h.ShowTransferWindow = [this] { ++transfers; };
        h.EditorStep = [this](const std::function<void(Effects&)>& operation) {
            ++editorSteps;
            operation(rig.fx);
        };
        return h;
    }
    void Open(bool calibrate, bool write, int language = 0) {
        rig.session.CalibrateFlag = calibrate;
        rig.session.WriteFlag = write;
        rig.session.LanguageIndex = language;
        steps.initform(ModeOfFlags(calibrate, write));
    }
    // The exchange that was started, answered by a meter holding `image`.
    void Answer(int extraBytes = 0, int missingBytes = 0) {
        const int sent = rig.transfer.ExpectedCount / 2;
        rig.AnswerAsMeter(meterImage, sent);
        rig.transfer.ReceiveCount += extraBytes - missingBytes;
        rig.transfer.ByteReceived = rig.transfer.ReceiveCount > 0;
        rig.transfer.ReceiveTimedOut = true;
        steps.TransferEnded();
    }
    // Read judged good, then the power cycle until the first write is under way.
    void ReadAndStartFirstWrite() {
        steps.weiterbuttonClick();
        Answer();
        steps.waittimerTimer();
        steps.resettimerTimer();
    }
    ImageWords SentImage() const {
        ImageWords image{};
        for (int i = 0; i < ImageWordCount; ++i)
            image[i] = (rig.transfer.SendBuffer[33 + 2 * i] & 0xFF) |
                       (rig.transfer.SendBuffer[34 + 2 * i] & 0xFF) << 8;
        return image;
    }

    DeviceRig rig;
    ImageWords meterImage = kMeterImage;  // what the answering meter holds
    std::vector<std::tuple<bool, bool, bool>> lines;
    std::vector<bool> dtr, rts;
    int transfers = 0, editorSteps = 0;
    VirtualClock clock;  // the steps run by hand; no timer fires by itself
    OperationSequencer steps{rig.transfer, rig.device, rig.editor, MakeHooks(), clock};
    OperationView& view = steps.view();
};

TEST(ExchangeVerdictTest, TheChecksAddTheirLinesInOrder) {
    struct Case {
        std::vector<std::uint8_t> received;
        int language;
        QStringList lines;
        bool ok;
    };
    std::vector<std::uint8_t> full(66, 0xA6);
    std::vector<std::uint8_t> oneMore(67, 0xA6), short1(65, 0xA6), twoMore(68, 0xA6);
    const Case cases[] = {
        {{}, 0, {"kein Interface gefunden auf COM3"}, false},
        {{0x00}, 1, {"could not find interface at COM3"}, false},
        {{0xA6},
         0,
         {"Interface... O.K.", QString::fromUtf8("Fehler auf Übertragungsstrecke")},
         false},
        {{0xA6, 0x5A}, 1, {"Interface... O.K.", "transmission error"}, false},
        {short1, 1, {"Interface... O.K.", "connection... o.k.", "receive error"}, false},
        {full,
         0,
         {"Interface... O.K.", QString::fromUtf8("Übertragungsstrecke... O.K."), "Daten... O.K."},
         true},
        {oneMore, 1, {"Interface... O.K.", "connection... o.k.", "data... o.k."}, true},
        {twoMore, 1, {"Interface... O.K.", "connection... o.k.", "receive error"}, false},
    };
    for (const Case& c : cases) {
        DeviceRig rig;
        rig.session.LanguageIndex = c.language;
        PrepareReadFrame(rig.device, rig.transfer);
        for (std::uint8_t byte : c.received) rig.transfer.StoreReceived(byte);
        const ExchangeVerdict verdict = JudgeExchange(rig.transfer, rig.editor.wording(), "COM3");
        EXPECT_EQ(verdict.lines, c.lines) << c.received.size();
        EXPECT_EQ(verdict.ok, c.ok) << c.received.size();
    }
}

TEST_F(SequencerTest, TheFlagsChooseTheOperationItsTextsAndItsFirstWrite) {
    struct Case {
        bool calibrate, write;
        OperationMode mode;
        const char* question;
        const char* task;
        const char* firstWrite;
        ImageWords image;
    };
    ConfigModel& m = rig.model;
    m.RelaisOn = m.RelaisOff = " 2000";
    // The worked example with the meter's own w0, w2 and w8.
    const ImageWords written{65533, 0,     8233,  2049,  0,     0,     4047,  4047,
                             7,     10000, 12000, 10000, 12000, 12000, 12000, 1};
    // Reads go last: taking a read over changes the configuration the others write.
    const Case cases[] = {
        {false, true, OperationMode::Write, "Parametrierdaten neu programmieren?",
         "Parametrierdaten neu programmieren", "Gerät parametrieren...", written},
        {true, true, OperationMode::CalibrateAndWrite,
         "Kalibrier- und Parametrierdaten neu programmieren?",
         "Kalibrier- und Parametrierdaten neu programmieren", "Gerät initialisieren...",
         InitialCalibrationImage()},
        {false, false, OperationMode::Read, "Gerät auslesen?", "Gerät auslesen",
         "Gerät reprogrammieren...", kMeterImage},
        {true, false, OperationMode::Read, "Gerät auslesen?", "Gerät auslesen",
         "Gerät reprogrammieren...", kMeterImage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.question);
        Open(c.calibrate, c.write);
        EXPECT_EQ(steps.mode(), c.mode);
        EXPECT_EQ(view.tasklabel, QString::fromUtf8(c.question));
        steps.weiterbuttonClick();
        EXPECT_EQ(view.tasklabel, QString::fromUtf8(c.task));
        EXPECT_EQ(rig.transfer.ExpectedCount, 66);
        Answer();
        steps.waittimerTimer();
        steps.resettimerTimer();
        EXPECT_EQ(view.Label1, QString::fromUtf8(c.firstWrite));
        EXPECT_EQ(view.Info,
                  QStringList({QString::fromUtf8(c.firstWrite), "Schreibe Daten auf COM2"}));
        EXPECT_EQ(rig.transfer.SendCount, 65);
        EXPECT_EQ(rig.transfer.ExpectedCount, 130);
        EXPECT_EQ(SentImage(), c.image);
        Answer();  // the write ends before the next case
    }
}

TEST_F(SequencerTest, AReadOperationEndsWithTheValuesInTheEditorAndAPowerCycle) {
    Open(false, false, 1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], std::make_tuple(true, true, true));
    ReadAndStartFirstWrite();
    EXPECT_EQ(lines[1], std::make_tuple(false, true, false));  // meter off, signal on
    EXPECT_EQ(steps.Memo1().first(), "reccount 66");
    EXPECT_EQ(steps.Memo1().size(), 17);
    Answer();
    EXPECT_EQ(editorSteps, 1);
    EXPECT_EQ(rig.model.Skalin1.trimmed(), "-5,5");
    EXPECT_EQ(view.Info, QStringList({"received configuration transfered to desktop", ""}));
    EXPECT_TRUE(view.warningLines.isEmpty());
    EXPECT_EQ(view.infoColour, InfoColour::Lime);
    EXPECT_TRUE(view.nochmalbutton.visible && view.Fertigbutton.visible);
    EXPECT_EQ(view.focusRequest, FocusTarget::Fertigbutton);
    EXPECT_TRUE(steps.waittimer().enabled());
    steps.waittimerTimer();
    steps.resettimerTimer();
    EXPECT_EQ(dtr, std::vector<bool>{true});
    EXPECT_EQ(transfers, 2);
}

TEST_F(SequencerTest, AReadOfAnErasedMeterTakesItsWordsAndSaysSoOnAWarningLine) {
    const QStringList expected[] = {
        {"ausgelesene Daten wurden als Vorgabeparameter übernommen", "Rundungsfehler möglich!",
         "Das Gerät enthält keine gültige Konfiguration: Dezimalpunkt-Code 255"},
        {"received configuration transfered to desktop", "",
         "the meter holds no valid configuration: decimal point code 255"}};
    meterImage.fill(0xFFFF);
    for (int language : {0, 1}) {
        Open(false, false, language);
        ReadAndStartFirstWrite();
        Answer();
        EXPECT_EQ(view.Info, expected[language]);
        EXPECT_EQ(view.warningLines, QList<int>{2});
        EXPECT_EQ(view.infoColour, InfoColour::Lime);
        EXPECT_EQ(rig.model.DecimalPoint, 255);  // taken as the meter holds it
        EXPECT_EQ(rig.model.RelaisOn.trimmed(), "55535");
    }
    // The next operation starts without the warning.
    Open(false, false);
    steps.weiterbuttonClick();
    EXPECT_TRUE(view.warningLines.isEmpty());
}

TEST_F(SequencerTest, FailedExchangesOfferOnlyTheRepeatAndStopTheChain) {
    struct Case {
        bool calibrate, write;
        bool failFirstWrite;
        int missing;
    };
    const Case cases[] = {{false, false, false, 66},
                          {false, true, false, 3},
                          {true, true, false, 64},
                          {true, true, true, 2}};
    for (const Case& c : cases) {
        Open(c.calibrate, c.write);
        steps.weiterbuttonClick();
        if (c.failFirstWrite) {
            Answer();
            steps.waittimerTimer();
            steps.resettimerTimer();
        }
        Answer(0, c.missing);
        EXPECT_EQ(view.infoColour, InfoColour::Red);
        EXPECT_FALSE(steps.waittimer().enabled());
        EXPECT_TRUE(view.nochmalbutton.visible);
        EXPECT_FALSE(view.Fertigbutton.visible);
        EXPECT_TRUE(view.Fertigbutton.enabled);
        EXPECT_FALSE(view.Anzeige);
        EXPECT_EQ(view.focusRequest, FocusTarget::nochmalbutton);
    }
}

// Equal inputs leave the coefficients stale: writing would store nonsense, so nothing is
// sent; a read goes on as ever, and a corrected configuration is written.
TEST_F(SequencerTest, AConfigurationThatCannotBeEvaluatedIsNeverWritten) {
    rig.model.setField(Field::Skalin1, "20");
    for (const bool calibrate : {false, true}) {
        Open(calibrate, true, 1);
        steps.weiterbuttonClick();
        EXPECT_EQ(transfers, 0);
        EXPECT_EQ(view.Info, QStringList({"no valid input data", "math error"}));
        EXPECT_EQ(view.infoColour, InfoColour::Red);
        EXPECT_FALSE(view.weiterbutton.visible || view.Abbruchbutton.visible);
        EXPECT_TRUE(view.nochmalbutton.visible && view.Fertigbutton.visible);
    }
    Open(false, false);
    steps.weiterbuttonClick();
    EXPECT_EQ(transfers, 1);
    Answer();
    rig.model.setField(Field::Skalin1, "0");
    Open(false, true);
    steps.weiterbuttonClick();
    EXPECT_EQ(transfers, 2);
}

TEST_F(SequencerTest, AnExchangeIsJudgedOnlyOnceAndOnlyWhenThisWindowStartedIt) {
    Open(false, true);
    steps.TransferEnded();  // someone else's exchange, or an activation
    EXPECT_TRUE(view.Info.isEmpty());
    EXPECT_FALSE(steps.waittimer().enabled());
    steps.weiterbuttonClick();
    Answer();
    const QStringList judged = view.Info;
    steps.waittimer().setEnabled(false);
    steps.TransferEnded();
    EXPECT_EQ(view.Info, judged);
    EXPECT_FALSE(steps.waittimer().enabled());
    EXPECT_EQ(steps.Memo1().size(), 17);
}

TEST_F(SequencerTest, RepeatingOrClosingCancelsEveryPendingStep) {
    for (const bool viaRepeat : {true, false}) {
        Open(true, true);
        ReadAndStartFirstWrite();
        Answer();  // the offset prompt opens with its timers running
        EXPECT_TRUE(steps.waittimer().enabled() && steps.offsettimer().enabled());
        steps.waittimerTimer();
        EXPECT_TRUE(steps.resettimer().enabled());
        viaRepeat ? steps.initform(steps.mode()) : steps.CancelPendingSteps();
        EXPECT_FALSE(steps.waittimer().enabled() || steps.resettimer().enabled() ||
                     steps.offsettimer().enabled());
    }
}

TEST_F(SequencerTest, ReadingsAreTakenOrRefusedAndOkWaitsForAValidOne) {
    struct Case {
        bool gain;
        const char* text;
        bool accepted;
        QStringList addedLines;
        int language = 0;
    };
    const Case cases[] = {
        {false, "   -3", true, {}},
        {false, "abc", false, {"Eingabefehler"}},
        {false,
         "40000",
         false,
         {"Eingabefehler", QString::fromUtf8("Anzeigewert außerhalb des gültigen Bereichs")}},
        {true, "1990", true, {}},
        {true, "0", false, {"Eingabefehler", "Anzeige 0: ist das Kalibriersignal angeschlossen?"}},
        {true,
         "1",
         false,
         {"Eingabefehler",
          QString::fromUtf8("Verstärkungsfaktor außerhalb des gültigen Bereichs")}},
        {true, "", false, {"Eingabefehler"}},
        {true,
         "0",
         false,
         {"no valid input data", "reading 0: is the calibration signal connected?"},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Open(true, true, c.language);
        ReadAndStartFirstWrite();
        Answer();
        if (c.gain) {
            steps.AnzeigeExit("0");
            steps.OKButtonClick();
            Answer();
        }
        ASSERT_TRUE(steps.PromptOpen());
        const QStringList before = view.Info;
        const int started = transfers;
        steps.AnzeigeExit(c.text);
        EXPECT_EQ(view.Info.mid(before.size()), c.addedLines);
        EXPECT_EQ(view.OKButton.enabled, c.accepted);
        EXPECT_EQ(view.focusRequest, c.accepted ? FocusTarget::OKButton : FocusTarget::Anzeige);
        steps.OKButtonClick();
        EXPECT_EQ(transfers, started + (c.accepted ? 1 : 0));
    }
}

TEST_F(SequencerTest, TheCalibrationWritesOffsetThenGainWithTheConfiguration) {
    Open(true, true, 1);
    ReadAndStartFirstWrite();
    Answer();
    EXPECT_EQ(view.Label1, "adjust offset");
    EXPECT_EQ(lines.back(), std::make_tuple(true, true, true));
    steps.offsettimerTimer();
    EXPECT_EQ(rts, std::vector<bool>{false});
    steps.AnzeigeExit("-3");
    EXPECT_EQ(view.anzeigeTextRequest, QString("-3"));
    steps.OKButtonClick();
    EXPECT_TRUE(steps.GainStep());
    ImageWords offsetWrite = InitialCalibrationImage();
    offsetWrite[w0] = 65533;
    EXPECT_EQ(SentImage(), offsetWrite);
    Answer();
    EXPECT_EQ(view.Label1, "adjust scale factor");
    rig.model.RelaisOn = " 1500";
    rig.model.RelaisOff = " 1400";
    steps.AnzeigeExit("1990");
    steps.OKButtonClick();
    EXPECT_TRUE(steps.CalibrationDone());
    const ImageWords gainWrite = SentImage();
    EXPECT_EQ(gainWrite[w0], 65533);
    EXPECT_EQ(gainWrite[w2], 8233);
    EXPECT_EQ(gainWrite[w6], 3538);
    EXPECT_EQ(gainWrite[w7], 3438);
    EXPECT_EQ(gainWrite[w8], 0);
    Answer();
    EXPECT_EQ(view.Info, QStringList({"device calibration and configuration successfull"}));
    EXPECT_FALSE(view.KalPan || view.Anzeige);
    EXPECT_EQ(view.focusRequest, FocusTarget::Fertigbutton);
    EXPECT_EQ(rig.device.OffsetReading, 65533);
    EXPECT_EQ(rig.device.GainFactor, 8233);
}

}  // namespace
}  // namespace zmt
