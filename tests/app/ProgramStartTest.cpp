// The program as a whole: start with and without a settings file, the first-start window,
// the help menu's windows and the settings file written at exit.
#include "MainWindowFixture.h"
#include "app/ZMT6v01.h"

#include "editor/ComSelectUnit.h"

#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>

namespace zmt::test {
namespace {

class ProgramTest : public ::testing::Test {
  protected:
    void Start(link::PlatformDeviceFactory factory) {
        ProgramOptions options{std::move(factory), &dialogs};
        options.clock = &time.clock;
        program = std::make_unique<ZMT6v01>(std::move(options));
    }
    // Runs the program on its virtual clock until `done` holds.
    bool RunUntil(const std::function<bool()>& done) { return time.runUntil(done); }
    void Start() { Start(BenchFactory(bench)); }
    TForm1& form() { return program->Form1(); }
    QString caption(const char* name) { return CaptionOf(form().findChild<QObject*>(name)); }
    QString comInfo() { return form().findChild<QLabel*>("ComInfo")->text(); }
    bool starttimerArmed() { return form().findChild<OneShotTimer*>("starttimer")->enabled(); }
    void Exit() {
        form().close();
        QCoreApplication::processEvents();
    }

    VirtualTime time;
    WorkingDirectory workDir;
    std::shared_ptr<SerialBench> bench = std::make_shared<SerialBench>();
    ScriptedDialogs dialogs;
    ErrorCapture errors;
    std::unique_ptr<ZMT6v01> program;
};

void Choose(QWidget* window, const char* radio) {
    if (radio) window->findChild<QRadioButton*>(radio)->click();
    window->findChild<QAbstractButton*>("okbutton")->click();
}

TEST_F(ProgramTest, FirstStartAsksForThePortAndWritesItAtExit) {
    Start();
    EXPECT_TRUE(starttimerArmed());
    QString title, firstMemoLine;
    bool memoWraps = false;
    WhenModalShows([&](QWidget* window) {
        title = window->windowTitle();
        auto* memo = window->findChild<QPlainTextEdit*>("Memo1");
        firstMemoLine = memo->toPlainText().section('\n', 0, 0);
        memoWraps = memo->lineWrapMode() == QPlainTextEdit::WidgetWidth &&
                    memo->horizontalScrollBar()->maximum() == 0;
        Choose(window, "pre2");
    });
    const int beeps = BeepCount();
    program->Show();
    ASSERT_TRUE(RunUntil([&] { return comInfo() == QString("COM2"); }));
    EXPECT_EQ(title, QString::fromUtf8("ZMT digitales Messgerät 48x24"));
    EXPECT_EQ(firstMemoLine, "!!! Auswahl der seriellen Schnittstelle !!!");
    EXPECT_TRUE(memoWraps);
    EXPECT_GE(BeepCount() - beeps, 1);
    // The activation after the window closed opens COM2 with both lines on.
    ASSERT_TRUE(RunUntil([&] { return bench->power(2) && bench->signal(2); }));
    EXPECT_FALSE(bench->isOpen(1));
    EXPECT_EQ(form().findChild<QLineEdit*>("Testin1")->text(), "   10");

    Exit();
    const QStringList lines = ReadLines("initdig.txt");
    const std::pair<int, const char*> expected[] = {{2, "COM2"},  {3, "4"},     {4, "1"},
                                                    {7, "   20"}, {9, "   10"}, {14, "gwnorm"}};
    for (const auto& [line, text] : expected) EXPECT_EQ(lines.value(line), text) << line;
}

TEST_F(ProgramTest, FirstStartWindowClosedWithoutItsButtonTakesCom1) {
    Start();
    int beepsAtOkWithoutChoice = -1;
    bool stayedOpen = false;
    WhenModalShows([&](QWidget* window) {
        const int before = BeepCount();
        Choose(window, nullptr);
        beepsAtOkWithoutChoice = BeepCount() - before;
        stayedOpen = window->isVisible();
        window->close();
    });
    program->Show();
    ASSERT_TRUE(RunUntil([&] { return !program->ComPreSelect().isVisible() && stayedOpen; }));
    EXPECT_EQ(beepsAtOkWithoutChoice, 1);
    EXPECT_EQ(program->session.ComPortName, "COM1");
    EXPECT_EQ(program->model.SelectRange, 1);
    ASSERT_TRUE(RunUntil([&] { return bench->power(1); }));
    Exit();
    EXPECT_EQ(ReadLines("initdig.txt").value(2), "COM1");
    EXPECT_EQ(ReadLines("initdig.txt").value(4), "1");
}

TEST_F(ProgramTest, SettingsFileRestoresPortLanguageAndConfiguration) {
    WriteSettings("initdig.txt", {{2, "COM3"}, {7, "   15"}, {16, "1"}, {10, "device off"}});
    Start();
    EXPECT_FALSE(starttimerArmed());
    program->Show();
    EXPECT_EQ(caption("Readbutt"), "read configuration");
    EXPECT_EQ(comInfo(), "COM3");
    EXPECT_EQ(form().findChild<QLineEdit*>("Skalin2")->text(), "   15");
    // The boxes, not the file, decide: both lines come on after a start.
    ASSERT_TRUE(RunUntil([&] { return bench->power(3) && bench->signal(3); }));
    time.runFor(std::chrono::milliseconds(400));  // past the first-start timer
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(form().MemLines().isEmpty());
}

// The refusal speaks the language that the file asks for; nothing else of it is applied.
TEST_F(ProgramTest, BadSettingsFileIsReportedAndReplacedOnlyAtExit) {
    WriteSettings("initdig.txt", {{4, "9"}, {16, "1"}});
    Start();
    EXPECT_EQ(form().MemLines(),
              QStringList({" settings file initdig.txt is invalid, it is replaced at exit:",
                           "  Settings line 4: '9' is not a device type (-1 to 5)"}));
    EXPECT_EQ(caption("Readbutt"), "Parameter auslesen");  // nothing of the file applied
    EXPECT_EQ(program->session.LanguageIndex, 0);
    EXPECT_TRUE(starttimerArmed());
    WhenModalShows([](QWidget* window) { Choose(window, "pre1"); });
    program->Show();
    ASSERT_TRUE(RunUntil([&] { return program->session.ComPortName == QString("COM1"); }));
    EXPECT_EQ(ReadLines("initdig.txt").value(4), "9");
    Exit();
    EXPECT_EQ(ReadLines("initdig.txt").value(4), "1");
}

// A value that the evaluation cannot read refuses the settings file like any other fault:
// the program starts as on a first start instead of ending.
TEST_F(ProgramTest, SettingsFileWithAnUnreadableValueIsRefusedInItsLanguage) {
    const std::pair<const char*, QStringList> cases[] = {
        {"0",
         {QString::fromUtf8(" Einstellungsdatei initdig.txt fehlerhaft, sie wird beim Beenden "
                            "ersetzt:"),
          "  initdig.txt: ein Wert ist nicht lesbar: '  abc' is not a valid floating point "
          "value"}},
        {"1",
         {" settings file initdig.txt is invalid, it is replaced at exit:",
          "  initdig.txt: a value cannot be read: '  abc' is not a valid floating point value"}},
    };
    for (const auto& [language, memo] : cases) {
        SCOPED_TRACE(language);
        WriteSettings("initdig.txt", {{9, "  abc"}, {16, language}});
        Start();
        EXPECT_EQ(form().MemLines(), memo);
        EXPECT_TRUE(starttimerArmed());
        EXPECT_EQ(program->model.Testin1, "   20");  // the design text, not the file's
        program.reset();
    }
}

// A settings file without a device type and port name clears the captions that show
// them rather than leaving the design's "mA" and "COM1" standing.
TEST_F(ProgramTest, NoDeviceTypeAndNoPortNameClearTheirCaptions) {
    WriteSettings("initdig.txt", {{2, ""}, {4, "-1"}});
    Start();
    program->Show();
    for (const char* unit : {"Einheit1", "Einheit2", "Einheit3"})
        EXPECT_EQ(form().findChild<QLabel*>(unit)->text(), "") << unit;
    EXPECT_EQ(comInfo(), "");
    ASSERT_TRUE(RunUntil([&] { return bench->power(1); }));  // the port opened is COM1
}

TEST_F(ProgramTest, WindowsExistHiddenBesideTheMainWindow) {
    WriteSettings("initdig.txt", {});
    Start();
    QStringList hidden;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (!window->isVisible() && !window->objectName().isEmpty()) hidden << window->objectName();
    for (const char* name :
         {"Form1", "Form3", "ZMTHelpEng", "ZMT1about", "warn", "ComPreSelect", "FS", "ZMTHelpDeu"})
        EXPECT_TRUE(hidden.contains(name)) << name;
}

TEST_F(ProgramTest, HelpMenuOpensTheWindowOfTheCurrentLanguage) {
    WriteSettings("initdig.txt", {});
    Start();
    program->Show();
    const std::tuple<const char*, int, const char*> cases[] = {
        {"Hilfe2", 0, "ZMTHelpDeu"}, {"Hilfe2", 1, "ZMTHelpEng"}, {"About1", 1, "ZMT1about"}};
    for (const auto& [item, language, window] : cases) {
        program->session.LanguageIndex = language;
        QString opened;
        WhenModalShows([&](QWidget* modal) {
            opened = modal->objectName();
            modal->close();
        });
        form().findChild<QAction*>(item)->trigger();
        EXPECT_EQ(opened, window) << item << " " << language;
    }
}

TEST_F(ProgramTest, OpensThePortOnAPseudoTerminal) {
    WriteSettings("initdig.txt", {{2, "COM1"}});
    Start({});  // the machine's terminal backend; com1 leads to a pseudo-terminal
    program->Show();
    ASSERT_TRUE(RunUntil([&] { return program->RS232().IsOpen(); }));
    EXPECT_EQ(program->RS232().ComNumber(), 1);
    EXPECT_TRUE(form().MemLines().isEmpty()) << form().MemLines().join('|').toStdString();
    Exit();
    EXPECT_FALSE(program->RS232().IsOpen());
}

}  // namespace
}  // namespace zmt::test
