#include "editor/DialogFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zmt {

DialogFolder::DialogFolder(QString fallback) : fallback_(std::move(fallback)) {}

QString DialogFolder::startFolder() const {
    // A folder removed since is no place to start in.
    if (!last_.isEmpty() && QFileInfo(last_).isDir()) return last_;
    return fallback_;
}

QString DialogFolder::initialPath(const QString& name) const {
    return QDir(startFolder()).filePath(QFileInfo(name).fileName());
}

void DialogFolder::remember(const QString& filePath) {
    if (filePath.isEmpty()) return;
    last_ = QFileInfo(filePath).absolutePath();
}

QString DialogFolder::DocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents;
    return QDir::homePath();
}

}  // namespace zmt
