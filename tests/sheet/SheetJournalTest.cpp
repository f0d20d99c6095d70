// Which journal record a sheet names: the newest successful write of the words this
// configuration gives, compared on the words that are known for it; and the sheet's line.
#include "SheetTestSupport.h"
#include "sheet/ConfigurationSheet.h"
#include "sheet/SheetJournal.h"

#include <functional>

namespace zmt::test {
namespace {

using journal::JournalRecord;

JournalRecord Write(const QString& id, const ImageWords& written,
                    const char* result = "succeeded") {
    JournalRecord record;
    record.id = id;
    record.operation = QStringLiteral("write");
    record.result = journal::ResultOfWord(QString::fromLatin1(result));
    record.written.emplace();
    std::copy(written.begin(), written.end(), record.written->begin());
    return record;
}

SheetInput FileOnItsOwn() {
    return WorkedExample();
}

// The worked example after a read of a meter: its image is the meter's own.
SheetInput ReadFromMeter() {
    SheetInput input = WorkedExample();
    DeviceState device;
    device.DeviceImage = {65533, 0, 8233, 0, 0, 0, 0, 0, 7};
    device.ImageFromMeter = true;
    input.device = device;
    return input;
}

ImageWords Changed(ImageWords words, int word) {
    words[word] ^= 0x10;
    return words;
}

struct MatchCase {
    const char* name;
    std::function<SheetInput()> input;
    // The records of the run, from the words the input's configuration gives.
    std::function<std::vector<JournalRecord>(const ImageWords&)> writes;
    std::function<void(SheetInput&)> afterwards;  // what the user did after the writes
    QString named;
};

TEST(SheetJournal, NamesTheNewestWriteOfTheseWordsOnly) {
    const auto none = [](SheetInput&) {};
    const MatchCase cases[] = {
        {"the write of this configuration", ReadFromMeter,
         [](const ImageWords& w) { return std::vector{Write("a", w)}; }, none, "a"},
        {"the newest of two", ReadFromMeter,
         [](const ImageWords& w) {
             return std::vector{Write("a", w), Write("b", w)};
         },
         none, "b"},
        {"a failed write is none", ReadFromMeter,
         [](const ImageWords& w) {
             return std::vector{Write("a", w), Write("b", w, "failed")};
         },
         none, "a"},
        {"another configuration written last", ReadFromMeter,
         [](const ImageWords& w) {
             return std::vector{Write("a", w), Write("b", Changed(w, 9))};
         },
         none, "a"},
        {"edited after the write", ReadFromMeter,
         [](const ImageWords& w) { return std::vector{Write("a", w)}; },
         [](SheetInput& input) { input.model.setField(Field::RelaisOn, QStringLiteral("1500")); },
         ""},
        {"a record without written words", ReadFromMeter,
         [](const ImageWords&) {
             JournalRecord read;
             read.id = "r";
             read.result = journal::JournalResult::Succeeded;
             return std::vector{read};
         },
         none, ""},
        {"a meter word differs after a read", ReadFromMeter,
         [](const ImageWords& w) { return std::vector{Write("a", Changed(w, 0))}; }, none, ""},
        {"without a read the meter's words are unknown",
         [] {
             SheetInput input = ReadFromMeter();
             input.device->ImageFromMeter = false;
             return input;
         },
         [](const ImageWords& w) { return std::vector{Write("a", Changed(Changed(w, 0), 8))}; },
         none, "a"},
        {"a file on its own: thresholds left out", FileOnItsOwn,
         [](const ImageWords& w) { return std::vector{Write("a", Changed(Changed(w, 6), 2))}; },
         none, "a"},
        {"a file on its own: a scaling word counts", FileOnItsOwn,
         [](const ImageWords& w) { return std::vector{Write("a", Changed(w, 11))}; }, none, ""},
        {"a configuration that cannot be written", ReadFromMeter,
         [](const ImageWords& w) { return std::vector{Write("a", w)}; },
         [](SheetInput& input) { input.model.setField(Field::RelaisOn, QStringLiteral("x")); }, ""},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        SheetInput input = c.input();
        const std::optional<ImageWords> words = WordsToWrite(input);
        ASSERT_TRUE(words);
        const std::vector<JournalRecord> writes = c.writes(*words);
        c.afterwards(input);
        EXPECT_EQ(WriteRecordOf(input, writes), c.named);
    }
}

TEST(SheetJournal, TheSheetNamesTheRecordUnderItsHeaderInBothLanguages) {
    for (int language : {0, 1}) {
        SheetInput input = WorkedExample(language);
        EXPECT_EQ(ConfigurationSheet(input).contents().header.rows.size(), 3u);
        input.journalRecord = QStringLiteral("0b7c6f3e-1111-4222-8333-444455556666");
        const SheetTable header = ConfigurationSheet(input).contents().header;
        ASSERT_EQ(header.rows.size(), 4u);
        EXPECT_EQ(header.rows.back(),
                  QStringList{QString::fromUtf8(language == 0 ? "Protokolleintrag des Schreibens: "
                                                              : "journal record of the write: ") +
                              input.journalRecord});
    }
}

}  // namespace
}  // namespace zmt::test
