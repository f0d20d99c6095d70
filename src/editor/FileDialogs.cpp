#include "editor/FileDialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace zmt {

namespace {

const QString kDigFilter = QStringLiteral("48x24 files  (*.dig)");
const QString kAllFilter = QStringLiteral("all  (*)");
const QString kPdfFilter = QStringLiteral("PDF  (*.pdf)");

struct FileDialogKind {
    const char* name;
    QFileDialog::AcceptMode mode;
    QStringList filters;
    const char* suffix;
};

QString RunFileDialog(QWidget* parent, const FileDialogKind& kind, const QString& initialName) {
    const QFileDialog::AcceptMode mode = kind.mode;
    QFileDialog dialog(parent);
    dialog.setObjectName(QString::fromLatin1(kind.name));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    // The window asks before overwriting, in the current language.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(kind.filters);
    dialog.setDefaultSuffix(QString::fromLatin1(kind.suffix));
    dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace

QString QtFileDialogs::askSaveName(QWidget* parent, const QString& initialName) {
    return RunFileDialog(parent, {"SaveFile", QFileDialog::AcceptSave, {kDigFilter}, "dig"},
                         initialName);
}

QString QtFileDialogs::askOpenName(QWidget* parent, const QString& initialName) {
    return RunFileDialog(parent,
                         {"OpenFile", QFileDialog::AcceptOpen, {kDigFilter, kAllFilter}, "dig"},
                         initialName);
}

QString QtFileDialogs::askPdfName(QWidget* parent, const QString& initialName) {
    return RunFileDialog(parent, {"SavePdfFile", QFileDialog::AcceptSave, {kPdfFilter}, "pdf"},
                         initialName);
}

bool QtFileDialogs::askPrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    return dialog.exec() == QDialog::Accepted;
}

QString QtFileDialogs::askFolder(QWidget* parent, const QString& initialFolder) {
    return QFileDialog::getExistingDirectory(
        parent, QString(), initialFolder.isEmpty() ? startFolder() : initialFolder);
}

bool QtFileDialogs::askYesNo(QWidget* parent, const QString& question) {
    return QMessageBox::question(parent, parent ? parent->windowTitle() : QString(), question,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

FileDialogs::Answer QtFileDialogs::askOverwrite(QWidget* parent, const QString& question) {
    const auto button = QMessageBox::question(
        parent, parent ? parent->windowTitle() : QString(), question,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel);
    if (button == QMessageBox::Yes) return Answer::Yes;
    return button == QMessageBox::No ? Answer::No : Answer::Cancel;
}

}  // namespace zmt
