// The journal window offscreen over a journal of its own: the records newest first, the
// filters, the selected record's images with the differing words marked, and which actions
// a record offers.
#include "app/JournalWindow.h"
#include "journal/JournalFile.h"
#include "language/AddedRows.h"
#include "language/LanguageText.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

namespace zmt {
namespace {

using journal::Image;
using journal::JournalRecord;

const Image kConfigured{65533, 100,  8233,  2049, 0xC0,  2,     3438,  3538,
                        7,     9450, 12000, 9000, 11500, 11400, 11500, 1};

JournalRecord Record(const char* id, const char* operation, const char* port, const char* result) {
    JournalRecord record;
    record.id = id;
    record.time = QStringLiteral("2024-05-06T07:08:0%1.000+02:00").arg(id);
    record.operation = operation;
    record.port = port;
    record.result = journal::ResultOfWord(QString::fromLatin1(result));
    return record;
}

class JournalWindowTest : public ::testing::Test {
  protected:
    JournalWindowTest() {
        texts.FillLanguageText();
        // Oldest first, as the journal holds them.
        JournalRecord read = Record("1", "read", "COM1", "succeeded");
        read.asFound = kConfigured;
        read.asFoundValid = true;
        JournalRecord failed = Record("2", "write", "COM2", "failed");
        failed.verdict = {"no meter answered"};
        JournalRecord write = Record("3", "write", "COM1", "succeeded");
        write.file = "/plant/line3.dig";
        write.asFound = kConfigured;
        write.asFoundValid = true;
        write.written = kConfigured;
        (*write.written)[3] = 2051;
        write.readBack = write.written;
        (*write.readBack)[12] = 0;
        JournalRecord blank = Record("4", "read", "COM1", "succeeded");
        blank.asFound = Image{};
        blank.asFound->fill(65535);
        for (const JournalRecord& record : {read, failed, write, blank})
            EXPECT_TRUE(journal::AppendRecord(path(), record).ok);
        QFile torn(path());
        EXPECT_TRUE(torn.open(QIODevice::Append));
        torn.write("{\"id\":\"5\",\"ti");
    }

    QString path() const { return dir.filePath("journal.jsonl"); }
    QString text(int row) const { return texts.text(row, 1); }
    QStringList ListedIds() {
        QStringList ids;
        for (int row = 0; row < form.list().rowCount(); ++row)
            ids << form.list().item(row, 0)->text().mid(18, 1);  // the seconds are the id
        return ids;
    }
    void Select(const QString& id) {
        for (int row = 0; row < form.list().rowCount(); ++row)
            if (form.list().item(row, 0)->text().mid(18, 1) == id) form.list().selectRow(row);
    }
    bool Marked(int word, int column) {
        const QTableWidgetItem* item = form.details().item(word, column);
        return item && item->background().color() == QColor(255, 255, 0) && item->font().bold();
    }

    QTemporaryDir dir;
    LanguageText texts;
    QStringList opened, restored;
    TJournalForm form{{path(), texts, [] { return 1; },
                       [this](const JournalRecord& record) { opened << record.id; },
                       [this](const JournalRecord& record) { restored << record.id; }}};
};

TEST_F(JournalWindowTest, ASkippedLineIsSaidInTheWindowsLanguage) {
    TJournalForm german{{path(), texts, [] { return 0; }, {}, {}}};
    german.show();
    EXPECT_TRUE(german.messages().text().contains(
        path() + ", Zeile 5 übersprungen: unvollständiger Eintrag (die Zeile hat kein Ende)"))
        << german.messages().text().toStdString();
}

TEST_F(JournalWindowTest, ListsNewestFirstAndFiltersByTextAndResult) {
    form.show();
    EXPECT_EQ(form.windowTitle(), text(rows::JournalWindowTitle));
    EXPECT_EQ(ListedIds(), (QStringList{"4", "3", "2", "1"}));
    EXPECT_EQ(form.list().item(1, 1)->text(), "COM1 ");
    EXPECT_EQ(form.list().item(1, 3)->text(), "/plant/line3.dig");
    EXPECT_EQ(form.list().item(2, 4)->text(), text(rows::JournalResultFailed));
    // The torn last line is named, the records before it are all there.
    EXPECT_TRUE(form.messages().text().contains(path() + ", line 5 skipped"))
        << form.messages().text().toStdString();

    form.filter().setText("com2");
    EXPECT_EQ(ListedIds(), QStringList{"2"});
    form.filter().setText("write");
    EXPECT_EQ(ListedIds(), (QStringList{"3", "2"}));
    form.resultFilter().setCurrentIndex(1);  // succeeded
    EXPECT_EQ(ListedIds(), QStringList{"3"});
    form.filter().clear();
    EXPECT_EQ(ListedIds(), (QStringList{"4", "3", "1"}));
    form.resultFilter().setCurrentIndex(2);  // failed
    EXPECT_EQ(ListedIds(), QStringList{"2"});
    // Reading the journal again keeps the filter.
    form.Reload();
    EXPECT_EQ(ListedIds(), QStringList{"2"});
}

TEST_F(JournalWindowTest, DetailsShowTheThreeImagesWithTheDifferingWordsMarked) {
    form.show();
    Select("3");
    EXPECT_EQ(form.details().item(3, 0)->text(), "2049");
    EXPECT_EQ(form.details().item(3, 1)->text(), "2051");
    EXPECT_EQ(form.details().item(12, 2)->text(), "0");
    for (int column = 0; column < 3; ++column) {
        EXPECT_TRUE(Marked(3, column)) << column;   // written differs from as-found
        EXPECT_TRUE(Marked(12, column)) << column;  // read-back differs from written
        EXPECT_FALSE(Marked(0, column)) << column;
    }
    Select("2");  // a failed write holds no images
    EXPECT_EQ(form.details().item(3, 0), nullptr);
    EXPECT_TRUE(form.messages().text().contains("no meter answered"));
}

TEST_F(JournalWindowTest, OnlyAValidAsFoundImageIsOfferedForRestore) {
    form.show();
    struct Offer {
        const char* id;
        bool open, restore;
        int note;  // a line the messages hold, or -1
    };
    const Offer offers[] = {
        {"1", true, true, -1},
        {"2", false, false, rows::JournalNoAsFound},
        {"3", true, true, -1},
        {"4", true, false, rows::JournalNoValidAsFound},  // a blank meter was read
    };
    for (const Offer& offer : offers) {
        SCOPED_TRACE(offer.id);
        Select(offer.id);
        EXPECT_EQ(form.openButton().isEnabled(), offer.open);
        EXPECT_EQ(form.restoreButton().isEnabled(), offer.restore);
        if (offer.note >= 0) EXPECT_TRUE(form.messages().text().contains(text(offer.note)));
    }
    Select("3");
    form.openButton().click();
    form.restoreButton().click();
    EXPECT_EQ(opened, QStringList{"3"});
    EXPECT_EQ(restored, QStringList{"3"});
    // The list is read again after a restore, with the same filter.
    EXPECT_EQ(ListedIds(), (QStringList{"4", "3", "2", "1"}));
}

}  // namespace
}  // namespace zmt
