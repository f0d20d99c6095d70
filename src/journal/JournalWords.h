#pragma once

// The rows of the language table that name a journal result and an operation in the
// interface language; the file keeps the fixed English words (ResultWord, OperationWord).

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

inline int OperationRow(Operation operation) {
    switch (operation) {
        case Operation::Read:
            return rows::JournalOperationRead;
        case Operation::Write:
            return rows::JournalOperationWrite;
        case Operation::Calibrate:
            return rows::JournalOperationCalibrate;
        case Operation::Compare:
            return rows::JournalOperationCompare;
        case Operation::Verify:
            return rows::JournalOperationVerify;
        case Operation::Restore:
            return rows::JournalOperationRestore;
        case Operation::LegacyRead:
            return rows::JournalOperationLegacyRead;
    }
    return rows::JournalOperationRead;
}

}  // namespace zmt::journal
