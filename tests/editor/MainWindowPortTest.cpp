// The main window and the serial port: the switches and their locks as the window shows
// them, probing, the port menu, and the buttons that start a device operation.
#include "MainWindowFixture.h"

#include <QCheckBox>
#include <QDialog>

namespace zmt::test {
namespace {

using Kind = SerialBench::Kind;

TEST_F(MainWindowTest, PowerSwitchRaisesSignalThenRestoresItAndLocksItself) {
    CreateWithDefaults();
    ShowActive();
    auto* power = child<QCheckBox>("switchpower");
    auto* signal = child<QCheckBox>("switchsignal");
    // The activation: power from its box, 600 ms later the signal from its box.
    time.runFor(std::chrono::milliseconds(100));  // the activation, reported or not
    EXPECT_TRUE(bench->power(1));
    ASSERT_TRUE(time.runUntil([&] { return power->isEnabled() && signal->isEnabled(); }));
    EXPECT_TRUE(bench->signal(1));

    signal->click();
    EXPECT_FALSE(bench->signal(1));
    EXPECT_FALSE(signal->isEnabled());
    signal->click();  // locked: a second click does nothing
    EXPECT_FALSE(signal->isChecked());
    time.runFor(std::chrono::milliseconds(499));
    EXPECT_FALSE(signal->isEnabled());
    time.runFor(std::chrono::milliseconds(1));
    EXPECT_TRUE(signal->isEnabled());

    power->click();
    EXPECT_FALSE(bench->power(1));
    EXPECT_TRUE(bench->signal(1));  // raised with the power change
    EXPECT_FALSE(power->isEnabled());
    time.runFor(std::chrono::milliseconds(600));
    EXPECT_FALSE(bench->signal(1));  // back to its box
    EXPECT_FALSE(power->isEnabled());
    time.runFor(std::chrono::milliseconds(100));
    EXPECT_TRUE(power->isEnabled());
    EXPECT_FALSE(session.PowerOn);
    EXPECT_FALSE(session.SignalOn);
}

// The activation rule runs when the window takes over from another window of the program,
// not when the user comes back from another application: with a port that cannot be
// opened, that is the difference between a quiet memo and two error lines at every Alt+Tab.
TEST_F(MainWindowTest, ActivationRuleRunsOnlyWhenTakingOverFromAnOwnWindow) {
    bench->kind[1] = Kind::Absent;
    QWidget other;
    other.setObjectName("otherWindow");
    const auto activate = [](QWidget& window) {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    };
    hooks.ShowAboutModal = [] {
        QDialog about;
        QTimer::singleShot(0, &about, &QDialog::accept);
        about.exec();
    };
    struct Step {
        const char* what;
        std::function<void()> leaveAndReturn;
        bool runs;
    };
    const Step steps[] = {
        {"another application",
         [&] {
             activate(other);
             emit qApp->focusWindowChanged(nullptr);  // as the platform reports leaving
             activate(*form);
         },
         false},
        {"another window of the program",
         [&] {
             activate(other);
             activate(*form);
         },
         true},
        {"a modal window of the program", [&] { action("About1")->trigger(); }, true},
    };
    CreateWithDefaults();
    ShowActive();
    time.runFor(std::chrono::milliseconds(1000));
    ASSERT_EQ(form->MemLines().size(), 2);  // the first show's activation
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        form->ClearMem();
        step.leaveAndReturn();
        time.runFor(std::chrono::milliseconds(200));  // past the fallback
        EXPECT_EQ(form->MemLines().size(), step.runs ? 2 : 0);
        EXPECT_EQ(child<QCheckBox>("switchpower")->isEnabled(), !step.runs);  // locked 700 ms
        time.runFor(std::chrono::milliseconds(1000));
    }
}

TEST_F(MainWindowTest, ProbePortsLeavesTheOpenPortAndItsLinesAlone) {
    bench->kind[3] = Kind::Absent;
    CreateWithDefaults();
    form->COMClick(2);
    ASSERT_TRUE(bench->power(2));
    emit child<QMenu>("Kommunikation1")->aboutToShow();

    const std::pair<const char*, bool> items[] = {
        {"COM11", true}, {"COM21", true}, {"COM31", false}, {"COM41", true}};
    for (const auto& [item, enabled] : items) EXPECT_EQ(action(item)->isEnabled(), enabled) << item;
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(port.ComNumber(), 2);
    EXPECT_TRUE(bench->power(2));
    EXPECT_TRUE(bench->signal(2));
    EXPECT_EQ(bench->openCount(2), 1);
    for (int probed : {1, 4}) {
        EXPECT_EQ(bench->openCount(probed), 1);
        EXPECT_FALSE(bench->isOpen(probed));
    }
}

// The captions stay "COM1".."COM4"; what each opens shows as its tooltip and status tip,
// read again whenever the menu opens.
TEST_F(MainWindowTest, PortItemsKeepTheirCaptionsAndTellWhatTheyOpen) {
    QFile::remove("com2");
    QFile::remove("com3");
    ASSERT_TRUE(QFile::link("/dev/ttyUSB97", "com3"));
    CreateWithDefaults();
    emit child<QMenu>("Kommunikation1")->aboutToShow();
    const QString pty = QFileInfo("com1").canonicalFilePath();
    EXPECT_EQ(action("COM11")->text(), "COM1");
    EXPECT_EQ(action("COM11")->toolTip(), pty + " (keine serielle Hardware)");
    EXPECT_EQ(action("COM11")->statusTip(), action("COM11")->toolTip());
    EXPECT_TRUE(action("COM21")->toolTip().startsWith("/dev/ttyS1"));
    EXPECT_EQ(action("COM31")->text(), "COM3");
    EXPECT_EQ(action("COM31")->toolTip(), "/dev/ttyUSB97 (nicht vorhanden)");
    QFile::remove("com3");
    form->MLanguageClick();
    emit child<QMenu>("Kommunikation1")->aboutToShow();
    EXPECT_TRUE(action("COM31")->toolTip().startsWith("/dev/ttyS2"));
    EXPECT_EQ(action("COM11")->toolTip(), pty + " (no serial hardware)");
    EXPECT_EQ(child<QLabel>("ComInfo")->text(), "COM1");
}

TEST_F(MainWindowTest, PortAssignmentIsTheLastItemOfTheCommunicationMenu) {
    int opened = 0;
    hooks.ShowPortAssignModal = [&] { ++opened; };
    CreateWithDefaults();
    EXPECT_EQ(child<QMenu>("Kommunikation1")->actions().last(), action("PortAssign1"));
    EXPECT_EQ(caption("PortAssign1"), "Schnittstellen &zuordnen...");
    form->MLanguageClick();
    EXPECT_EQ(caption("PortAssign1"), "&Assign serial ports...");
    action("PortAssign1")->trigger();
    EXPECT_EQ(opened, 1);
}

TEST_F(MainWindowTest, PortMenuItemSelectsOpensAndKeepsTheScaling) {
    CreateWithDefaults();
    ShowActive();
    TypeInto(field("Skalin2"), "15");
    LeaveWithTab(field("Skalin2"));
    form->ClearMem();
    action("COM31")->trigger();
    EXPECT_TRUE(action("COM31")->isChecked());
    EXPECT_FALSE(action("COM11")->isChecked());
    EXPECT_EQ(session.ComPortName, "COM3");
    EXPECT_EQ(session.ComPortNumber, 3);
    EXPECT_EQ(child<QLabel>("ComInfo")->text(), "COM3");
    EXPECT_EQ(form->MemLines(), QStringList{" ausgewählte Schnittstelle seriell: COM3"});
    EXPECT_EQ(text("Skalin2"), "   15");
    EXPECT_TRUE(bench->isOpen(3));
    EXPECT_FALSE(bench->isOpen(1));
}

TEST_F(MainWindowTest, OperationButtonsSetTheFlagsAndOpenTheirWindow) {
    struct Operation {
        const char* control;
        bool menu;
        bool calibrate, write;
        bool legacy;
    };
    const Operation operations[] = {
        {"Readbutt", false, false, false, false}, {"MenueAuslesen", true, false, false, false},
        {"Skalbutt", false, false, true, false},  {"MenueParametrieren", true, false, true, false},
        {"KalParButt", false, true, true, false}, {"MenueKalPar", true, true, true, false},
        {"Kalbutt", false, true, false, true},
    };
    QStringList opened;
    hooks.ShowProgramFormModal = [&] {
        opened
            << QStringLiteral("ProgramForm %1%2").arg(session.CalibrateFlag).arg(session.WriteFlag);
    };
    hooks.ShowForm2 = [&] {
        opened << QStringLiteral("Form2 %1%2").arg(session.CalibrateFlag).arg(session.WriteFlag);
    };
    CreateWithDefaults();
    for (const Operation& op : operations) {
        opened.clear();
        session.CalibrateFlag = !op.calibrate;
        session.WriteFlag = !op.write;
        if (op.menu)
            action(op.control)->trigger();
        else
            emit child<QAbstractButton>(op.control)->clicked();
        const QString expected = QStringLiteral("%1 %2%3")
                                     .arg(op.legacy ? "Form2" : "ProgramForm")
                                     .arg(op.calibrate)
                                     .arg(op.write);
        EXPECT_EQ(opened, QStringList{expected}) << op.control;
    }
}

TEST_F(MainWindowTest, LogoShowsTheAddressAndOpensItOnDoubleClick) {
    QList<QUrl> opened;
    hooks.OpenUrl = [&](const QUrl& url) { opened << url; };
    CreateWithDefaults();
    ShowActive();
    auto* logo = child<QLabel>("Image1");
    EXPECT_EQ(logo->toolTip(), "https://www.example.com/zmt4824");
    const int beeps = BeepCount();
    QTest::mouseDClick(logo, Qt::LeftButton);
    // The test library counts the button as still held after a double click; a held button
    // would keep the pointer's enter events from the windows of the tests after this one.
    QTest::mouseRelease(logo, Qt::LeftButton);
    EXPECT_EQ(BeepCount() - beeps, 1);
    EXPECT_EQ(opened, QList<QUrl>{QUrl("https://www.example.com/zmt4824")});
}

}  // namespace
}  // namespace zmt::test
