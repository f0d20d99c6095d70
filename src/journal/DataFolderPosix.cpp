#include "journal/JournalLocation.h"

#include <QDir>

namespace zmt::journal {

QString DataFolder(const QString& name) {
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    // A relative value is to be ignored, as if it were not set.
    if (!data.isEmpty() && QDir::isAbsolutePath(data)) return QDir(data).filePath(name);
    return QDir(QDir::homePath()).filePath(QStringLiteral(".local/share/") + name);
}

}  // namespace zmt::journal
