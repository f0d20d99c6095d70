#include "common/FileNames.h"

#include <QFileInfo>

namespace zmt {

// Windows keeps names as UTF-16, which the toolkit's files use as they are.
FileKind KindOfFile(const QString& name) {
    const QFileInfo info(name);
    if (!info.exists()) return FileKind::Missing;
    if (info.isDir()) return FileKind::Folder;
    return info.isFile() ? FileKind::Regular : FileKind::Other;
}

bool OpenForReading(QFile& file, const QString& name, QString& reason) {
    file.setFileName(name);
    if (file.open(QIODevice::ReadOnly)) return true;
    reason = file.errorString();
    return false;
}

}  // namespace zmt
