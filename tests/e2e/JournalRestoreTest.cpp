// The journal through the program's windows against the simulated meter: a write appears in
// the journal window, its as-found image opens in the editor as a read puts it, "Restore
// meter" asks first and brings the meter back to it, and the configuration sheet names the
// write's record while the configuration is the one written.
#include "OperationFixture.h"

#include "app/JournalView.h"
#include "app/JournalWindow.h"
#include "journal/JournalFile.h"
#include "journal/JournalLocation.h"
#include "journal/OperationJournal.h"

#include <QCheckBox>
#include <QLabel>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>

namespace zmt::e2e {
namespace {

// A meter set up by someone else: decimal point code 2, bipolar, inverted contact on at 1400
// and off at 1500, -5.5 -> -1000 and 20 -> 1500.
sim::ImageWords MeterBeforeWrite() {
    return {65533, 100,  8233,  2049, 0xC0,  2,     3438,  3538,
            7,     9450, 12000, 9000, 11500, 11400, 11500, 1};
}

// What writing the worked example leaves in it: w0, w2 and w8 are the meter's own.
sim::ImageWords WrittenOverIt() {
    sim::ImageWords written = WorkedExampleImage();
    for (int word : {0, 2, 8}) written[word] = MeterBeforeWrite()[word];
    return written;
}

class JournalRestoreTest : public OperationTest {
  protected:
    JournalRestoreTest() {
        // Each test its own journal; the program takes its place when it starts.
        savedDataHome_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome_.path()));
    }
    ~JournalRestoreTest() override { qputenv("XDG_DATA_HOME", savedDataHome_); }

    void WriteTheWorkedExample() {
        RunOperation("Skalbutt", [&] {
            button("weiterbutton")->click();
            ASSERT_TRUE(WaitUntilSettled());
            ASSERT_TRUE(WaitForPowerCycle());
        });
        ASSERT_EQ(station->storedImage(), WrittenOverIt());
    }
    std::vector<journal::JournalRecord> Records() const {
        return journal::ReadJournal(journal::JournalPath()).records;
    }

    TJournalForm& journalWindow() { return program->JournalForm(); }
    QString Listed(int row, int column) {
        const QTableWidgetItem* item = journalWindow().list().item(row, column);
        return item ? item->text() : QString();
    }
    // Clicks "Restore meter" and runs `scenario` inside the operation window it opens.
    void Restore(const std::function<void()>& scenario) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            if (QTest::qWaitFor([&] { return ops().isVisible(); }, 5000)) scenario();
            CloseOperationWindow();
            ran = true;
        });
        journalWindow().restoreButton().click();
        EXPECT_TRUE(ran);
    }
    QString TaskLine() { return control<QLabel>("tasklabel")->text(); }

    // The configuration sheet as the file menu saves it, as text.
    QString SheetText() {
        const QString path = workDir.path("sheet.pdf");
        QFile::remove(path);
        dialogs.pdfName = path;
        program->Form1().findChild<QAction*>("KonfigBlattPdf1")->trigger();
        QProcess tool;
        tool.start("pdftotext", {"-layout", path, "-"});
        EXPECT_TRUE(tool.waitForFinished(60000));
        return QString::fromUtf8(tool.readAllStandardOutput()).simplified();
    }

  private:
    QTemporaryDir dataHome_;
    QByteArray savedDataHome_;
};

