#include "sheet/SheetJournal.h"

#include "device/DeviceImage.h"
#include "device/WriteCheck.h"
#include "editor/Numbers.h"

namespace zmt {

namespace {

// The words a comparison leaves out: what neither the configuration nor the input fixes.
std::array<bool, ImageWordCount> UnknownWords(const SheetInput& input) {
    std::array<bool, ImageWordCount> unknown{};
    if (!input.device || !input.device->ImageFromMeter)
        for (int word : {words::w0, words::w2, words::w8}) unknown[word] = true;
    if (!input.device)
        for (int word : {words::w6, words::w7}) unknown[word] = true;
    return unknown;
}

bool SameWords(const ImageWords& planned, const journal::Image& written,
               const std::array<bool, ImageWordCount>& unknown) {
    for (int word = 0; word < ImageWordCount; ++word)
        if (!unknown[word] && planned[word] != written[word]) return false;
    return true;
}

}  // namespace

std::optional<ImageWords> WordsToWrite(const SheetInput& input) {
    if (!CheckWritableConfiguration(input.model).ok()) return std::nullopt;
    DeviceState device = input.device.value_or(DeviceState{});
    try {
        ConfigToImage(device, input.model);
    } catch (const ConversionError&) {
        return std::nullopt;
    }
    return device.DeviceImage;
}

QString WriteRecordOf(const SheetInput& input, const std::vector<journal::JournalRecord>& writes) {
    const std::optional<ImageWords> planned = WordsToWrite(input);
    if (!planned) return {};
    const auto unknown = UnknownWords(input);
    for (auto record = writes.rbegin(); record != writes.rend(); ++record)
        if (record->succeeded() && record->written &&
            SameWords(*planned, *record->written, unknown))
            return record->id;
    return {};
}

}  // namespace zmt
