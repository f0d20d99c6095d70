#include "app/JournalWindow.h"

#include "journal/JournalListing.h"
#include "journal/JournalReasonText.h"
#include "language/AddedRows.h"
#include "language/LanguageText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace zmt {

using journal::JournalRecord;

namespace {

const QColor kDiffering(255, 255, 0);
const QColor kInterrupted(255, 200, 120);

QTableWidgetItem* MarkedItem(const QString& text, bool marked) {
    auto* item = new QTableWidgetItem(text);
    if (!marked) return item;
    item->setBackground(kDiffering);
    QFont bold = item->font();
    bold.setBold(true);
    item->setFont(bold);
    return item;
}

// Whether the columns of a row do not all say the same.
bool Differs(const QStringList& values) {
    return std::any_of(values.begin(), values.end(),
                       [&](const QString& value) { return value != values.first(); });
}

// Columns as wide as their heads and contents, in either language; the last takes the rest.
void FitColumns(QTableWidget& table) {
    QHeaderView& head = *table.horizontalHeader();
    head.setSectionResizeMode(QHeaderView::ResizeToContents);
    head.setStretchLastSection(true);
}

}  // namespace

TJournalForm::TJournalForm(JournalWindowContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
    setObjectName(QStringLiteral("JournalForm"));
    resize(900, 600);
    filterLabel_ = new QLabel(this);
    filter_ = new QLineEdit(this);
    result_ = new QComboBox(this);
    list_ = new QTableWidget(0, int(JournalColumn::Count), this);
    details_ = new QTableWidget(0, 0, this);
    messages_ = new QLabel(this);
    rawWords_ = new QCheckBox(this);
    open_ = new QPushButton(this);
    restore_ = new QPushButton(this);
    BuildLayout();
    connect(filter_, &QLineEdit::textChanged, this, [this] { List(); });
    connect(result_, &QComboBox::currentIndexChanged, this, [this] { List(); });
    connect(list_, &QTableWidget::itemSelectionChanged, this, [this] { ShowDetails(); });
    connect(rawWords_, &QCheckBox::toggled, this, [this] { ShowDetails(); });
    connect(open_, &QPushButton::clicked, this, [this] {
        if (const JournalRecord* record = Selected()) context_.openAsFound(*record);
    });
    connect(restore_, &QPushButton::clicked, this, [this] {
        if (const JournalRecord* record = Selected()) {
            const JournalRecord chosen = *record;  // the reload after the restore drops it
            context_.restore(chosen);
            Reload();
        }
    });
}

void TJournalForm::BuildLayout() {
    filterLabel_->setBuddy(filter_);
    for (QTableWidget* table : {list_, details_}) {
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        // Tab leaves a table for the next control instead of walking its cells.
        table->setTabKeyNavigation(false);
        FitColumns(*table);
    }
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->verticalHeader()->hide();
    // The port's device path may be long: its column takes the room the others leave and
    // the whole path is in its tooltip.
    list_->horizontalHeader()->setStretchLastSection(false);
    list_->horizontalHeader()->setSectionResizeMode(int(JournalColumn::Port), QHeaderView::Stretch);
    messages_->setWordWrap(true);
    auto* filters = new QHBoxLayout;
    filters->addWidget(filterLabel_);
    filters->addWidget(filter_, 1);
    filters->addWidget(result_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(rawWords_);
    buttons->addStretch();
    buttons->addWidget(open_);
    buttons->addWidget(restore_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(list_, 3);
    layout->addWidget(details_, 2);
    layout->addWidget(messages_);
    layout->addLayout(buttons);
    QWidget* order[] = {filter_, result_, list_, details_, rawWords_, open_, restore_};
    for (size_t at = 1; at < std::size(order); ++at) setTabOrder(order[at - 1], order[at]);
}

void TJournalForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Reload();
}

// The main window tells every window when the language changes.
void TJournalForm::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::LanguageChange || !isVisible()) return;
    ApplyLanguage();
    List();
}

void TJournalForm::ApplyLanguage() {
    setWindowTitle(text_(rows::JournalWindowTitle));
    filterLabel_->setText(text_(rows::JournalFilterText));
    const int chosen = std::max(0, result_->currentIndex());
    {
        const QSignalBlocker blocker(result_);
        result_->clear();
        result_->addItems({text_(rows::JournalFilterAll), text_(rows::JournalFilterSucceeded),
                           text_(rows::JournalFilterFailed)});
        result_->setCurrentIndex(chosen);
    }
    list_->setHorizontalHeaderLabels(
        {text_(rows::JournalColumnTime), text_(rows::JournalColumnId),
         text_(rows::JournalColumnPort), text_(rows::JournalColumnOperation),
         text_(rows::JournalColumnFile), text_(rows::JournalColumnResult)});
    rawWords_->setText(text_(rows::JournalRawWords));
    open_->setText(text_(rows::JournalOpenAsFound));
    restore_->setText(text_(rows::JournalRestoreAsFound));
    const std::pair<QWidget*, int> names[] = {{filter_, rows::JournalFilterText},
                                              {result_, rows::JournalColumnResult},
                                              {list_, rows::NameJournalRecords},
                                              {details_, rows::NameJournalImages}};
    for (const auto& [control, row] : names) control->setAccessibleName(text_(row));
}

