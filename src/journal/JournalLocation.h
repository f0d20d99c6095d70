#pragma once

#include <QString>

namespace zmt::journal {

// The program's data folder: $XDG_DATA_HOME/<name> when that is an absolute path, else
// ~/.local/share/<name>. The demo passes its own name, so its journal stays apart.
QString DataFolder(const QString& name = QStringLiteral("zmt4824"));

// journal.jsonl in the data folder.
QString JournalPath(const QString& name = QStringLiteral("zmt4824"));

}  // namespace zmt::journal
