#pragma once

#include "editor/DialogFolder.h"

#include <QString>

class QPrinter;
class QWidget;

namespace zmt {

// The questions of the save, load and sheet commands and the series window's question. The windows
// ask through this seam so that tests answer without a dialog. The dialogs share one start folder
// with every other file dialog of the program.
class FileDialogs {
  public:
    enum class Answer { Yes, No, Cancel };

    explicit FileDialogs(DialogFolder folder = DialogFolder()) : folder_(std::move(folder)) {}
    virtual ~FileDialogs() = default;

    DialogFolder& folder() { return folder_; }
    // Where the next file dialog opens.
    QString startFolder() const { return folder_.startFolder(); }

    // The file to save to; empty when the user cancelled.
    virtual QString askSaveName(QWidget* parent, const QString& initialName) = 0;
    // The file to load; empty when the user cancelled.
    virtual QString askOpenName(QWidget* parent, const QString& initialName) = 0;
    // Yes/No/Cancel before overwriting an existing file.
    virtual Answer askOverwrite(QWidget* parent, const QString& question) = 0;
    // The PDF file for a configuration sheet; empty when the user cancelled.
    virtual QString askPdfName(QWidget* parent, const QString& initialName) = 0;
    // The system's print dialog on `printer`; false when the user cancelled.
    virtual bool askPrinter(QWidget* parent, QPrinter& printer) = 0;
    // A folder to save files into, starting at `initialFolder`; empty when the user
    // cancelled. Without a dialog of its own the answer is always a cancel.
    virtual QString askFolder(QWidget* parent, const QString& initialFolder) {
        (void)parent;
        (void)initialFolder;
        return {};
    }

    // Yes or No; No unless the user said yes.
    virtual bool askYesNo(QWidget* parent, const QString& question) {
        (void)parent;
        (void)question;
        return false;
    }

  private:
    DialogFolder folder_;
};

// The real dialogs: SaveFile and OpenFile with the .dig filters, a confirmation box,
// SavePdfFile with the .pdf filter and the print dialog.
class QtFileDialogs : public FileDialogs {
  public:
    QString askSaveName(QWidget* parent, const QString& initialName) override;
    QString askOpenName(QWidget* parent, const QString& initialName) override;
    Answer askOverwrite(QWidget* parent, const QString& question) override;
    QString askPdfName(QWidget* parent, const QString& initialName) override;
    bool askPrinter(QWidget* parent, QPrinter& printer) override;
    QString askFolder(QWidget* parent, const QString& initialFolder) override;
    bool askYesNo(QWidget* parent, const QString& question) override;
};

}  // namespace zmt
