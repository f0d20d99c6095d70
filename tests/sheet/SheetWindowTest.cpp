// The file menu's sheet items in the main window, offscreen, with scripted dialogs in place
// of the save and print dialogs.
#include "MainWindowFixture.h"
#include "SheetTestSupport.h"
#include "sheet/SheetCommands.h"

#include <QDir>
#include <QFileInfo>

namespace zmt::test {
namespace {

class SheetWindowTest : public MainWindowTest {
  protected:
    void SetUp() override {
        CreateWithDefaults();
        sheets =
            std::make_unique<SheetCommands>(SheetCommandsContext{*controller, dialogs, device});
        hooks.PrintConfigurationSheet = [this](const SheetRequest& r) { sheets->Print(r); };
        hooks.SaveConfigurationSheet = [this](const SheetRequest& r) { sheets->SavePdf(r); };
        form->setHooks(hooks);
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        sheets.reset();
    }
    QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    DeviceState device;
    std::unique_ptr<SheetCommands> sheets;
};

TEST_F(SheetWindowTest, ItemsStandBeforeExitAndFollowTheLanguage) {
    QStringList names;
    for (QAction* item : child<QMenu>("Datei1")->actions()) names << item->objectName();
    // The journal's item stands before the print items.
    EXPECT_EQ(names, (QStringList{"Laden1", "Speichern1", "", "Journal1", "KonfigBlattDrucken1",
                                  "KonfigBlattPdf1", "", "Quit1"}));
    const std::pair<const char*, QStringList> captions[] = {
        {"KonfigBlattDrucken1",
         {"Konfigurationsblatt &drucken...", "&Print configuration sheet..."}},
        {"KonfigBlattPdf1",
         {"Konfigurationsblatt als &PDF speichern...", "Save configuration sheet as P&DF..."}},
    };
    for (int language : {0, 1}) {
        if (language == 1) action("MLanguage")->trigger();
        for (const auto& [name, texts] : captions) EXPECT_EQ(caption(name), texts[language]);
    }
}

TEST_F(SheetWindowTest, SavingProposesTheConfigurationsNameAndAsksBeforeOverwriting) {
    const QString configuration = workDir.path("meter 7.dig");
    WriteSettings(configuration, {{8, " 1000"}});
    dialogs.openName = configuration;
    action("Laden1")->trigger();
    ASSERT_EQ(session.LoadedFileName, configuration);

    const QString sheet = workDir.path("sheet.pdf");
    dialogs.pdfName = workDir.path("sheet");  // the dialog's name without the suffix
    action("KonfigBlattPdf1")->trigger();
    EXPECT_EQ(dialogs.lastPdfInitial, QDir::current().filePath("meter 7.pdf"));
    EXPECT_EQ(form->MemLines().last(), "Konfigurationsblatt gespeichert: " + sheet);
    const QStringList printed = PdfLines(sheet);
    EXPECT_TRUE(printed.contains("Datei " + configuration)) << printed.join('\n').toStdString();
    EXPECT_TRUE(printed.contains("50 % 10 mA 500 offen")) << printed.join('\n').toStdString();
    EXPECT_TRUE(dialogs.questions.isEmpty());

    // The file exists now: the user is asked, and only a yes replaces it.
    const QByteArray first = contents(sheet);
    const int memoLines = form->MemLines().size();
    dialogs.overwriteAnswer = FileDialogs::Answer::No;
    action("KonfigBlattPdf1")->trigger();
    EXPECT_EQ(
        dialogs.questions,
        QStringList{
            QString::fromUtf8(" Die Datei %1  existiert bereits !!!  Überschreiben ?").arg(sheet)});
    EXPECT_EQ(contents(sheet), first);
    EXPECT_EQ(form->MemLines().size(), memoLines);
    QFile::remove(sheet);
    QFile(sheet).open(QIODevice::WriteOnly);  // an empty file that a yes replaces
    dialogs.overwriteAnswer = FileDialogs::Answer::Yes;
    action("KonfigBlattPdf1")->trigger();
    EXPECT_TRUE(contents(sheet).startsWith("%PDF"));

    dialogs.pdfName.clear();  // cancelled
    action("KonfigBlattPdf1")->trigger();
    EXPECT_EQ(dialogs.questions.size(), 2);

    dialogs.pdfName = workDir.path("no such folder/sheet.pdf");
    action("KonfigBlattPdf1")->trigger();
    ASSERT_EQ(errors.messages.size(), 1);
    EXPECT_TRUE(errors.messages.first().startsWith(
        "Konfigurationsblatt nicht gespeichert: " + dialogs.pdfName + ": "));
}

TEST_F(SheetWindowTest, PrintDialogsFileOutputIsWrittenLikeASavedSheet) {
    action("MLanguage")->trigger();  // English
    dialogs.printToFile = workDir.path("printed");
    action("KonfigBlattDrucken1")->trigger();
    const QString printed = workDir.path("printed.pdf");
    EXPECT_EQ(form->MemLines().last(), "configuration sheet saved: " + printed);
    EXPECT_TRUE(PdfLines(printed).contains("Configuration sheet ZMT digital display 48x24, 20 mA"));

    dialogs.printToFile.clear();  // cancelled
    const int memoLines = form->MemLines().size();
    action("KonfigBlattDrucken1")->trigger();
    EXPECT_EQ(dialogs.printDialogs, 2);
    EXPECT_EQ(form->MemLines().size(), memoLines);
    EXPECT_TRUE(errors.messages.isEmpty());
}

}  // namespace
}  // namespace zmt::test