TEST_F(JournalRestoreTest, AWriteIsListedAndRestoreBringsTheMeterBackToItsAsFoundImage) {
    AddMeter(MeterBeforeWrite());
    StartProgram();
    WriteTheWorkedExample();

    journalWindow().show();
    ASSERT_EQ(journalWindow().list().rowCount(), 1);
    EXPECT_EQ(Listed(0, int(JournalColumn::Operation)), "Schreiben");
    EXPECT_TRUE(Listed(0, int(JournalColumn::Port)).startsWith("COM1"));
    EXPECT_EQ(Listed(0, int(JournalColumn::Result)), "erfolgreich");
    // As-found and written side by side in their raw words; w5 (the decimal point) differs,
    // w15 does not.
    journalWindow().rawWordsButton().click();
    EXPECT_EQ(journalWindow().details().item(5, 0)->text(), "2");
    EXPECT_EQ(journalWindow().details().item(5, 1)->text(), "0");
    EXPECT_TRUE(journalWindow().details().item(5, 0)->font().bold());
    EXPECT_FALSE(journalWindow().details().item(15, 0)->font().bold());
    ASSERT_TRUE(journalWindow().restoreButton().isEnabled());
    const journal::JournalRecord write = Records().at(0);

    const int stored = station->imagesStored();
    QStringList info;
    Restore([&] {
        // Asked first, naming the record's time; nothing is written before the answer.
        EXPECT_TRUE(TaskLine().contains(write.time)) << TaskLine().toStdString();
        EXPECT_TRUE(TaskLine().contains(QString::fromUtf8("zurücksetzen")));
        Pass(milliseconds(500));
        EXPECT_EQ(station->imagesStored(), stored);
        button("weiterbutton")->click();
        ASSERT_TRUE(WaitUntilSettled());
        info = InfoLines();
        ASSERT_TRUE(WaitForPowerCycle());
    });
    EXPECT_TRUE(
        info.contains(QString::fromUtf8("Gerät zurückgesetzt, die Rücklesung stimmt überein")))
        << info.join('\n').toStdString();
    EXPECT_EQ(station->storedImage(), MeterBeforeWrite());

    // The restore is journaled with its own as-found, and listed first.
    const auto records = Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].operation, "restore");
    EXPECT_EQ(records[1].restoredFrom, write.id);
    EXPECT_EQ(records[1].asFound, write.written);
    EXPECT_EQ(Listed(0, int(JournalColumn::Operation)), "Zurückschreiben");
    EXPECT_TRUE(errors.messages.isEmpty()) << errors.messages.join('\n').toStdString();
}

TEST_F(JournalRestoreTest, AnotherMeterAtThePortIsNamedBeforeItIsOverwritten) {
    AddMeter(MeterBeforeWrite());
    StartProgram();
    WriteTheWorkedExample();
    sim::ImageWords other = MeterBeforeWrite();
    other[9] = 9000;
    station->setStoredImage(other);

    journalWindow().show();
    bool warned = false;
    Restore([&] {
        button("weiterbutton")->click();
        ASSERT_TRUE(WaitFor([&] { return ops().sequencer().RestoreConfirmationPending(); }));
        const QString warning = InfoLines().join(' ');
        warned = warning.contains(QString::fromUtf8("vielleicht ein anderes Gerät"));
        EXPECT_EQ(station->storedImage(), other);  // still untouched
        button("weiterbutton")->click();
        ASSERT_TRUE(WaitUntilSettled());
        ASSERT_TRUE(WaitForPowerCycle());
    });
    EXPECT_TRUE(warned);
    EXPECT_EQ(station->storedImage(), MeterBeforeWrite());
}

TEST_F(JournalRestoreTest, OpenAsFoundPutsTheImageIntoTheEditorAsAReadWould) {
    AddMeter(MeterBeforeWrite());
    StartProgram();
    WriteTheWorkedExample();
    EXPECT_EQ(text("Skalout1").trimmed(), "0");

    journalWindow().show();
    journalWindow().openButton().click();
    ExpectEditorHoldsTheConfiguredImage();
    EXPECT_EQ(program->device.DeviceImage, MeterBeforeWrite());
    EXPECT_EQ(station->storedImage(), WrittenOverIt());  // the meter is not touched
}

TEST_F(JournalRestoreTest, TheSheetNamesTheWriteWhileTheConfigurationIsTheOneWritten) {
    AddMeter(MeterBeforeWrite());
    StartProgram();
    const QString beforeAnyWrite = SheetText();
    EXPECT_TRUE(beforeAnyWrite.contains("Konfigurationsblatt")) << beforeAnyWrite.toStdString();
    EXPECT_FALSE(beforeAnyWrite.contains("Protokolleintrag"));
    WriteTheWorkedExample();
    const QString id = program->journal().writes().back().id;
    EXPECT_TRUE(SheetText().contains("Protokolleintrag des Schreibens: " + id));
    test::TypeInto(field("RelaisOn"), "1500");
    QTest::keyClick(field("RelaisOn"), Qt::Key_Return);
    EXPECT_FALSE(SheetText().contains("Protokolleintrag"));
    test::TypeInto(field("RelaisOn"), "2000");
    QTest::keyClick(field("RelaisOn"), Qt::Key_Return);
    EXPECT_TRUE(SheetText().contains("Protokolleintrag des Schreibens: " + id));
}

}  // namespace
}  // namespace zmt::e2e
