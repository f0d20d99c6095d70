// A write's first record and its outcome read as one operation; a first record alone is an
// interrupted write; records of the one-record form stand as they are.
#include "journal/JournalPairing.h"

#include <gtest/gtest.h>

namespace zmt::journal {
namespace {

JournalRecord Record(const char* id, JournalResult result, const char* outcomeOf = "") {
    JournalRecord record;
    record.id = id;
    record.time = QStringLiteral("time of %1").arg(id);
    record.operation = "write";
    record.result = result;
    record.outcomeOf = outcomeOf;
    return record;
}

QString Summary(const std::vector<JournalRecord>& records) {
    QStringList parts;
    for (const JournalRecord& record : records)
        parts << record.id + u':' + record.resultWord() + u'@' + record.time;
    return parts.join(u' ');
}

TEST(JournalPairingTest, FirstRecordsAndOutcomesReadAsOneOperationEach) {
    using R = JournalResult;
    const struct {
        const char* name;
        std::vector<JournalRecord> file;
        const char* read;
    } cases[] = {
        {"a write and its outcome",
         {Record("s", R::Started), Record("o", R::Succeeded, "s")},
         "s:succeeded@time of s"},
        {"a write killed before its outcome", {Record("s", R::Started)}, "s:interrupted@time of s"},
        {"the one-record form of earlier versions",
         {Record("a", R::Succeeded), Record("b", R::Failed)},
         "a:succeeded@time of a b:failed@time of b"},
        {"another station's records in between",
         {Record("s", R::Started), Record("x", R::Succeeded), Record("o", R::Cancelled, "s")},
         "s:cancelled@time of s x:succeeded@time of x"},
        {"an outcome whose first record was lost",
         {Record("o", R::Failed, "gone")},
         "o:failed@time of o"},
        {"a second outcome naming the same write stands alone",
         {Record("s", R::Started), Record("o", R::Failed, "s"), Record("p", R::Succeeded, "s")},
         "s:failed@time of s p:succeeded@time of p"},
    };
    for (const auto& c : cases) EXPECT_EQ(Summary(PairOutcomes(c.file)), c.read) << c.name;
}

TEST(JournalPairingTest, TheOperationKeepsWhatOnlyItsFirstRecordHeld) {
    JournalRecord start = Record("s", JournalResult::Started);
    start.asFound = Image{1, 2, 3};
    start.asFoundValid = true;
    start.written = Image{4, 5, 6};
    JournalRecord outcome = Record("o", JournalResult::Succeeded, "s");
    outcome.readBack = Image{4, 5, 6};
    const std::vector<JournalRecord> read = PairOutcomes({start, outcome});
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].asFound, start.asFound);
    EXPECT_TRUE(read[0].asFoundValid);
    EXPECT_EQ(read[0].written, start.written);
    EXPECT_EQ(read[0].readBack, outcome.readBack);
    EXPECT_TRUE(read[0].outcomeOf.isEmpty());
}

}  // namespace
}  // namespace zmt::journal
