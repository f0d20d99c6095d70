#include "device/ImageComparison.h"

#include "device/DeviceImage.h"
#include "device/ImageWordMath.h"
#include "editor/ConfigModel.h"
#include "editor/Numbers.h"
#include "language/AddedRows.h"
#include "language/LanguageText.h"
#include "language/Texts.h"

#include <cmath>
#include <functional>

namespace zmt {

using namespace words;

namespace {

QString Polarity(std::uint16_t flags) {
    return (flags & FlagBipolar) ? PolaritySigned : PolarityPositiveOnly;
}

QString LimitMode(const ImageWords& image) {
    if (image[w6] == UnusedContactOnWord) return ModeUnused;
    return (image[w4] & FlagInvertedContact) ? ModeInverted : ModeNormal;
}

QString InputValue(std::uint16_t word, const QString& unit) {
    const QString value = numbers::FormatGeneral(InputOfWord(word));
    return unit.isEmpty() ? value : value + u' ' + unit;
}

QString DisplayValue(std::uint16_t word) {
    return QString::number(DisplayOfWord(word));
}

std::int64_t DisplayAtZero(const ImageWords& image) {
    return -static_cast<std::int64_t>(AsSigned16(image[w1]));
}

// The span word back in display counts: the inverse of its add-half-truncate scaling.
std::int64_t DisplayAtFullScale(const ImageWords& image) {
    const long double span = static_cast<long double>(AsSigned16(image[w3])) * 2000 / 2048 - 0.5L;
    return DisplayAtZero(image) + numbers::RoundHalfEven(span);
}

// One comparable item: the words it rests on, and how its value reads.
struct Item {
    int what;
    std::vector<Word> words;
    std::function<QString(const ImageWords&)> value;
    bool thresholds = false;  // only while the contact is used on both sides
};

std::vector<Item> Items(const QString& unit) {
    const auto word = [](Word w, QString (*show)(std::uint16_t)) {
        return [w, show](const ImageWords& image) { return show(image[w]); };
    };
    const auto input = [unit](Word w) {
        return [w, unit](const ImageWords& image) { return InputValue(image[w], unit); };
    };
    const auto raw = [](Word w) {
        return [w](const ImageWords& image) { return QString::number(image[w]); };
    };
    return {
        {rows::ItemDecimalPoint,
         {w5},
         word(w5, [](std::uint16_t code) { return DecimalPointPattern(code); })},
        {rows::ItemPolarity, {w4}, word(w4, Polarity)},
        {rows::ItemLimitMode, {}, LimitMode},
        {rows::EntryInput1, {w9}, input(w9)},
        {rows::EntryDisplay1, {w11}, word(w11, DisplayValue)},
        {rows::EntryInput2, {w10}, input(w10)},
        {rows::EntryDisplay2, {w12}, word(w12, DisplayValue)},
        {rows::EntryLimitOn, {w13}, word(w13, DisplayValue)},
        {rows::EntryLimitOff, {w14}, word(w14, DisplayValue)},
        {rows::ItemDisplayAtZero,
         {w1},
         [](const ImageWords& i) { return QString::number(DisplayAtZero(i)); }},
        // Compared as shown: a zero word that differs changes the span word with it.
        {rows::ItemDisplayAtFullScale,
         {},
         [](const ImageWords& i) { return QString::number(DisplayAtFullScale(i)); }},
        {rows::ItemThresholdOn, {w6}, raw(w6), true},
        {rows::ItemThresholdOff, {w7}, raw(w7), true},
        {rows::ItemMark, {w15}, raw(w15)},
    };
}

bool Differs(const Item& item, const ImageWords& a, const ImageWords& b) {
    if (item.words.empty()) return item.value(a) != item.value(b);
    for (Word w : item.words)
        if (a[w] != b[w]) return true;
    return false;
}

}  // namespace

QString DecimalPointPattern(int code) {
    static const char* const Patterns[] = {"[0000,]", "[000,0]", "[00,00]", "[0,000]", "[0000]"};
    return code >= 0 && code <= 4 ? QString::fromLatin1(Patterns[code]) : QString::number(code);
}

ImageWords ImageToWrite(const ConfigModel& config, const DeviceState& device) {
    DeviceState written = device;
    ConfigToImage(written, config);
    return written.DeviceImage;
}

std::vector<ImageDifference> CompareImages(const ImageWords& expected, const ImageWords& meter,
                                           const QString& unit) {
    const bool contactUsed = LimitMode(expected) != ModeUnused && LimitMode(meter) != ModeUnused;
    std::vector<ImageDifference> differences;
    for (const Item& item : Items(unit)) {
        if (item.thresholds && !contactUsed) continue;
        if (Differs(item, expected, meter))
            differences.push_back({item.what, item.value(expected), item.value(meter)});
    }
    return differences;
}

QString DifferenceText(const ImageDifference& difference, const LanguageText& texts,
                       int languageIndex) {
    const Texts text(texts, languageIndex);
    QString file = difference.file, meter = difference.meter;
    if (difference.what == rows::ItemMark) {
        file = text(file == "1" ? rows::WrittenByThisProgram : rows::NotWrittenByThisProgram);
        meter = text(meter == "1" ? rows::WrittenByThisProgram : rows::NotWrittenByThisProgram);
    }
    return text(rows::DifferenceLine).arg(text(difference.what), file, meter);
}

}  // namespace zmt
