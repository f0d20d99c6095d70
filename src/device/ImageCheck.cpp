#include "device/ImageCheck.h"

#include "device/ImageLayout.h"
#include "editor/ConfigModel.h"
#include "editor/Numbers.h"
#include "language/AddedRows.h"
#include "language/LanguageText.h"
#include "language/Texts.h"

#include <algorithm>
#include <cstdlib>

namespace zmt {

using namespace words;

namespace {

constexpr std::uint16_t KnownFlags = FlagBipolar | FlagInvertedContact;
constexpr int DisplayMax = 9999;  // the editor clamps displays and limits to this
constexpr int LimitMin = -1999;   // and limits to this; displays have no lower bound

// Inputs reach the largest full scale in either direction, with two decimals.
bool InputInRange(std::uint16_t word) {
    double largest = 0;
    for (const DeviceType& type : DeviceTypes) largest = std::max(largest, type.fullScale);
    return std::abs(DisplayOfWord(word)) <= largest * 100;
}

// A display below -10000 wraps its word into the values above 9999, so every word up to
// 19999 is a display the editor accepts (below -1999 with its warning).
bool DisplayInRange(std::uint16_t word) {
    return DisplayOfWord(word) <= DisplayMax;
}

bool LimitInRange(std::uint16_t word) {
    const int limit = DisplayOfWord(word);
    return limit >= LimitMin && limit <= DisplayMax;
}

struct WordRule {
    Word word;
    InvalidReason reason;
    bool (*valid)(const ImageWords& image);
};

constexpr WordRule kRules[] = {
    {w5, InvalidReason::OutOfRange,
     [](const ImageWords& r) { return r[w5] <= HighestDecimalPointCode; }},
    {w4, InvalidReason::OutOfRange, [](const ImageWords& r) { return (r[w4] & ~KnownFlags) == 0; }},
    {w9, InvalidReason::OutOfRange, [](const ImageWords& r) { return InputInRange(r[w9]); }},
    {w10, InvalidReason::OutOfRange, [](const ImageWords& r) { return InputInRange(r[w10]); }},
    {w10, InvalidReason::SameAsInput1, [](const ImageWords& r) { return r[w9] != r[w10]; }},
    {w11, InvalidReason::OutOfRange, [](const ImageWords& r) { return DisplayInRange(r[w11]); }},
    {w12, InvalidReason::OutOfRange, [](const ImageWords& r) { return DisplayInRange(r[w12]); }},
    {w13, InvalidReason::OutOfRange, [](const ImageWords& r) { return LimitInRange(r[w13]); }},
    {w14, InvalidReason::OutOfRange, [](const ImageWords& r) { return LimitInRange(r[w14]); }},
    {w15, InvalidReason::OutOfRange,
     [](const ImageWords& r) { return r[w15] == WrittenByProgramMark; }},
};

// The entries of the main window that w9..w14 hold, with their names.
struct EntryWord {
    Word word;
    int nameRow;
    bool isInput;
};

constexpr EntryWord kEntryWords[] = {
    {w9, rows::EntryInput1, true},     {w10, rows::EntryInput2, true},
    {w11, rows::EntryDisplay1, false}, {w12, rows::EntryDisplay2, false},
    {w13, rows::EntryLimitOn, false},  {w14, rows::EntryLimitOff, false},
};

QString EntryValueText(const EntryWord& entry, std::uint16_t value) {
    return entry.isInput ? numbers::FormatGeneral(InputOfWord(value))
                         : QString::number(DisplayOfWord(value));
}

// The code as the editor takes it (the low byte), or the whole word when only its high
// byte is out of place.
int DecimalPointCodeShown(std::uint16_t word) {
    const int code = word & 0xFF;
    return code > HighestDecimalPointCode ? code : word;
}

QString HexWord(std::uint16_t word) {
    return QStringLiteral("0x") + QStringLiteral("%1").arg(word, 4, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

std::optional<InvalidImageValue> FirstInvalidImageValue(const ImageWords& image) {
    for (const WordRule& rule : kRules)
        if (!rule.valid(image)) return InvalidImageValue{rule.word, rule.reason, image[rule.word]};
    return std::nullopt;
}

ImageWords ReadImage(const DeviceState& device) {
    ImageWords image{};
    std::copy_n(device.ReadWords.begin(), ImageWordCount, image.begin());
    return image;
}

QString InvalidImageValueText(const InvalidImageValue& invalid, const LanguageText& texts,
                              int languageIndex) {
    const Texts text(texts, languageIndex);
    if (invalid.word == w5)
        return text(rows::DecimalPointCodeValue).arg(DecimalPointCodeShown(invalid.value));
    if (invalid.word == w4) return text(rows::FlagBitsValue).arg(HexWord(invalid.value));
    if (invalid.word == w15) return text(rows::ProgramMarkValue).arg(invalid.value);
    const auto entry = std::find_if(std::begin(kEntryWords), std::end(kEntryWords),
                                    [&](const EntryWord& e) { return e.word == invalid.word; });
    if (entry == std::end(kEntryWords)) return {};
    const QString value = EntryValueText(*entry, invalid.value);
    if (invalid.reason == InvalidReason::SameAsInput1)
        return text(rows::EntryInput1) + QStringLiteral(" = ") + text(rows::EntryInput2) +
               QStringLiteral(" = ") + value;
    return text(entry->nameRow) + u' ' + value;
}

QString NoValidConfigurationLine(const InvalidImageValue& invalid, const LanguageText& texts,
                                 int languageIndex) {
    return texts.text(rows::NoValidConfiguration, languageIndex) + QStringLiteral(": ") +
           InvalidImageValueText(invalid, texts, languageIndex);
}

}  // namespace zmt
