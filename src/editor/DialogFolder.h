#pragma once

#include <QString>

namespace zmt {

// Where the file dialogs of a run open: in the folder of the last file chosen to save to or
// load from, else in the user's documents folder, never in the working directory (started
// from the desktop, that is the program's hidden data folder). Every dialog of the program
// that saves or opens a file asks the same one, so that they all open where the user
// worked last.
class DialogFolder {
  public:
    // `fallback`: where the dialogs open before any file was saved or loaded.
    explicit DialogFolder(QString fallback = DocumentsFolder());

    QString startFolder() const;
    // A dialog's initial file: the name part of `name` in the start folder.
    QString initialPath(const QString& name) const;
    // A file the user chose in a save or open dialog.
    void remember(const QString& filePath);

    // The user's documents folder, or the home folder where there is none.
    static QString DocumentsFolder();

  private:
    QString fallback_;
    QString last_;
};

}  // namespace zmt