void TJournalForm::Reload() {
    ApplyLanguage();
    contents_ = journal::ReadJournal(context_.path);
    List();
}

void TJournalForm::List() {
    const auto listed =
        journal::ListRecords(contents_.records, filter_->text(),
                             static_cast<journal::ResultFilter>(result_->currentIndex()));
    entries_ = JournalEntries(contents_.records, listed);
    const QSignalBlocker blocker(list_);
    list_->setRowCount(int(entries_.size()));
    for (int row = 0; row < int(entries_.size()); ++row) {
        const JournalEntry& entry = entries_[size_t(row)];
        const QStringList cells = JournalCells(entry, text_);
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            // Bold as well: the mark shows on a selected line too.
            if (entry.interrupted()) {
                item->setBackground(kInterrupted);
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            list_->setItem(row, column, item);
        }
        list_->item(row, int(JournalColumn::Id))->setToolTip(entry.record->id);
        list_->item(row, int(JournalColumn::Port))->setToolTip(cells[int(JournalColumn::Port)]);
    }
    if (!entries_.empty()) list_->selectRow(0);
    ShowDetails();
}

const JournalEntry* TJournalForm::SelectedEntry() const {
    const int row = list_->currentRow();
    if (row < 0 || row >= int(entries_.size())) return nullptr;
    return &entries_[size_t(row)];
}

const JournalRecord* TJournalForm::Selected() const {
    const JournalEntry* entry = SelectedEntry();
    return entry ? entry->record : nullptr;
}

void TJournalForm::ShowDetails() {
    const JournalEntry* entry = SelectedEntry();
    const JournalRecord* record = entry ? entry->record : nullptr;
    details_->clear();
    details_->setRowCount(0);
    details_->setColumnCount(0);
    open_->setEnabled(record && record->asFound);
    restore_->setEnabled(record && record->asFound && record->asFoundValid);
    if (entry) {
        const std::vector<ShownImage> images = EntryImages(*entry, text_);
        if (rawWords_->isChecked())
            ShowWords(images);
        else
            ShowConfigurations(images);
    }
    messages_->setText(DetailLines(entry).join(u'\n'));
}

// Each image as the configuration it means, item by item, what differs marked.
void TJournalForm::ShowConfigurations(const std::vector<ShownImage>& images) {
    if (images.empty()) return;
    std::vector<std::vector<QStringList>> decoded;
    QStringList heads;
    for (const ShownImage& shown : images) {
        decoded.push_back(ImageConfiguration(shown.image, text_));
        heads << shown.head;
    }
    const int items = int(decoded.front().size());
    details_->setColumnCount(int(images.size()));
    details_->setRowCount(items);
    details_->setHorizontalHeaderLabels(heads);
    QStringList names;
    for (int item = 0; item < items; ++item) {
        QStringList values;
        for (const auto& configuration : decoded) values << configuration[size_t(item)].value(1);
        names << decoded.front()[size_t(item)].value(0);
        for (int column = 0; column < values.size(); ++column)
            details_->setItem(item, column, MarkedItem(values[column], Differs(values)));
    }
    details_->setVerticalHeaderLabels(names);
}

// The sixteen words of each image, the words that differ marked.
void TJournalForm::ShowWords(const std::vector<ShownImage>& images) {
    details_->setColumnCount(int(images.size()));
    details_->setRowCount(ImageWordCount);
    QStringList heads;
    for (const ShownImage& shown : images) heads << shown.head;
    details_->setHorizontalHeaderLabels(heads);
    QStringList words;
    for (int word = 0; word < ImageWordCount; ++word) {
        words << QStringLiteral("w%1").arg(word);
        QStringList values;
        for (const ShownImage& shown : images) values << QString::number(shown.image[word]);
        for (int column = 0; column < values.size(); ++column)
            details_->setItem(word, column, MarkedItem(values[column], Differs(values)));
    }
    details_->setVerticalHeaderLabels(words);
}

QStringList TJournalForm::DetailLines(const JournalEntry* entry) const {
    QStringList lines;
    const auto reason = [this](const journal::JournalReason& why) {
        return journal::JournalReasonText(why, text_.table(), text_.languageIndex());
    };
    if (!contents_.error.isEmpty())
        lines << text_(rows::FileCannotBeRead).arg(context_.path, reason(contents_.error));
    for (const journal::SkippedLine& skipped : contents_.skipped)
        lines << text_(rows::JournalLineSkipped)
                     .arg(context_.path)
                     .arg(skipped.line)
                     .arg(reason(skipped.why));
    if (!entry) return lines;
    const JournalRecord& record = *entry->record;
    if (entry->interrupted()) lines << text_(rows::JournalInterruptedNote);
    lines << record.verdict;
    if (entry->readBack) lines << entry->readBack->verdict;
    if (record.asFound && !record.asFoundValid) lines << text_(rows::JournalNoValidAsFound);
    if (!record.asFound) lines << text_(rows::JournalNoAsFound);
    if (!record.unknown.isEmpty()) {
        lines << text_(rows::JournalUnknownFields);
        for (auto field = record.unknown.begin(); field != record.unknown.end(); ++field)
            lines << field.key() + QStringLiteral(": ") +
                         QString::fromUtf8(QJsonDocument(QJsonArray{field.value()})
                                               .toJson(QJsonDocument::Compact))
                             .mid(1)
                             .chopped(1);
    }
    return lines;
}

}  // namespace zmt
