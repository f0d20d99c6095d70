// Saving and loading configurations through the dialogs, and the settings file at exit.
#include "MainWindowFixture.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>

namespace zmt::test {
namespace {

const QString kSaved = QString::fromUtf8("Einstellungen wurden gespeichert");

struct SaveCase {
    const char* what;
    bool exists;
    FileDialogs::Answer answer;
    bool cancelDialog;
    bool asked;
    bool written;
};

TEST_F(MainWindowTest, SaveAsksBeforeOverwritingAndWritesBothFilesOnlyOnYes) {
    using Answer = FileDialogs::Answer;
    const SaveCase cases[] = {
        {"new file", false, Answer::Yes, false, false, true},
        {"existing, yes", true, Answer::Yes, false, true, true},
        {"existing, no", true, Answer::No, false, true, false},
        {"existing, cancel", true, Answer::Cancel, false, true, false},
        {"dialog cancelled", false, Answer::Yes, true, false, false},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.what);
        const QString target = workDir.path(QStringLiteral("meter %1.dig").arg(c.what));
        if (c.exists) WriteSettings(target, {{2, "OLD"}});
        QFile::remove("initdig.txt");
        model = {};
        session = {};
        CreateWithDefaults();
        dialogs = {};
        dialogs.saveName = c.cancelDialog ? QString() : target;
        dialogs.overwriteAnswer = c.answer;
        action("Speichern1")->trigger();

        EXPECT_EQ(dialogs.lastSaveInitial,
                  QDir(DialogFolder::DocumentsFolder()).filePath("default"));
        EXPECT_EQ(dialogs.questions.size(), c.asked ? 1 : 0);
        if (c.asked) {
            EXPECT_EQ(dialogs.questions.first(),
                      QString::fromUtf8(" Die Datei %1  existiert bereits !!!  Überschreiben ?")
                          .arg(target));
        }
        EXPECT_EQ(QFileInfo::exists("initdig.txt"), c.written);
        EXPECT_EQ(ReadLines(target).value(2), c.written ? "COM1" : (c.exists ? "OLD" : ""));
        EXPECT_EQ(child<QLabel>("FileInfo")->text(), c.written ? target : "");
        EXPECT_EQ(form->MemLines(), c.written ? QStringList{kSaved} : QStringList{});
        form.reset();
    }
}

TEST_F(MainWindowTest, OverwriteQuestionFollowsTheLanguage) {
    const QString target = workDir.path("english.dig");
    WriteSettings(target, {});
    CreateWithDefaults();
    session.LanguageIndex = 1;
    dialogs.saveName = target;
    dialogs.overwriteAnswer = FileDialogs::Answer::No;
    action("Speichern1")->trigger();
    EXPECT_EQ(dialogs.questions,
              QStringList{QStringLiteral(" the file %1 already exists ! Overwrite ?").arg(target)});
}

TEST_F(MainWindowTest, SavedPathBecomesTheOpenDialogsInitialName) {
    CreateWithDefaults();
    dialogs.saveName = workDir.path("first.dig");
    action("Speichern1")->trigger();
    action("Laden1")->trigger();  // answered with cancel
    EXPECT_EQ(dialogs.lastOpenInitial, workDir.path("first.dig"));
    EXPECT_EQ(model.field(Field::Skalin2), "   20");
}

// The dialogs open where the user last saved or loaded a file, before that in the documents
// folder, never in the working directory.
TEST_F(MainWindowTest, FileDialogsOpenWhereTheLastFileWas) {
    ASSERT_TRUE(QDir(workDir.path("")).mkpath("saved"));
    ASSERT_TRUE(QDir(workDir.path("")).mkpath("loaded"));
    const QString documents = workDir.path("Documents");
    ASSERT_TRUE(QDir().mkpath(documents));
    const QString loadedFile = workDir.path("loaded/ten volt.dig");
    WriteSettings(loadedFile, {});
    dialogs.folder() = DialogFolder(documents);
    CreateWithDefaults();
    struct Step {
        const char* action;
        QString chosen;  // empty: cancelled
        QString initial;
    };
    const Step steps[] = {
        {"Speichern1", "", documents + "/default"},
        {"Laden1", loadedFile, documents + "/default"},
        {"Speichern1", workDir.path("saved/first.dig"), workDir.path("loaded/default")},
        {"Laden1", "", workDir.path("saved/first.dig")},
        {"Speichern1", "", workDir.path("saved/first.dig")},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.chosen.toStdString());
        const bool save = QString(step.action) == "Speichern1";
        (save ? dialogs.saveName : dialogs.openName) = step.chosen;
        action(step.action)->trigger();
        EXPECT_EQ(save ? dialogs.lastSaveInitial : dialogs.lastOpenInitial, step.initial);
    }
    EXPECT_EQ(dialogs.startFolder(), workDir.path("saved"));  // for every other file dialog
    EXPECT_TRUE(errors.messages.isEmpty()) << errors.messages.join('|').toStdString();
}

