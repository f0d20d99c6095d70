#pragma once

// A write is kept as two records: the first, before its frame, with what the meter held,
// and its outcome, which names the first. Whoever reads the journal sees one record per
// operation: the outcome under the first record's id and time, or, where no outcome
// followed (the program was killed, the power failed), the first record as interrupted.
// Records of the one-record form stand as they are.

#include "journal/JournalRecord.h"

#include <vector>

namespace zmt::journal {

std::vector<JournalRecord> PairOutcomes(std::vector<JournalRecord> records);

}  // namespace zmt::journal
