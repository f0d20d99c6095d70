// The journal window offscreen over a journal of its own: the records newest first, the
// filters, the selected record's images with the differing words marked, and which actions
// a record offers.
#include "app/JournalView.h"
#include "app/JournalWindow.h"
#include "journal/JournalFile.h"
#include "language/AddedRows.h"
#include "language/LanguageText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

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
    static constexpr int kIdColumn = int(JournalColumn::Id);
    QString cell(int row, JournalColumn column) {
        const QTableWidgetItem* item = form.list().item(row, int(column));
        return item ? item->text() : QString();
    }
    QStringList ListedIds() {
        QStringList ids;
        for (int row = 0; row < form.list().rowCount(); ++row)
            ids << form.list().item(row, kIdColumn)->text();
        return ids;
    }
    void Select(const QString& id) {
        for (int row = 0; row < form.list().rowCount(); ++row)
            if (form.list().item(row, kIdColumn)->text() == id) form.list().selectRow(row);
    }
    QStringList DetailHeads() {
        QStringList heads;
        for (int column = 0; column < form.details().columnCount(); ++column)
            heads << form.details().horizontalHeaderItem(column)->text();
        return heads;
    }
    // The configuration view's value of an item in a column.
    QString Item(int nameRow, int column) {
        for (int row = 0; row < form.details().rowCount(); ++row)
            if (form.details().verticalHeaderItem(row)->text() == text(nameRow))
                return form.details().item(row, column)->text();
        return QStringLiteral("<no such item>");
    }
    bool Marked(int word, int column) {
        const QTableWidgetItem* item = form.details().item(word, column);
        return item && item->background().color() == QColor(255, 255, 0) && item->font().bold();
    }

    QTemporaryDir dir;
    LanguageText texts;
    int language = 1;
    QStringList opened, restored;
    TJournalForm form{{path(), texts, [this] { return language; },
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
    EXPECT_EQ(cell(1, JournalColumn::Port), "COM1");
    EXPECT_EQ(cell(1, JournalColumn::File), "/plant/line3.dig");
    EXPECT_EQ(cell(2, JournalColumn::Result), text(rows::JournalResultFailed));
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
    form.rawWordsButton().click();  // the raw words, one click from the configuration
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
        if (offer.note >= 0) {
            EXPECT_TRUE(form.messages().text().contains(text(offer.note)));
        }
    }
    Select("3");
    form.openButton().click();
    form.restoreButton().click();
    EXPECT_EQ(opened, QStringList{"3"});
    EXPECT_EQ(restored, QStringList{"3"});
    // The list is read again after a restore, with the same filter.
    EXPECT_EQ(ListedIds(), (QStringList{"4", "3", "2", "1"}));
}

// The keyboard goes through every part of the window and back, never caught in a table.
TEST_F(JournalWindowTest, TabAndShiftTabGoThroughSearchFilterTablesAndButtons) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    Select("3");  // both actions offered
    const std::vector<QWidget*> order = {
        &form.filter(),         &form.resultFilter(), &form.list(),         &form.details(),
        &form.rawWordsButton(), &form.openButton(),   &form.restoreButton()};
    form.filter().setFocus();
    for (size_t at = 1; at < order.size(); ++at) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), order[at]) << "Tab to " << at;
    }
    for (size_t at = order.size() - 1; at-- > 0;) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        EXPECT_EQ(QApplication::focusWidget(), order[at]) << "Shift+Tab to " << at;
    }
}

// A write whose outcome never came is marked in the list, named interrupted and explained.
TEST_F(JournalWindowTest, AnInterruptedWriteIsMarkedAndExplained) {
    JournalRecord started = Record("6", "write", "COM3", "started");
    started.asFound = kConfigured;
    started.asFoundValid = true;
    ASSERT_TRUE(journal::AppendRecord(path(), started).ok);
    for (int shown : {1, 0}) {
        language = shown;
        form.show();
        ASSERT_EQ(ListedIds().value(0), "6");
        EXPECT_EQ(cell(0, JournalColumn::Result),
                  texts.text(rows::JournalResultInterrupted, shown));
        EXPECT_NE(form.list().item(0, 0)->background(), form.list().item(1, 0)->background());
        EXPECT_TRUE(
            form.messages().text().contains(texts.text(rows::JournalInterruptedNote, shown)));
        // Its as-found is what the meter held before the write: it can be written back.
        EXPECT_TRUE(form.restoreButton().isEnabled());
        EXPECT_EQ(form.restoreButton().text(), texts.text(rows::JournalRestoreAsFound, shown));
        form.hide();
    }
    EXPECT_EQ(texts.text(rows::JournalRestoreAsFound, 0),
              QString::fromUtf8("Vorgefundenes zurückschreiben..."));
}