TEST_F(MainWindowTest, LoadAppliesTheFileAndSwitchesTheLines) {
    const QString file = workDir.path("ten volt.dig");
    WriteSettings(file, {{2, "COM2"},
                         {3, "2"},
                         {4, "4"},
                         {7, "   15"},
                         {9, "    5"},
                         {10, "device off"},
                         {14, "gwinv"},
                         {15, "+"}});
    CreateWithDefaults();
    ShowActive();
    dialogs.openName = file;
    action("Laden1")->trigger();

    EXPECT_TRUE(errors.messages.isEmpty()) << errors.messages.join('|').toStdString();
    EXPECT_EQ(text("Skalin2"), "   15");  // kept, not the full scale
    EXPECT_EQ(child<QLabel>("Einheit1")->text(), "V ");
    EXPECT_EQ(text("Testout1").trimmed(), "6,67");
    EXPECT_EQ(glyph("Grenzwertart"), "gwinv");
    EXPECT_EQ(child<QAbstractButton>("polaritaet")->text(), "+");
    EXPECT_TRUE(child<QAbstractButton>("DP2")->isChecked());
    EXPECT_EQ(child<QLabel>("ComInfo")->text(), "COM2");
    EXPECT_TRUE(action("COM21")->isChecked());
    EXPECT_EQ(child<QLabel>("FileInfo")->text(), file);
    EXPECT_EQ(session.LoadedFileName, file);
    EXPECT_EQ(form->MemLines().last(), "Einstellungen geladen");
    // The power box follows the file and runs its rule: power off, box locked.
    EXPECT_FALSE(child<QCheckBox>("switchpower")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("switchpower")->isEnabled());
    EXPECT_TRUE(bench->isOpen(2));
    EXPECT_FALSE(bench->power(2));
    EXPECT_FALSE(bench->isOpen(1));
}

TEST_F(MainWindowTest, InvalidFileChangesNothing) {
    const std::pair<const char*, std::vector<std::pair<int, QString>>> files[] = {
        {"bad type.dig", {{4, "9"}}},
        {"bad point.dig", {{3, "x"}}},
    };
    for (const auto& [name, changes] : files) {
        SCOPED_TRACE(name);
        model = {};
        session = {};
        CreateWithDefaults();
        errors.messages.clear();
        WriteSettings(workDir.path(name), changes);
        const ConfigModel before = model;
        dialogs.openName = workDir.path(name);
        action("Laden1")->trigger();
        EXPECT_EQ(errors.messages.size(), 1);
        EXPECT_TRUE(model == before);
        EXPECT_TRUE(session.LoadedFileName.isEmpty());
        EXPECT_EQ(child<QLabel>("FileInfo")->text(), "");
        EXPECT_TRUE(form->MemLines().isEmpty());
        EXPECT_FALSE(port.IsOpen());
        form.reset();
    }
}

TEST_F(MainWindowTest, EnglishFileSpeaksEnglishButKeepsTheCaptions) {
    const QString file = workDir.path("english.dig");
    WriteSettings(file, {{16, "1"}});
    CreateWithDefaults();
    dialogs.openName = file;
    action("Laden1")->trigger();
    EXPECT_EQ(form->MemLines().last(), "reading configuration ready");
    EXPECT_EQ(session.LanguageIndex, 1);
    EXPECT_EQ(caption("Readbutt"), "Parameter auslesen");
    EXPECT_EQ(caption("MLanguage"), "&Sprache/language: D");
}

// A file whose test value cannot be evaluated is refused whole: the port, the lines, the
// captions and the language stay as they were, and the reason names the value.
TEST_F(MainWindowTest, UnreadableValueInAFileRefusesTheWholeLoad) {
    const QString file = workDir.path("bad test value.dig");
    WriteSettings(file, {{2, "COM2"}, {4, "4"}, {9, "  abc"}, {10, "device off"}, {16, "1"}});
    CreateWithDefaults();
    ShowActive();
    ASSERT_TRUE(QTest::qWaitFor([&] { return bench->power(1); }));
    const ConfigModel modelBefore = model;
    const SessionState sessionBefore = session;
    dialogs.openName = file;
    action("Laden1")->trigger();

    ASSERT_EQ(errors.messages.size(), 1);
    EXPECT_TRUE(errors.messages.first().contains("'  abc'"))
        << errors.messages.first().toStdString();
    EXPECT_TRUE(errors.messages.first().startsWith(file + ": ein Wert ist nicht lesbar"));
    EXPECT_TRUE(model == modelBefore);
    EXPECT_TRUE(session == sessionBefore);
    EXPECT_EQ(text("Testin1"), "   10");
    EXPECT_EQ(child<QLabel>("ComInfo")->text(), "COM1");
    EXPECT_EQ(child<QLabel>("Einheit1")->text(), "mA ");
    EXPECT_TRUE(action("COM11")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("switchpower")->isChecked());
    EXPECT_TRUE(bench->isOpen(1) && bench->power(1));
    EXPECT_FALSE(bench->isOpen(2));
    EXPECT_EQ(child<QLabel>("FileInfo")->text(), "");
    action("MLanguage")->trigger();  // still responsive
    EXPECT_EQ(form->MemLines(), QStringList{"chosen language: english"});
}

TEST_F(MainWindowTest, ClosingWritesTheSettingsFile) {
    CreateWithDefaults();
    form->COMClick(3);
    QSignalSpy closed(form.get(), &TForm1::closed);
    form->show();
    form->close();
    EXPECT_EQ(closed.count(), 1);
    const QStringList lines = ReadLines("initdig.txt");
    EXPECT_EQ(lines.value(2), "COM3");
    EXPECT_EQ(lines.value(4), "1");
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(MainWindowTest, QuitWritesAndCloses) {
    CreateWithDefaults();
    form->show();
    QSignalSpy closed(form.get(), &TForm1::closed);
    action("Quit1")->trigger();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(QFileInfo::exists("initdig.txt"));
}

TEST_F(MainWindowTest, FailedSettingsWriteAtExitOnlyBeeps) {
    QDir().mkdir("initdig.txt");  // a directory where the file belongs
    CreateWithDefaults();
    timer("starttimer")->setEnabled(false);
    form->show();
    const int beeps = BeepCount();
    form->close();
    EXPECT_EQ(BeepCount() - beeps, 1);
    EXPECT_TRUE(errors.messages.isEmpty());
}

}  // namespace
}  // namespace zmt::test
