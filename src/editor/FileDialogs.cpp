#include "FileDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace zmt {

namespace {

const QString kDigFilter = QStringLiteral("48x24 files  (*.dig)");
const QString kAllFilter = QStringLiteral("all  (*)");
const QString kDefaultSuffix = QStringLiteral("dig");

QString RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const QStringList& filters,
                      const QString& initialName) {
    QFileDialog dialog(parent);
    dialog.setObjectName(mode == QFileDialog::AcceptSave ? "SaveFile" : "OpenFile");
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    // The window asks before overwriting, in the current language.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(kDefaultSuffix);
    dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace

QString QtFileDialogs::askSaveName(QWidget* parent, const QString& initialName) {
    return RunFileDialog(parent, QFileDialog::AcceptSave, {kDigFilter}, initialName);
}

QString QtFileDialogs::askOpenName(QWidget* parent, const QString& initialName) {
    return RunFileDialog(parent, QFileDialog::AcceptOpen, {kDigFilter, kAllFilter}, initialName);
}

FileDialogs::Answer QtFileDialogs::askOverwrite(QWidget* parent, const QString& question) {
    const auto button = QMessageBox::question(
        parent, parent ? parent->windowTitle() : QString(), question,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel);
    if (button == QMessageBox::Yes) return Answer::Yes;
    return button == QMessageBox::No ? Answer::No : Answer::Cancel;
}

}  // namespace zmt
