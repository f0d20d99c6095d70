// A read operation against interfaces and meters that misbehave, and closing the operation
// window while an exchange runs or a step is pending.
#include "OperationFixture.h"

namespace zmt::e2e {
namespace {

const QColor kRed(Qt::red);
const QColor kLime(0, 255, 0);

struct FaultCase {
    const char* name;
    bool meterOnCom1;
    sim::Fault fault;
    int language;
    QStringList info;
    QColor colour;
    QStringList buttons;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

const QStringList kRepeatOnly{"nochmalbutton"};
const QStringList kRepeatAndDone{"nochmalbutton", "Fertigbutton"};

// The line of the read stays above the verdict.
const QString kGerman = QStringLiteral("Lese Daten von COM1");
const QString kEnglish = QStringLiteral("reading data from COM1");

const FaultCase kFaultCases[] = {
    {"NoInterfaceOnThePort",
     false,
     sim::Fault::none(),
     1,
     {kEnglish, "could not find interface at COM1"},
     kRed,
     kRepeatOnly},
    {"InterfaceUnplugged",
     true,
     sim::Fault::noInterface(),
     0,
     {kGerman, "kein Interface gefunden auf COM1"},
     kRed,
     kRepeatOnly},
    {"EchoWithoutMeter",
     true,
     sim::Fault::noMeter(),
     0,
     {kGerman, "Interface... O.K.", QString::fromUtf8("Fehler auf Übertragungsstrecke")},
     kRed,
     kRepeatOnly},
    {"WrongAnswerToTheCommand",
     true,
     sim::Fault::wrongAnswer(),
     1,
     {kEnglish, "Interface... O.K.", "transmission error"},
     kRed,
     kRepeatOnly},
    {"AnswersStopEarly",
     true,
     sim::Fault::stopAfter(20),
     0,
     {kGerman, "Interface... O.K.", QString::fromUtf8("Übertragungsstrecke... O.K."),
      "Fehler Empfang"},
     kRed,
     kRepeatOnly},
    {"DeviceDisappearsMidTransfer",
     true,
     sim::Fault::disappearAfter(10),
     1,
     {kEnglish, "Interface... O.K.", "connection... o.k.", "receive error"},
     kRed,
     kRepeatOnly},
    {"OneExtraBytePasses",
     true,
     sim::Fault::extraByte(),
     1,
     {"received configuration transfered to desktop", ""},
     kLime,
     kRepeatAndDone},
};

class FaultTest : public OperationTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(FaultTest, TheOperationWindowJudgesTheExchange) {
    const FaultCase& c = GetParam();
    if (c.meterOnCom1) AddMeter()->setFault(c.fault);
    StartProgram(c.language);
    QStringList info, buttons;
    QColor colour;
    RunOperation("Readbutt", [&] {
        button("weiterbutton")->click();
        ASSERT_TRUE(WaitUntilSettled());
        info = InfoLines();
        colour = InfoColour();
        buttons = ShownButtons();
        EXPECT_TRUE(button("Fertigbutton")->isEnabled());
    });
    EXPECT_EQ(info, c.info);
    EXPECT_EQ(colour, c.colour);
    EXPECT_EQ(buttons, c.buttons);
    if (station && c.colour == kRed) {
        EXPECT_EQ(station->imagesStored(), 0);  // nothing written
    }
    EXPECT_TRUE(errors.messages.isEmpty()) << errors.messages.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultTest, ::testing::ValuesIn(kFaultCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct PowerUpWaitCase {
    int inittimer2Ms;  // the engine waits this long after powering the meter, then sends
    bool readSucceeds;
};

void PrintTo(const PowerUpWaitCase& c, std::ostream* os) {
    *os << c.inittimer2Ms << " ms";
}

class PowerUpWaitTest : public OperationTest,
                        public ::testing::WithParamInterface<PowerUpWaitCase> {};

// The simulated meter starts up in nearly all of the time the program gives it, so a
// program that waited less would fail here and not only in the test that times the steps.
TEST_P(PowerUpWaitTest, AShortenedWaitFindsTheMeterStillStarting) {
    const PowerUpWaitCase& c = GetParam();
    AddMeter();
    StartProgram(1);
    program->transfers().timer(link::TransferEngine::inittimer2).setInterval(c.inittimer2Ms);
    QStringList info;
    RunOperation("Readbutt", [&] {
        button("weiterbutton")->click();
        ASSERT_TRUE(WaitUntilSettled());
        info = InfoLines();
    });
    const QStringList expected =
        c.readSucceeds ? QStringList{"received configuration transfered to desktop", ""}
                       : QStringList{kEnglish, "Interface... O.K.", "transmission error"};
    EXPECT_EQ(info, expected);
}

INSTANTIATE_TEST_SUITE_P(Waits, PowerUpWaitTest,
                         ::testing::Values(PowerUpWaitCase{1600, true},
                                           PowerUpWaitCase{1450, false},
                                           PowerUpWaitCase{1000, false}),
                         [](const auto& info) {
                             return "Wait" + std::to_string(info.param.inittimer2Ms) + "ms";
                         });

TEST_F(OperationTest, ClosingDuringAnExchangeWaitsForItsEndAndWritesNothing) {
    AddMeter();
    StartProgram();
    bool visibleAfterClose = false, closedAtEnd = false;
    RunOperation("Readbutt", [&] {
        button("weiterbutton")->click();
        link::TransferEngine& engine = program->transfers();
        ASSERT_TRUE(WaitFor([&] { return engine.timer(link::TransferEngine::Timer1).enabled(); }));
        QTest::keyClick(&ops(), Qt::Key_Escape);
        ops().close();
        Pass(milliseconds(200));
        visibleAfterClose = ops().isVisible() && ops().CloseWaiting();
        closedAtEnd = WaitFor([&] { return !ops().isVisible(); });
        EXPECT_FALSE(engine.Running());
    });
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_TRUE(closedAtEnd);
    // Neither the power cycle nor the write follows.
    EXPECT_FALSE(Happens([&] { return program->ZMTCom().isVisible(); }));
    EXPECT_EQ(station->imagesStored(), 0);
}

TEST_F(OperationTest, ClosingWithAPendingStepCancelsIt) {
    AddMeter();
    StartProgram();
    RunOperation("Skalbutt", [&] {
        button("weiterbutton")->click();
        ASSERT_TRUE(WaitFor([&] { return ops().sequencer().waittimer().enabled(); }));
        ops().close();
        EXPECT_FALSE(ops().isVisible());
    });
    OperationSequencer& steps = ops().sequencer();
    EXPECT_FALSE(steps.waittimer().enabled() || steps.resettimer().enabled() ||
                 steps.offsettimer().enabled());
    EXPECT_FALSE(Happens([&] { return program->ZMTCom().isVisible(); }));
    EXPECT_EQ(station->imagesStored(), 0);
}

}  // namespace
}  // namespace zmt::e2e
