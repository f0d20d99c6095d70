// The port controller without a window: the interface lines and their failures, the
// switches' locks, and handing the lines back after a device operation.
#include "MainWindowFixture.h"

namespace zmt::test {
namespace {

using Kind = SerialBench::Kind;
using std::chrono::milliseconds;

class PortControllerTest : public ::testing::Test, public ControllerSetup {
  protected:
    PortControllerTest() {
        CreateController();
        controller->FirstStartChoice(1);
        reported = {};
    }
};

struct FailureCase {
    Kind kind;
    int language;
    bool operationRunning;
    QString name;
    QStringList lines;
};

TEST_F(PortControllerTest, SetPortLinesReportsAFailedOpen) {
    const FailureCase cases[] = {
        {Kind::Absent,
         0,
         false,
         "COM3",
         {QString::fromUtf8("COM3  kann nicht geöffnet werden"),
          "COM3 (eventuell bereits belegt)"}},
        {Kind::Absent,
         1,
         false,
         "COM3",
         {"COM3  -error opening port-", "COM3 (perhaps already in use)"}},
        {Kind::PermissionDenied,
         0,
         false,
         "COM3",
         {QString::fromUtf8("COM3  kann nicht geöffnet werden"), "COM3 (eventuell bereits belegt)",
          QString::fromUtf8("  Keine Berechtigung: Benutzer muss zur Gruppe dialout gehören")}},
        {Kind::PermissionDenied,
         1,
         false,
         "COM3",
         {"COM3  -error opening port-", "COM3 (perhaps already in use)",
          "  permission denied: the user must be in the group dialout"}},
        {Kind::Absent, 0, true, "COM3", {}},  // the operation window judges it itself
        {Kind::Absent,
         0,
         false,
         "",
         {QString::fromUtf8("  kann nicht geöffnet werden"), " (eventuell bereits belegt)"}},
        {Kind::Present, 0, false, "COM3", {}},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.kind) << " language " << c.language);
        bench->kind[3] = c.kind;
        reported = {};
        port.Close();
        session.ComPortNumber = 3;
        session.LanguageIndex = c.language;
        controller->SetOperationRunning(c.operationRunning);
        controller->SetPortLines(c.name, true, true, false);
        EXPECT_EQ(ReportedLines(), c.lines);
        EXPECT_EQ(bench->power(3), c.kind == Kind::Present);
    }
}

// The fixture's kernel tree lies in the working directory; COM1 is bound to a standard
// port that the tree lists without a UART (nothing opens it).
void FakeStandardPortWithoutUart(bool withAdapter) {
    QFile::remove("com1");
    QFile::link("/dev/ttyS9", "com1");
    QDir().mkpath("no-sys/class/tty/ttyS9/device");
    QFile type("no-sys/class/tty/ttyS9/type");
    ASSERT_TRUE(type.open(QIODevice::WriteOnly));
    type.write("0\n");
    if (withAdapter) QDir().mkpath("no-sys/class/tty/ttyUSB0");
}

TEST_F(PortControllerTest, TheFirstStartPointsAtAnAdapterThatWaitsToBeAssigned) {
    for (const bool withAdapter : {false, true}) {
        SCOPED_TRACE(withAdapter ? "adapter connected" : "no adapter");
        FakeStandardPortWithoutUart(withAdapter);
        session.LanguageIndex = 1;
        reported = {};
        controller->FirstStartChoice(1);
        const QStringList hint{
            "  /dev/ttyS9 has no serial hardware; the USB serial adapter /dev/ttyUSB0 is "
            "connected: assign it with \"Assign serial ports...\""};
        EXPECT_EQ(ReportedLines(), withAdapter ? hint : QStringList());
    }
}

TEST_F(PortControllerTest, SetPortLinesDrivesPowerOnDtrAndSignalOnRts) {
    struct Step {
        bool power, signal, reopen;
    };
    const Step steps[] = {{true, false, false},
                          {false, true, false},
                          {true, true, true},
                          {true, true, true},
                          {false, false, false}};
    for (const Step& step : steps) {
        controller->SetPortLines("COM1", step.power, step.signal, step.reopen);
        EXPECT_EQ(bench->power(1), step.power);
        EXPECT_EQ(bench->signal(1), step.signal);
    }
    EXPECT_EQ(bench->openCount(1), 3);  // once, then each reopen
}

// After an operation the lines follow the switches again, and both switches are locked for
// their settling time, as after an activation of the main window.
TEST_F(PortControllerTest, HandingTheLinesBackFollowsTheSwitchesAndLocksThem) {
    controller->switchsignalClick(false);
    time.runFor(milliseconds(700));
    controller->SetOperationRunning(true);
    controller->SetPortLines("COM1", false, true, true);  // as an operation leaves them
    controller->HandBackLines();
    controller->SetOperationRunning(false);
    EXPECT_TRUE(bench->power(1));
    EXPECT_FALSE(bench->signal(1));
    EXPECT_FALSE(controller->switchpower().enabled || controller->switchsignal().enabled);
    time.runFor(milliseconds(600));
    EXPECT_FALSE(bench->signal(1));  // powerontimer: still as its switch says
    EXPECT_TRUE(controller->switchsignal().enabled);
    EXPECT_FALSE(controller->switchpower().enabled);
    time.runFor(milliseconds(100));
    EXPECT_TRUE(controller->switchpower().enabled);
}

// A load checks everything before it applies anything: a refused file leaves the model,
// the port number, the lines and the switches as they were, and starts no timer.
TEST_F(PortControllerTest, ARefusedLoadChangesNothing) {
    const std::pair<const char*, std::vector<std::pair<int, QString>>> files[] = {
        {"unreadable test value", {{9, "  abc"}}},
        {"unreadable threshold", {{12, "   on"}}},
        {"unreadable display", {{8, " 2k"}}},
        {"bad device type", {{4, "7"}}},
    };
    controller->Activate();
    time.runFor(milliseconds(700));
    for (const auto& [name, changes] : files) {
        SCOPED_TRACE(name);
        const QString path = workDir.path(QString::fromLatin1(name) + ".dig");
        auto spoiled = changes;
        spoiled.insert(spoiled.end(), {{2, "COM3"}, {10, "device off"}, {11, "signal off"}});
        WriteSettings(path, spoiled);
        const ConfigModel modelBefore = model;
        const SessionState sessionBefore = session;
        reported = {};
        EXPECT_FALSE(controller->Load(path).ok);
        EXPECT_TRUE(model == modelBefore);
        EXPECT_TRUE(session == sessionBefore);
        EXPECT_TRUE(ReportedLines().isEmpty());
        EXPECT_TRUE(bench->isOpen(1) && bench->power(1) && bench->signal(1));
        EXPECT_FALSE(bench->isOpen(3));
        EXPECT_TRUE(controller->switchpower() == (SwitchState{true, true}));
        EXPECT_TRUE(controller->switchsignal() == (SwitchState{true, true}));
        EXPECT_FALSE(controller->powerontimer().enabled());
    }
}

}  // namespace
}  // namespace zmt::test