struct LanguageCase {
    int language;
    const char* operation;  // of the write
    const char* date;       // the date its local time begins with
};

// Operation names in the interface language, the local time with its date, the short id.
TEST_F(JournalWindowTest, CellsSpeakTheInterfaceLanguageWithLocalTimesAndShortIds) {
    JournalRecord write = Record("7", "write", "COM1", "succeeded");
    write.id = QStringLiteral("0123456789abcdef");
    ASSERT_TRUE(journal::AppendRecord(path(), write).ok);
    const LanguageCase cases[] = {{0, "Schreiben", "06.05.24 "}, {1, "write", "06.05.24 "}};
    for (const LanguageCase& c : cases) {
        language = c.language;
        form.show();
        EXPECT_EQ(cell(0, JournalColumn::Id), "01234567");
        EXPECT_EQ(form.list().item(0, kIdColumn)->toolTip(), write.id);
        EXPECT_EQ(cell(0, JournalColumn::Operation), QString::fromUtf8(c.operation));
        EXPECT_TRUE(cell(0, JournalColumn::Time).startsWith(QString::fromLatin1(c.date)))
            << cell(0, JournalColumn::Time).toStdString();
        // Every head fits its column.
        const QHeaderView& head = *form.list().horizontalHeader();
        for (int column = 0; column < form.list().columnCount(); ++column) {
            const QString title = form.list().horizontalHeaderItem(column)->text();
            EXPECT_GE(head.sectionSize(column), head.fontMetrics().horizontalAdvance(title))
                << title.toStdString();
        }
        form.hide();
    }
}

// The images as the configuration they mean; a read shows only what it read.
TEST_F(JournalWindowTest, ImagesShowAsTheirConfigurationAndAReadOnlyWhatItRead) {
    form.show();
    Select("1");
    EXPECT_EQ(DetailHeads(), QStringList{text(rows::JournalReadImage)});
    EXPECT_TRUE(Item(rows::SheetPolarity, 0).startsWith("+ / -"));         // w4 0x80: signed
    EXPECT_EQ(Item(rows::SheetLimitMode, 0), text(rows::SheetModeBelow));  // w4 0x40
    Select("3");
    EXPECT_EQ(DetailHeads(), (QStringList{text(rows::JournalAsFound), text(rows::JournalWritten),
                                          text(rows::JournalReadBack)}));
    // The read-back's display (2) word was lost: that item differs and is marked.
    const QString asFound = Item(rows::EntryDisplay2, 0);
    EXPECT_NE(Item(rows::EntryDisplay2, 2), asFound);
    EXPECT_EQ(Item(rows::EntryDisplay2, 1), asFound);
    EXPECT_EQ(Item(rows::EntryDisplay1, 2), Item(rows::EntryDisplay1, 0));
}

// A series unit's write and the read-back that followed it are one line.
TEST_F(JournalWindowTest, ASeriesUnitsWriteAndReadBackAreOneLine) {
    JournalRecord write = Record("8", "write", "COM1", "succeeded");
    write.file = "/plant/series.dig";
    write.asFound = write.written = kConfigured;
    write.asFoundValid = true;
    JournalRecord readBack = Record("9", "compare", "COM1", "failed");
    readBack.file = write.file;
    readBack.asFound = kConfigured;
    (*readBack.asFound)[12] = 0;
    ASSERT_TRUE(journal::AppendRecord(path(), write).ok);
    ASSERT_TRUE(journal::AppendRecord(path(), readBack).ok);
    form.show();
    EXPECT_EQ(ListedIds().mid(0, 2), (QStringList{"8", "4"}));
    EXPECT_EQ(cell(0, JournalColumn::Operation), text(rows::JournalOperationSeriesUnit));
    EXPECT_EQ(cell(0, JournalColumn::Result), text(rows::JournalResultFailed));
    EXPECT_EQ(DetailHeads().size(), 3);
    EXPECT_NE(Item(rows::EntryDisplay2, 2), Item(rows::EntryDisplay2, 1));
}

}  // namespace
}  // namespace zmt
