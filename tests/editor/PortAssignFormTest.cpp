// The port assignment window typed into: choosing a device and applying it, cancelling,
// listing again after a replug, a refusal, the search for the interface with its
// questions, stopping it, and the program's port following a new binding.
#include "MainWindowFixture.h"
#include "editor/PortAssignForm.h"
#include "link/FixedPortCatalog.h"
#include "link/LinkFolderMap.h"
#include "sim/SimulatedPort.h"

#include <QComboBox>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>

namespace zmt::test {
namespace {

using link::PortEntry;

PortEntry Device(const QString& path, const QString& description, bool busy = false) {
    PortEntry entry;
    entry.devicePath = path;
    entry.description = description;
    entry.busy = busy;
    return entry;
}

// The window over the controller in a working directory whose com1..com4 lead to
// pseudo-terminals; three device files stand for adapters, and a search finds the simulated
// interface behind "ttyUSB1" (the one behind "ttyUSB0" is silent), on the virtual clock.
class PortAssignFormTest : public ::testing::Test, public ControllerSetup {
  protected:
    void SetUp() override {
        QDir().mkdir("dev");
        for (const char* name : {"ttyUSB0", "ttyUSB1", "ttyACM0"}) {
            QFile file(device(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        catalog->setEntries({Device(device("ttyUSB0"), "FT232R USB UART"),
                             Device(device("ttyUSB1"), "CP2102 USB to UART"),
                             Device(device("ttyACM0"), "USB modem", true)});
        sims->addStation(1)->setFault(sim::Fault::noInterface());
        sims->addStation(2);
        sims->SetActivityListener(&VirtualTime::Wake);
        time.watchIdle([s = sims] { return s->Quiescent(); });
        time.watchDeadline([s = sims] { return s->NextEventAt(); });
        ports = {catalog, std::make_shared<link::LinkFolderMap>(), [this](const QString& path) {
                     const int station = path.endsWith("ttyUSB1") ? 2 : 1;
                     return link::MakeProbePort(sim::SimulatedDeviceFactory(sims), station);
                 }};
        CreateController();
        form =
            std::make_unique<TPortAssignForm>(PortAssignContext{*controller, time.clock, dialogs});
        time.watchIdle([this] { return !form || form->probe().settled(); });
    }
    void TearDown() override { form.reset(); }

    QString device(const QString& name) const {
        return QDir::current().absoluteFilePath("dev/" + name);
    }
    QString linkOf(int number) const {
        return QFileInfo(QStringLiteral("com%1").arg(number)).symLinkTarget();
    }
    template <class Widget = QWidget>
    Widget* child(const QString& name) {
        auto* widget = form->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QComboBox* choice(int number) {
        return child<QComboBox>(QStringLiteral("PortChoice%1").arg(number));
    }
    void click(const char* button) {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
    // Picks an entry with the keyboard, as a user going through the list would.
    void pick(QComboBox* combo, int index) {
        combo->setFocus(Qt::TabFocusReason);
        QTest::keyClick(combo, Qt::Key_Home);
        for (int step = 0; step < index; ++step) QTest::keyClick(combo, Qt::Key_Down);
    }
    void Open() {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void PowerTheMeterOnComOne() {
        session.ComPortNumber = 1;
        session.ComPortName = "COM1";
        session.PowerOn = session.SignalOn = true;
        controller->SetPortLines("COM1", true, true, false);
        ASSERT_TRUE(bench->power(1));
    }

    std::shared_ptr<link::FixedPortCatalog> catalog = std::make_shared<link::FixedPortCatalog>();
    std::shared_ptr<sim::SimulatedBench> sims = std::make_shared<sim::SimulatedBench>(time.clock);
    ScriptedPortDialogs dialogs;
    std::unique_ptr<TPortAssignForm> form;
};

TEST_F(PortAssignFormTest, OkBindsTheChosenDeviceAndTheRowSaysWhatItReachesNow) {
    Open();
    const QString pty = QFileInfo("com1").canonicalFilePath();
    EXPECT_EQ(child<QLabel>("PortTarget1")->text(), "→ " + pty + " (keine serielle Hardware)");
    EXPECT_EQ(choice(1)->currentText(), pty + " (keine serielle Hardware)");
    EXPECT_EQ(choice(1)->itemText(0), "Standard (/dev/ttyS0)");
    pick(choice(1), 2);
    EXPECT_EQ(choice(1)->currentText(), device("ttyUSB1") + ": CP2102 USB to UART");
    pick(choice(4), 0);
    click("PortOk");
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(linkOf(1), device("ttyUSB1"));
    EXPECT_FALSE(QFileInfo::exists("com4"));
    EXPECT_EQ(QFileInfo("com2").canonicalFilePath().startsWith("/dev/pts/"), true);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(PortAssignFormTest, CancelChangesNothing) {
    Open();
    const QString before = linkOf(1);
    pick(choice(1), 1);
    pick(choice(2), 0);
    click("PortCancel");
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(linkOf(1), before);
    EXPECT_TRUE(QFileInfo("com2").isSymLink());
    // Opened again, the window shows the bindings as they are.
    Open();
    EXPECT_EQ(choice(1)->currentText(), before + " (keine serielle Hardware)");
}

TEST_F(PortAssignFormTest, RefreshListsAReplugAndKeepsTheChoiceMade) {
    Open();
    pick(choice(3), 1);
    catalog->setEntries({Device(device("ttyUSB0"), "FT232R USB UART"),
                         Device(device("ttyUSB1"), "CP2102 USB to UART")});
    QFile::remove(device("ttyACM0"));
    click("PortRefresh");
    EXPECT_EQ(choice(3)->count(), 4);  // standard, two devices, the pseudo-terminal
    EXPECT_EQ(choice(3)->currentText(), device("ttyUSB0") + ": FT232R USB UART");
    EXPECT_EQ(child<QLabel>("PortDevicesNote")->text(), "Serielle Geräte gefunden: 2");
    catalog->setEntries({});
    click("PortRefresh");
    EXPECT_EQ(child<QLabel>("PortDevicesNote")->text(),
              "Keine seriellen Geräte gefunden; \"Standard\" bleibt wählbar.");
    EXPECT_EQ(choice(1)->itemText(0), "Standard (/dev/ttyS0)");
}

TEST_F(PortAssignFormTest, ARefusalIsShownAndTheWindowStaysOpen) {
    QFile::remove("com3");
    QFile own("com3");
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.close();
    Open();
    pick(choice(2), 1);
    pick(choice(3), 1);
    click("PortOk");
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].contains("com3 ist keine symbolische Verknüpfung"));
    EXPECT_TRUE(QFileInfo("com3").isFile());
    EXPECT_NE(linkOf(2), device("ttyUSB0"));  // nothing applied
    EXPECT_EQ(choice(2)->currentIndex(), 1);  // the choice waits for a second try
}

TEST_F(PortAssignFormTest, FindAsksFirstSearchesWithThePortClosedAndOffersTheInterfaceFound) {
    PowerTheMeterOnComOne();
    Open();
    pick(child<QComboBox>("PortFindAs"), 1);  // assign what is found as COM2
    dialogs.answers = {true, true};
    click("PortFind");
    ASSERT_EQ(dialogs.questions.size(), 1);
    const QString question = dialogs.questions[0];
    EXPECT_TRUE(question.contains(device("ttyUSB0") + ": FT232R USB UART"));
    EXPECT_TRUE(question.contains(device("ttyUSB1") + ": CP2102 USB to UART"));
    EXPECT_TRUE(question.contains("Von einem anderen Programm belegt, wird nicht berührt:\n    " +
                                  device("ttyACM0")));
    EXPECT_TRUE(question.contains("kein anderes Gerät (z.B. Maus)"));
    EXPECT_FALSE(port.IsOpen());  // the meter stays unpowered while the search runs
    EXPECT_FALSE(child<QPushButton>("PortFind")->isEnabled());
    ASSERT_TRUE(time.runUntil([&] { return !form->probe().running(); }));
    EXPECT_EQ(child<QPlainTextEdit>("PortFindLog")->toPlainText(),
              device("ttyUSB0") + ": kein Interface\n" + device("ttyUSB1") +
                  ": Interface gefunden\n" + device("ttyACM0") + ": belegt, nicht berührt");
    ASSERT_EQ(dialogs.questions.size(), 2);
    EXPECT_EQ(dialogs.questions[1],
              "Programmierinterface gefunden auf " + device("ttyUSB1") + ".\nAls COM2 zuordnen?");
    EXPECT_EQ(choice(2)->currentText(), device("ttyUSB1") + ": CP2102 USB to UART");
    EXPECT_EQ(sims->station(2)->powerUps(), 0);
    click("PortOk");
    EXPECT_EQ(linkOf(2), device("ttyUSB1"));
    EXPECT_TRUE(port.IsOpen());  // back on COM1 with its lines
    EXPECT_TRUE(bench->power(1));
    EXPECT_TRUE(bench->signal(1));
}

TEST_F(PortAssignFormTest, AnsweringNoStartsNoSearchAndANoInterfaceResultSaysSo) {
    Open();
    dialogs.answers = {false};
    click("PortFind");
    EXPECT_FALSE(form->probe().running());
    catalog->setEntries({Device(device("ttyUSB0"), "FT232R USB UART")});
    click("PortRefresh");
    dialogs.answers = {true};
    click("PortFind");
    ASSERT_TRUE(time.runUntil([&] { return !form->probe().running(); }));
    EXPECT_EQ(dialogs.messages, QStringList{"Kein Programmierinterface gefunden."});
    catalog->setEntries({Device(device("ttyACM0"), "USB modem", true)});
    click("PortRefresh");
    click("PortFind");
    EXPECT_EQ(dialogs.messages.last(), "Kein freies serielles Gerät zum Durchsuchen.");
}

TEST_F(PortAssignFormTest, StopSearchLeavesEveryPortClosedAndEveryLineLow) {
    Open();
    dialogs.answers = {true};
    click("PortFind");
    const auto silent = sims->station(1);
    ASSERT_TRUE(time.runUntil([&] { return silent->isAttached(); }));
    click("PortStopSearch");
    EXPECT_FALSE(form->probe().running());
    EXPECT_FALSE(silent->isAttached());
    EXPECT_FALSE(silent->dtr());
    EXPECT_FALSE(silent->rts());
    EXPECT_TRUE(child<QPlainTextEdit>("PortFindLog")->toPlainText().endsWith("Suche abgebrochen."));
    EXPECT_TRUE(child<QPushButton>("PortFind")->isEnabled());
    EXPECT_EQ(dialogs.questions.size(), 1);  // no offer after a stop
}

// The open port follows a new binding of its COM number at once; another number's
// binding leaves it alone.
TEST_F(PortAssignFormTest, TheOpenPortReopensOnlyWhenItsComNumberIsBoundElsewhere) {
    PowerTheMeterOnComOne();
    Open();
    pick(choice(2), 1);
    click("PortOk");
    EXPECT_EQ(bench->openCount(1), 1);
    Open();
    pick(choice(1), 1);
    click("PortOk");
    EXPECT_EQ(bench->openCount(1), 2);
    EXPECT_TRUE(bench->power(1));
    EXPECT_TRUE(bench->signal(1));
}

TEST_F(PortAssignFormTest, SpeaksTheLanguageOfTheMomentWithAHelpLine) {
    session.LanguageIndex = 1;
    Open();
    EXPECT_EQ(form->windowTitle(), "Assign serial ports");
    EXPECT_EQ(child<QPushButton>("PortFind")->text(), "Find interface");
    EXPECT_EQ(child<QPushButton>("PortCancel")->text(), "Cancel");
    EXPECT_EQ(choice(1)->itemText(0), "Standard (/dev/ttyS0)");
    child<QPushButton>("PortRefresh")->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(child<QLabel>("PortHelpPanel")->text(),
              " list the serial devices again (after plugging in or out)");
    form->hide();
    session.LanguageIndex = 0;
    Open();
    EXPECT_EQ(child<QPushButton>("PortFind")->text(), "Interface suchen");
}

}  // namespace
}  // namespace zmt::test
