// What the journal window lists: newest first, filtered by a text in any shown field and
// by the result; and which words of a record's three images differ.
#include "journal/JournalListing.h"

namespace zmt::journal {
namespace {

JournalRecord Record(const char* operation, const char* port, const char* result,
                     const char* verdict = "") {
    JournalRecord record;
    record.id = QStringLiteral("id-%1-%2").arg(operation, port);
    record.time = "2024-05-06T07:08:09.010+02:00";
    record.operation = operation;
    record.port = port;
    record.result = ResultOfWord(QString::fromLatin1(result));
    record.operatorName = "tech";
    if (*verdict) record.verdict = QStringList{verdict};
    return record;
}

struct ListCase {
    const char* text;
    ResultFilter result;
    std::vector<size_t> listed;
};

TEST(JournalListingTest, NewestFirstFilteredByTextAndResult) {
    std::vector<JournalRecord> records{
        Record("read", "COM1", "succeeded"),
        Record("write", "COM2", "failed", "no meter answered"),
        Record("write", "COM1", "cancelled"),
        Record("restore", "COM1", "succeeded"),
    };
    records[0].file = "/plant/Line3.dig";
    records[1].device = "/dev/serial/by-id/usb-FTDI_A1B2-if00-port0";
    records[3].operatorName = "night shift";
    const ListCase cases[] = {
        {"", ResultFilter::All, {3, 2, 1, 0}},
        {"", ResultFilter::Succeeded, {3, 0}},
        {"", ResultFilter::Failed, {2, 1}},  // cancelled did not succeed either
        {"write", ResultFilter::All, {2, 1}},
        {"  WRITE ", ResultFilter::All, {2, 1}},  // blanks around, any case
        {"write", ResultFilter::Succeeded, {}},
        {"com2", ResultFilter::All, {1}},
        {"a1b2", ResultFilter::All, {1}},         // the device
        {"line3", ResultFilter::All, {0}},        // the file
        {"answered", ResultFilter::Failed, {1}},  // the verdict
        {"night", ResultFilter::All, {3}},        // the operator
        {"id-restore", ResultFilter::All, {3}},
        {"2024-05-06", ResultFilter::Succeeded, {3, 0}},  // the time
        {"nothing like it", ResultFilter::All, {}},
    };
    for (const ListCase& c : cases)
        EXPECT_EQ(ListRecords(records, c.text, c.result), c.listed)
            << '"' << c.text << "\" " << int(c.result);
    EXPECT_TRUE(ListRecords({}, "", ResultFilter::All).empty());
}

struct DifferenceCase {
    const char* name;
    std::optional<Image> asFound, written, readBack;
    std::vector<int> differing;
};

Image With(Image image, int word, std::uint16_t value) {
    image[word] = value;
    return image;
}

TEST(JournalListingTest, WordsThatDifferBetweenAnyTwoImagesAreMarked) {
    const Image base{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const DifferenceCase cases[] = {
        {"a read alone", base, {}, {}, {}},
        {"written as found", base, base, base, {}},
        {"written differs from as-found", base, With(base, 3, 0), With(base, 3, 0), {3}},
        {"read-back differs from written", base, base, With(base, 5, 99), {5}},
        {"each pair", With(base, 0, 0), With(base, 15, 0), base, {0, 15}},
        {"no as-found", {}, base, With(base, 7, 0), {7}},
        {"written only", {}, base, {}, {}},
    };
    for (const DifferenceCase& c : cases) {
        JournalRecord record;
        record.asFound = c.asFound;
        record.written = c.written;
        record.readBack = c.readBack;
        const std::array<bool, 16> differing = DifferingWords(record);
        std::vector<int> marked;
        for (int word = 0; word < 16; ++word)
            if (differing[word]) marked.push_back(word);
        EXPECT_EQ(marked, c.differing) << c.name;
    }
}

}  // namespace
}  // namespace zmt::journal
