#include "app/JournalWindow.h"

#include "journal/JournalWords.h"

#include "journal/JournalListing.h"
#include "language/AddedRows.h"
#include "language/LanguageText.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zmt {

using journal::JournalRecord;

TJournalForm::TJournalForm(JournalWindowContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
    setObjectName(QStringLiteral("JournalForm"));
    resize(820, 560);
    filter_ = new QLineEdit(this);
    result_ = new QComboBox(this);
    list_ = new QTableWidget(0, 5, this);
    details_ = new QTableWidget(16, 3, this);
    messages_ = new QLabel(this);
    open_ = new QPushButton(this);
    restore_ = new QPushButton(this);
    for (QTableWidget* table : {list_, details_}) {
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->horizontalHeader()->setStretchLastSection(true);
    }
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    messages_->setWordWrap(true);
    auto* filters = new QHBoxLayout;
    filters->addWidget(filter_, 1);
    filters->addWidget(result_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(open_);
    buttons->addWidget(restore_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(list_, 3);
    layout->addWidget(details_, 2);
    layout->addWidget(messages_);
    layout->addLayout(buttons);
    connect(filter_, &QLineEdit::textChanged, this, [this] { List(); });
    connect(result_, &QComboBox::currentIndexChanged, this, [this] { List(); });
    connect(list_, &QTableWidget::itemSelectionChanged, this, [this] { ShowDetails(); });
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

void TJournalForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Reload();
}

void TJournalForm::Reload() {
    setWindowTitle(text_(rows::JournalWindowTitle));
    filter_->setPlaceholderText(text_(rows::JournalFilterText));
    const int chosen = std::max(0, result_->currentIndex());
    {
        const QSignalBlocker blocker(result_);
        result_->clear();
        result_->addItems({text_(rows::JournalFilterAll), text_(rows::JournalFilterSucceeded),
                           text_(rows::JournalFilterFailed)});
        result_->setCurrentIndex(chosen);
    }
    list_->setHorizontalHeaderLabels(
        {text_(rows::JournalColumnTime), text_(rows::JournalColumnPort),
         text_(rows::JournalColumnOperation), text_(rows::JournalColumnFile),
         text_(rows::JournalColumnResult)});
    details_->setHorizontalHeaderLabels(
        {text_(rows::JournalAsFound), text_(rows::JournalWritten), text_(rows::JournalReadBack)});
    open_->setText(text_(rows::JournalOpenAsFound));
    restore_->setText(text_(rows::JournalRestoreMeter));
    const std::pair<QWidget*, int> names[] = {{filter_, rows::JournalFilterText},
                                              {result_, rows::JournalColumnResult},
                                              {list_, rows::NameJournalRecords},
                                              {details_, rows::NameJournalImages}};
    for (const auto& [control, row] : names) control->setAccessibleName(text_(row));
    contents_ = journal::ReadJournal(context_.path);
    List();
}

void TJournalForm::List() {
    listed_ = journal::ListRecords(contents_.records, filter_->text(),
                                   static_cast<journal::ResultFilter>(result_->currentIndex()));
    const QSignalBlocker blocker(list_);
    list_->setRowCount(int(listed_.size()));
    for (int row = 0; row < int(listed_.size()); ++row) {
        const JournalRecord& record = contents_.records[listed_[row]];
        const auto resultRow = journal::ResultRow(record.result);
        const QStringList cells{record.time, record.port + u' ' + record.device, record.operation,
                                record.file, resultRow ? text_(*resultRow) : record.otherResult};
        for (int column = 0; column < cells.size(); ++column)
            list_->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    if (!listed_.empty()) list_->selectRow(0);
    ShowDetails();
}

const JournalRecord* TJournalForm::Selected() const {
    const int row = list_->currentRow();
    if (row < 0 || row >= int(listed_.size())) return nullptr;
    return &contents_.records[listed_[row]];
}

void TJournalForm::ShowDetails() {
    const JournalRecord* record = Selected();
    details_->clearContents();
    QStringList lines;
    if (!contents_.error.isEmpty())
        lines << text_(rows::FileCannotBeRead).arg(context_.path, contents_.error);
    for (const journal::SkippedLine& skipped : contents_.skipped)
        lines << text_(rows::JournalLineSkipped)
                     .arg(context_.path)
                     .arg(skipped.line)
                     .arg(skipped.why);
    open_->setEnabled(record && record->asFound);
    restore_->setEnabled(record && record->asFound && record->asFoundValid);
    if (record) {
        const auto differing = journal::DifferingWords(*record);
        const std::optional<journal::Image>* images[] = {&record->asFound, &record->written,
                                                         &record->readBack};
        for (int column = 0; column < 3; ++column)
            for (int word = 0; word < 16 && *images[column]; ++word) {
                auto* item = new QTableWidgetItem(QString::number((**images[column])[word]));
                if (differing[word]) {
                    item->setBackground(QColor(255, 255, 0));
                    QFont bold = item->font();
                    bold.setBold(true);
                    item->setFont(bold);
                }
                details_->setItem(word, column, item);
            }
        lines << record->verdict;
        if (record->asFound && !record->asFoundValid) lines << text_(rows::JournalNoValidAsFound);
        if (!record->asFound) lines << text_(rows::JournalNoAsFound);
        if (!record->unknown.isEmpty()) {
            lines << text_(rows::JournalUnknownFields);
            for (auto field = record->unknown.begin(); field != record->unknown.end(); ++field)
                lines << field.key() + QStringLiteral(": ") +
                             QString::fromUtf8(QJsonDocument(QJsonArray{field.value()})
                                                   .toJson(QJsonDocument::Compact))
                                 .mid(1)
                                 .chopped(1);
        }
    }
    QStringList words;
    for (int word = 0; word < 16; ++word) words << QStringLiteral("w%1").arg(word);
    details_->setVerticalHeaderLabels(words);
    messages_->setText(lines.join(u'\n'));
}

}  // namespace zmt
