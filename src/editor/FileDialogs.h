#pragma once

#include <QString>

class QWidget;

namespace zmt {

// The three questions of the save and load commands. The window asks through this seam so
// that tests answer without a dialog.
class FileDialogs {
  public:
    enum class Answer { Yes, No, Cancel };

    virtual ~FileDialogs() = default;
    // The file to save to; empty when the user cancelled.
    virtual QString askSaveName(QWidget* parent, const QString& initialName) = 0;
    // The file to load; empty when the user cancelled.
    virtual QString askOpenName(QWidget* parent, const QString& initialName) = 0;
    // Yes/No/Cancel before overwriting an existing file.
    virtual Answer askOverwrite(QWidget* parent, const QString& question) = 0;
};

// The real dialogs: SaveFile and OpenFile with the .dig filters, and a confirmation box.
class QtFileDialogs : public FileDialogs {
  public:
    QString askSaveName(QWidget* parent, const QString& initialName) override;
    QString askOpenName(QWidget* parent, const QString& initialName) override;
    Answer askOverwrite(QWidget* parent, const QString& question) override;
};

}  // namespace zmt
