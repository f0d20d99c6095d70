#pragma once

#include "language/Texts.h"

// The journal window: the operations newest first (a series unit's write and read-back as
// one), a filter by text and by result, the selected operation's images side by side as the
// configuration they mean, or as their raw words, with what differs marked, and the two
// actions on its as-found image. What it shows of a record comes from JournalView.

#include "app/JournalView.h"
#include "journal/JournalFile.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace zmt {

class LanguageText;

struct JournalWindowContext {
    QString path;
    const LanguageText& texts;
    std::function<int()> language;
    std::function<void(const journal::JournalRecord&)> openAsFound;
    std::function<void(const journal::JournalRecord&)> restore;
};

class TJournalForm : public QDialog {
  public:
    explicit TJournalForm(JournalWindowContext context, QWidget* parent = nullptr);

    // Reads the journal again and lists it.
    void Reload();
    QTableWidget& list() { return *list_; }
    QTableWidget& details() { return *details_; }
    QLineEdit& filter() { return *filter_; }
    QComboBox& resultFilter() { return *result_; }
    QPushButton& restoreButton() { return *restore_; }
    QPushButton& openButton() { return *open_; }
    QCheckBox& rawWordsButton() { return *rawWords_; }
    QLabel& messages() { return *messages_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void BuildLayout();
    void ApplyLanguage();
    void List();
    void ShowDetails();
    void ShowConfigurations(const std::vector<ShownImage>& images);
    void ShowWords(const std::vector<ShownImage>& images);
    QStringList DetailLines(const JournalEntry* entry) const;
    const JournalEntry* SelectedEntry() const;
    const journal::JournalRecord* Selected() const;

    JournalWindowContext context_;
    Texts text_{context_.texts, context_.language};
    journal::JournalContents contents_;
    std::vector<JournalEntry> entries_;
    QLabel* filterLabel_;
    QLineEdit* filter_;
    QComboBox* result_;
    QTableWidget* list_;
    QTableWidget* details_;
    QLabel* messages_;
    QCheckBox* rawWords_;
    QPushButton* open_;
    QPushButton* restore_;
};

}  // namespace zmt
