#include "journal/JournalPairing.h"

#include <QHash>

namespace zmt::journal {

namespace {

// The outcome as the operation's record: the first record's id and time, and what only
// the first record holds when the outcome lacks it.
JournalRecord Merged(const JournalRecord& start, JournalRecord outcome) {
    outcome.id = start.id;
    outcome.time = start.time;
    outcome.outcomeOf.clear();
    if (!outcome.asFound) {
        outcome.asFound = start.asFound;
        outcome.asFoundValid = start.asFoundValid;
    }
    if (!outcome.written) outcome.written = start.written;
    return outcome;
}

}  // namespace

std::vector<JournalRecord> PairOutcomes(std::vector<JournalRecord> records) {
    QHash<QString, size_t> starts;
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i].result == JournalResult::Started) starts.insert(records[i].id, i);
    std::vector<bool> folded(records.size(), false);
    for (size_t i = 0; i < records.size(); ++i) {
        const auto start = starts.constFind(records[i].outcomeOf);
        if (records[i].outcomeOf.isEmpty() || start == starts.constEnd()) continue;
        JournalRecord& first = records[*start];
        if (first.result != JournalResult::Started) continue;  // a second outcome stands alone
        first = Merged(first, std::move(records[i]));
        folded[i] = true;
    }
    std::vector<JournalRecord> operations;
    operations.reserve(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        if (folded[i]) continue;
        if (records[i].result == JournalResult::Started)
            records[i].result = JournalResult::Interrupted;
        operations.push_back(std::move(records[i]));
    }
    return operations;
}

}  // namespace zmt::journal
