// The demo as a technician uses it: the program's own windows over the simulated meters,
// and the virtual meter following what the program writes.
#include "MainWindowFixture.h"
#include "VirtualBench.h"
#include "app/demo/DemoProgram.h"
#include "app/demo/IndicatorLed.h"
#include "app/demo/SevenSegmentDisplay.h"
#include "app/demo/VirtualMeterWindow.h"
#include "device/ZMTUnit1.h"
#include "editor/PortAssignForm.h"
#include "editor/ZMT1.h"
#include "journal/JournalFile.h"
#include "journal/JournalLocation.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>
#include <vector>

namespace zmt::demo {
namespace {

// The demo on a virtual clock: the program, the meters and the virtual meter's polling.
struct DemoFixture : ::testing::Test {
    test::VirtualBench time;  // its clock only; the demo brings its own meters
    // A temporary working directory for initdig.txt; its com1..com4 lead to
    // pseudo-terminals, which the demo must leave alone as much as /dev/ttyS*.
    test::WorkingDirectory workDir;
    test::ScriptedDialogs dialogs;
    test::ScriptedPortDialogs portDialogs;
    std::unique_ptr<DemoProgram> demo;

    void start(std::vector<std::pair<int, QString>> settings) {
        test::WriteSettings(QStringLiteral("initdig.txt"), std::move(settings));
        DemoOptions options{{}, &dialogs};
        options.clock = &time.time.clock;
        options.portDialogs = &portDialogs;
        demo = std::make_unique<DemoProgram>(options);
        for (int com = FirstCom; com <= LastCom; ++com) {
            const auto station = demo->bench().station(com);
            station->SetActivityListener(&test::VirtualTime::Wake);
            time.time.watchIdle([station] { return station->Quiescent(); });
            time.time.watchDeadline([station] { return station->NextEventAt(); });
        }
        time.watchPort(demo->program().RS232());
    }
    bool WaitFor(const std::function<bool()>& done) { return time.time.runUntil(done); }
    void TearDown() override {
        if (!demo) return;
        demo->program().Form1().close();
        QCoreApplication::processEvents();
        time.forgetPort();
        demo.reset();
    }

    VirtualMeterWindow& meter() { return demo->meterWindow(); }
    std::optional<std::string> meterText() { return meter().lastSnapshot().displayText; }
    bool limitLedLit() { return meter().findChild<IndicatorLed*>("LimitLed")->isLit(); }
    template <class Widget>
    Widget* mainControl(const char* name) {
        return demo->program().Form1().findChild<Widget*>(QString::fromLatin1(name));
    }

