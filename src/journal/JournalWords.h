#pragma once

// The row of the language table that names a journal result in the interface language;
// the file keeps the fixed English word (ResultWord).

#include "journal/JournalRecord.h"
#include "language/AddedRows.h"

#include <optional>

namespace zmt::journal {

// None for a word of a newer program: it is shown as it was read.
inline std::optional<int> ResultRow(JournalResult result) {
    switch (result) {
        case JournalResult::Succeeded:
            return rows::JournalResultSucceeded;
        case JournalResult::Failed:
            return rows::JournalResultFailed;
        case JournalResult::Cancelled:
            return rows::JournalResultCancelled;
        case JournalResult::Started:  // read alone only when its outcome is missing
        case JournalResult::Interrupted:
            return rows::JournalResultInterrupted;
        case JournalResult::Other:
            break;
    }
    return std::nullopt;
}

}  // namespace zmt::journal
