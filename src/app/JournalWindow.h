#pragma once

#include "language/Texts.h"

// The journal window: the records newest first, a filter by text and by result, the
// selected record's images side by side with the differing words marked, and the two
// actions on its as-found image.

#include "journal/JournalFile.h"

#include <QDialog>

#include <functional>

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
    QLabel& messages() { return *messages_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void List();
    void ShowDetails();
    const journal::JournalRecord* Selected() const;

    JournalWindowContext context_;
    Texts text_{context_.texts, context_.language};
    journal::JournalContents contents_;
    std::vector<size_t> listed_;
    QLineEdit* filter_;
    QComboBox* result_;
    QTableWidget* list_;
    QTableWidget* details_;
    QLabel* messages_;
    QPushButton* open_;
    QPushButton* restore_;
};

}  // namespace zmt