    // "Gerät parametrieren", confirmed with "o.k.", until the meter has restarted.
    void writeConfiguration() {
        TProgramForm& operation = demo->program().ProgramForm();
        bool settled = false;
        QTimer::singleShot(0, [&] {
            if (QTest::qWaitFor([&] { return operation.isVisible(); }, 5000)) {
                operation.findChild<QPushButton*>("weiterbutton")->click();
                OperationSequencer& steps = operation.sequencer();
                settled = WaitFor([&] {
                    return operation.findChild<QPushButton*>("nochmalbutton")->isVisible() &&
                           !steps.AwaitingTransfer() && !steps.waittimer().enabled() &&
                           !steps.resettimer().enabled();
                });
            }
            operation.close();
        });
        mainControl<QPushButton>("Skalbutt")->click();
        EXPECT_TRUE(settled);
    }
};

// 4..20 mA shown as 0,0..100,0 with the contact closing at 80,0 and opening at 70,0.
const std::vector<std::pair<int, QString>> PercentOfLoop = {
    {3, "1"},      {5, "    4"},  {8, " 1000"},   {9, "   12"},
    {12, "  800"}, {13, "  700"}, {14, "gwnorm"},
};

struct FollowCase {
    bool signalSwitch;
    const char* displayed;
    bool limitLed;
};

TEST_F(DemoFixture, WrittenConfigurationAppearsOnTheVirtualMeter) {
    start(PercentOfLoop);
    meter().findChild<QDoubleSpinBox*>("InputSignal")->setValue(12);
    demo->Show();
    // The meter starts with its factory image; both lines are on after a start.
    ASSERT_TRUE(WaitFor([&] { return meterText() == "2000"; }));

    writeConfiguration();
    EXPECT_EQ(demo->bench().station(1)->imagesStored(), 1);
    // The demo's journal names the simulated interface the write reached, never a device of
    // the machine.
    const auto journal = journal::ReadJournal(journal::JournalPath(QStringLiteral("zmt4824-demo")));
    ASSERT_FALSE(journal.records.empty());
    EXPECT_EQ(journal.records.back().device, QStringLiteral("sim1"));
    const std::vector<FollowCase> cases = {
        {true, "100,0", true},   // the calibration signal: full scale, above ON
        {false, "50,0", false},  // 12 mA, below OFF
    };
    for (const auto& c : cases) {
        auto* signal = mainControl<QCheckBox>("switchsignal");
        // The main window hands the switch back to the user a moment after the operation.
        ASSERT_TRUE(WaitFor([&] { return signal->isEnabled(); }));
        if (signal->isChecked() != c.signalSwitch) signal->click();
        EXPECT_TRUE(WaitFor([&] { return meterText() == c.displayed; }))
            << "shows " << meterText().value_or("nothing") << ", expected " << c.displayed;
        EXPECT_EQ(limitLedLit(), c.limitLed) << c.displayed;
        EXPECT_EQ(meter().findChild<SevenSegmentDisplay*>("MeterDisplay")->cells(),
                  CellsForText(c.displayed));
    }
    // What the editor predicts for its test input is what the meter shows for it.
    EXPECT_EQ(mainControl<QLineEdit>("Testout1")->text().trimmed(), QStringLiteral("50,0"));
}

// Every COM number of the demo reaches a simulated interface; bound to another one, the
// program's port follows, and the search finds the interface on every one.
TEST_F(DemoFixture, PortAssignmentShowsTheSimulatedInterfacesAndMovesThePort) {
    start(PercentOfLoop);
    demo->Show();
    ASSERT_TRUE(WaitFor([&] { return demo->bench().station(1)->powered(); }));
    TPortAssignForm& window = demo->program().PortAssign();
    window.show();
    for (int com = FirstCom; com <= LastCom; ++com) {
        const QString row = QString::number(com);
        EXPECT_EQ(window.findChild<QLabel*>("PortTarget" + row)->text(),
                  "→ sim" + row + ": simulated programming interface with meter");
        EXPECT_EQ(window.findChild<QComboBox*>("PortChoice" + row)->currentIndex(), 0);
    }
    time.time.watchIdle([&window] { return window.probe().settled(); });
    portDialogs.answers = {true, false};
    window.FindClick();
    ASSERT_TRUE(WaitFor([&] { return !window.probe().running(); }));
    EXPECT_EQ(window.probe().found().size(), 4u);
    EXPECT_EQ(demo->bench().station(3)->powerUps(), 0);  // probed unpowered
    auto* com1 = window.findChild<QComboBox*>("PortChoice1");
    com1->setCurrentIndex(3);
    emit com1->activated(3);
    window.accept();
    EXPECT_EQ(demo->bench().route(1), 3);
    ASSERT_TRUE(WaitFor([&] { return demo->bench().station(3)->powered(); }));
    EXPECT_FALSE(demo->bench().station(1)->isAttached());
    EXPECT_EQ(demo->program().RS232().ComNumber(), 1);
}

struct TypeCase {
    const char* settingsLine;
    int meterType;
    const char* unitSuffix;
};

TEST_F(DemoFixture, TheVirtualMeterStartsAsTheTypeOfTheLastConfiguration) {
    const std::vector<TypeCase> cases = {
        {"1", 1, " mA"},
        {"3", 3, " V"},
        {"5", 5, " V"},
        {"2", 2, " mA"},
    };
    for (const auto& c : cases) {
        start({{4, QString::fromLatin1(c.settingsLine)}});
        EXPECT_EQ(demo->bench().knobs().meterType, c.meterType) << c.settingsLine;
        EXPECT_EQ(meter().findChild<QDoubleSpinBox*>("InputSignal")->suffix(),
                  QString::fromLatin1(c.unitSuffix));
        time.forgetPort();
        demo.reset();
    }
}

TEST_F(DemoFixture, TheVirtualMeterSwitchesLanguageWithTheMainWindow) {
    start({{16, "1"}});
    demo->Show();
    const auto caption = [&] { return meter().findChild<QGroupBox*>("LinesGroup")->title(); };
    EXPECT_EQ(caption(), "Interface lines");
    EXPECT_EQ(meter().windowTitle(), "Virtual meter ZMT 48x24");
    const std::vector<const char*> switched = {"Interface-Leitungen", "Interface lines"};
    for (const char* expected : switched) {
        mainControl<QAction>("MLanguage")->trigger();
        EXPECT_TRUE(WaitFor([&] { return caption() == QString::fromUtf8(expected); }))
            << "shows " << caption().toStdString() << ", expected " << expected;
    }
    mainControl<QAction>("MLanguage")->trigger();
    EXPECT_TRUE(WaitFor([&] {
        return meter().windowTitle() == QString::fromUtf8("Virtuelles Messgerät ZMT 48x24");
    }));
}

}  // namespace
}  // namespace zmt::demo
