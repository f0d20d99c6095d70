#pragma once

// What the journal window lists: the records newest first, filtered by a text and by their
// result, and for one record its three images side by side with the differing words.

#include "journal/JournalRecord.h"

#include <QString>

#include <array>
#include <vector>

namespace zmt::journal {

enum class ResultFilter { All, Succeeded, Failed };

// Indexes into `records`, newest (last appended) first.
std::vector<size_t> ListRecords(const std::vector<JournalRecord>& records, const QString& text,
                                ResultFilter result);

// Per word: whether the written or read-back image differs from the as-found one, or the
// read-back from the written one.
std::array<bool, ImageWordCount> DifferingWords(const JournalRecord& record);

}  // namespace zmt::journal
