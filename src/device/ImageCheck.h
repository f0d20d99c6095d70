#pragma once

#include "device/DeviceState.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace zmt {

class LanguageText;

// Why a word of a read image is one that no configuration of this program produces.
enum class InvalidReason {
    OutOfRange,    // beyond what the editor lets the operator enter, or bits it never sets
    SameAsInput1,  // input (2) equals input (1): no scaling can be computed from them
};

struct InvalidImageValue {
    words::Word word = words::w0;
    InvalidReason reason = InvalidReason::OutOfRange;
    std::uint16_t value = 0;  // the word as read

    bool operator==(const InvalidImageValue&) const = default;
};

// The first word, in the order the editor takes them over (decimal point, flags, scaling,
// limits, then the program's mark), that a configuration write of this program could not
// have produced: a new or erased meter, or one set up by other means. The words computed
// for the meter alone (w0..w3, w6..w8) are not judged: the calibration and the rounding
// give them any value.
std::optional<InvalidImageValue> FirstInvalidImageValue(const ImageWords& image);

// The image of the last read: words 0..15 of ReadWords.
ImageWords ReadImage(const DeviceState& device);

// The value named as the operator knows it: "Dezimalpunkt-Code 255", "Grenzwert ON 55535".
QString InvalidImageValueText(const InvalidImageValue& invalid, const LanguageText& texts,
                              int languageIndex);

// "Das Gerät enthält keine gültige Konfiguration: " and the value named.
QString NoValidConfigurationLine(const InvalidImageValue& invalid, const LanguageText& texts,
                                 int languageIndex);

}  // namespace zmt
