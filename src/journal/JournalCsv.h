#pragma once

#include "journal/JournalRecord.h"

#include <QString>

#include <vector>

namespace zmt::journal {

// The records as a table for a spreadsheet: a header line, then one line per record with
// one column per field and each image as one column per word; fields quoted where they need it, and
// a text that a spreadsheet would take for a formula begins with an apostrophe.
// No newline after the last line.
QString JournalCsv(const std::vector<JournalRecord>& records);

}  // namespace zmt::journal
