#include "journal/JournalLocation.h"

#include <QDir>

namespace zmt::journal {

QString JournalPath(const QString& name) {
    return QDir(DataFolder(name)).filePath(QStringLiteral("journal.jsonl"));
}

}  // namespace zmt::journal
