#include "journal/JournalListing.h"

namespace zmt::journal {

namespace {

bool Matches(const JournalRecord& record, const QString& text) {
    if (text.isEmpty()) return true;
    for (const QString& field : {record.time, record.port, record.device, record.operation,
                                 record.file, record.resultWord(), record.id, record.operatorName})
        if (field.contains(text, Qt::CaseInsensitive)) return true;
    return record.verdict.join(u'\n').contains(text, Qt::CaseInsensitive);
}

bool Passes(const JournalRecord& record, ResultFilter result) {
    switch (result) {
        case ResultFilter::All:
            return true;
        case ResultFilter::Succeeded:
            return record.succeeded();
        case ResultFilter::Failed:
            break;
    }
    return !record.succeeded();
}

}  // namespace

std::vector<size_t> ListRecords(const std::vector<JournalRecord>& records, const QString& text,
                                ResultFilter result) {
    std::vector<size_t> listed;
    for (size_t i = records.size(); i-- > 0;)
        if (Passes(records[i], result) && Matches(records[i], text.trimmed())) listed.push_back(i);
    return listed;
}

std::array<bool, ImageWordCount> DifferingWords(const JournalRecord& record) {
    std::array<bool, ImageWordCount> differing{};
    const std::optional<Image>* images[] = {&record.asFound, &record.written, &record.readBack};
    for (int word = 0; word < ImageWordCount; ++word)
        for (const auto* a : images)
            for (const auto* b : images)
                if (*a && *b && (**a)[word] != (**b)[word]) differing[word] = true;
    return differing;
}

}  // namespace zmt::journal
