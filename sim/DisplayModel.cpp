#include "sim/DisplayModel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zmt::sim {

namespace {

inline constexpr std::int64_t TopDigits = 9999;
inline constexpr std::int64_t LowestSigned = -1999;

// Representation noise of doubles must not decide a digit: 2000 x 1.005 is 2010 counts.
std::int64_t TruncateTowardZero(double value) {
    const double nudge = std::copysign(1e-7, value);
    return static_cast<std::int64_t>(std::trunc(value + nudge));
}

}  // namespace

double RawCounts(const MeterAnalog& analog, double input) {
    if (analog.fullScale == 0) return analog.offsetError;
    return analog.offsetError + analog.gainError * 2000.0 * input / analog.fullScale;
}

double CalibratedCounts(const ImageWords& image, double raw) {
    const double offset = SignedWord(image[word::Offset]);
    return (raw - offset) * SignedWord(image[word::Gain]) / 8192.0;
}

std::int64_t ScaledValue(const ImageWords& image, double raw) {
    const double spanned = CalibratedCounts(image, raw) * SignedWord(image[word::Span]) / 2048.0;
    return TruncateTowardZero(spanned) - SignedWord(image[word::Zero]);
}

DisplayedValue ShowOnDigits(const ImageWords& image, std::int64_t value) {
    const bool bipolar = (image[word::Flags] & BipolarFlag) != 0;
    if (!bipolar && value < 0) value = 0;
    if (value > TopDigits) value = TopDigits;
    // The leftmost digit holds either a minus and a 1 or a full digit: a value below
    // -1999 loses its minus.
    if (value < LowestSigned) value = std::min(-value, TopDigits);
    const std::string digits = FormatDigits(std::llabs(value), image[word::Point]);
    return {value, value < 0 ? "-" + digits : digits};
}

std::string FormatDigits(std::int64_t magnitude, int decimalPointCode) {
    std::string digits = std::to_string(magnitude);
    if (decimalPointCode < 0 || decimalPointCode > 3) return digits;
    const std::size_t width = static_cast<std::size_t>(decimalPointCode) + 1;
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    digits.insert(digits.size() - static_cast<std::size_t>(decimalPointCode), 1, ',');
    return digits;
}

}  // namespace zmt::sim
