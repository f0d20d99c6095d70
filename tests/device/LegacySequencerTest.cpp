// The legacy window's checks and its read task, step by step.
#include "DeviceTestRig.h"
#include "device/LegacySequencer.h"

#include <gtest/gtest.h>

namespace zmt {
namespace {

using testing::DeviceRig;

TEST(LegacyVerdictTest, EachKindOfExchangeHasItsOwnChecks) {
    struct Case {
        const char* name;
        std::uint8_t kind;
        int expected;
        std::vector<std::uint8_t> received;
        bool timedOutSilently;
        QStringList lines;
        bool ok;
    };
    const QString connectionOk = QString::fromUtf8("Übertragungsstrecke... O.K.");
    const QString connectionError = QString::fromUtf8("Fehler in Übertragungsstrecke !!!");
    const std::vector<std::uint8_t> read(66, 0xA6), readPlusOne(67, 0xA6);
    const std::vector<std::uint8_t> write(130, 0xA6), writePlusOne(131, 0xA6);
    const Case cases[] = {
        {"no interface", LegacyRead, 66, {}, true, {"kein Interface auf COM1 gefunden"}, false},
        {"check passes",
         InterfaceCheck,
         2,
         {0xA6, 0xA6},
         false,
         {"Interface... O.K.", connectionOk, "Byte 1: 166", "Byte 2: 166"},
         true},
        {"check without meter",
         InterfaceCheck,
         2,
         {0xA6, 0x00},
         false,
         {"Interface... O.K.", connectionError, "Byte 1: 166", "Byte 2: 0"},
         false},
        {"check with a wrong echo",
         InterfaceCheck,
         2,
         {0x12},
         false,
         {"Byte 1: 18", "Byte 2: 0"},
         false},
        {"read exact",
         LegacyRead,
         66,
         read,
         false,
         {"Interface... O.K.", connectionOk, "Daten... O.K."},
         true},
        {"read one more",
         LegacyRead,
         66,
         readPlusOne,
         false,
         {"Interface... O.K.", connectionOk, "Fehler Empfang !!!"},
         false},
        {"read without meter",
         LegacyRead,
         66,
         {0xA6},
         false,
         {"Interface... O.K.", connectionError},
         false},
        {"write one more",
         LegacyWrite,
         130,
         writePlusOne,
         false,
         {"Interface... O.K.", connectionOk, "Daten... O.K."},
         true},
        {"write exact",
         LegacyWrite,
         130,
         write,
         false,
         {"Interface... O.K.", connectionOk, "Daten... O.K."},
         true},
    };
    for (const Case& c : cases) {
        TransferState transfer;
        transfer.SendBuffer[0] = transfer.NextByte = 0xA6;
        transfer.TransferKind = c.kind;
        transfer.ExpectedCount = c.expected;
        for (std::uint8_t byte : c.received) transfer.StoreReceived(byte);
        transfer.ByteReceived = !c.received.empty();
        transfer.ReceiveTimedOut = true;
        const ExchangeVerdict verdict = JudgeLegacyExchange(transfer, "COM1");
        EXPECT_EQ(verdict.lines, c.lines) << c.name;
        EXPECT_EQ(verdict.ok, c.ok) << c.name;
    }
}

class LegacyTaskTest : public ::testing::Test {
  protected:
    LegacyTaskTest() {
        rig.session.ComPortName = "COM1";
        steps.Reset();
    }
    LegacyHooks MakeHooks() {
        LegacyHooks h;
        h.SetPortLines = [this](bool power, bool signal, bool) {
            lines.emplace_back(power, signal);
        };
        h.SetDTR = [this](bool on) { dtr.push_back(on); };
        h.ShowTransferWindow = [this] { ++transfers; };
        h.EditorStep = [this](const std::function<void(Effects&)>& operation) {
            operation(rig.fx);
        };
        h.Beep = [this] { ++beeps; };
        return h;
    }
    void Answer(int extraBytes = 0) {
        rig.AnswerAsMeter(kImage, rig.transfer.ExpectedCount / 2);
        for (int k = 0; k < extraBytes; ++k) rig.transfer.StoreReceived(0xFF);
        rig.transfer.TransferStarted = rig.transfer.ByteReceived = rig.transfer.ReceiveTimedOut =
            true;
        steps.TransferEnded();
    }

    static constexpr ImageWords kImage{0, 100,   16384, 2049,  0x80,  1,     5000,  8192,
                                       0, 10000, 12000, 10000, 12000, 12000, 12000, 1};
    DeviceRig rig;
    std::vector<std::pair<bool, bool>> lines;
    std::vector<bool> dtr;
    int transfers = 0;
    int beeps = 0;
    VirtualClock clock;  // the steps run by hand; no timer fires by itself
    LegacySequencer steps{rig.transfer, rig.device, rig.editor, MakeHooks(), clock};
    LegacyView& view = steps.view();
};

TEST_F(LegacyTaskTest, AGoodReadIsWrittenBackAndTakenOver) {
    steps.weiterbuttonClick();
    EXPECT_EQ(rig.transfer.TransferKind, LegacyRead);
    Answer();
    EXPECT_EQ(steps.LegacyTask(), TaskReadDone);
    EXPECT_TRUE(view.Memo3Aqua);
    EXPECT_TRUE(steps.Timer1().enabled());
    EXPECT_EQ(steps.Timer1().interval(), 1000);
    steps.Timer1Timer();
    EXPECT_EQ(rig.transfer.TransferKind, LegacyWrite);
    EXPECT_EQ(rig.transfer.ExpectedCount, 130);
    EXPECT_EQ(view.Label1, "Reprogrammierung");
    Answer(1);  // a write passes with one byte more
    EXPECT_EQ(lines.back(), std::make_pair(false, true));
    EXPECT_TRUE(steps.resettimer().enabled());
    steps.resettimerTimer();
    EXPECT_EQ(dtr, std::vector<bool>{true});
    EXPECT_EQ(view.Info.first(), "-  Datentransfer erfolgreich  -");
    EXPECT_EQ(rig.model.Skalout2.trimmed(), "1899");
    EXPECT_EQ(beeps, 2);  // one at each evaluation
    EXPECT_EQ(transfers, 2);
}

TEST_F(LegacyTaskTest, AFailedReadEndsTheTaskAndClosingCancelsTheWriteBack) {
    steps.weiterbuttonClick();
    Answer(1);
    EXPECT_EQ(steps.LegacyTask(), TaskFinished);
    EXPECT_EQ(view.infoColour, InfoColour::Red);
    EXPECT_FALSE(steps.Timer1().enabled());

    steps.Reset();
    steps.weiterbuttonClick();
    Answer();
    ASSERT_TRUE(steps.Timer1().enabled());
    steps.FertigbuttonClick();
    EXPECT_FALSE(steps.Timer1().enabled() || steps.resettimer().enabled());
    EXPECT_EQ(transfers, 2);
}

TEST_F(LegacyTaskTest, TheInterfaceCheckSendsOneByte) {
    steps.checkintClick();
    EXPECT_EQ(rig.transfer.TransferKind, InterfaceCheck);
    EXPECT_EQ(rig.transfer.ExpectedCount, 2);
    EXPECT_EQ(rig.transfer.SendBuffer[0], 0xA6);
    EXPECT_EQ(view.Info, QStringList({"Check Interface on COM1"}));
}

}  // namespace
}  // namespace zmt
