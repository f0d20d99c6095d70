#pragma once

#include "journal/JournalFile.h"

#include <QIODevice>

namespace zmt::journal {

// Reads the journal's lines from `file` into `contents`: each record, and each line that is
// none with its number and why. The same on every platform; only opening the file differs.
void ReadRecordLines(QIODevice& file, JournalContents& contents);

}  // namespace zmt::journal
