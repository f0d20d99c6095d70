#include "journal/JournalLocation.h"

#include <QDir>

namespace zmt::journal {

// The user's local application data (%LOCALAPPDATA%, C:\Users\NAME\AppData\Local): it stays
// on this machine, as a meter's journal and port bindings belong to the machine it is on.
QString DataFolder(const QString& name) {
    const QString data = qEnvironmentVariable("LOCALAPPDATA");
    if (!data.isEmpty() && QDir::isAbsolutePath(data)) return QDir(data).filePath(name);
    return QDir(QDir::homePath()).filePath(QStringLiteral("AppData/Local/") + name);
}

}  // namespace zmt::journal
