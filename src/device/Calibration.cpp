#include "device/Calibration.h"

#include "device/ImageWordMath.h"
#include "editor/ConfigModel.h"
#include "editor/Numbers.h"
#include "language/AddedRows.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace zmt {

using namespace words;

namespace {

constexpr std::int64_t Signed16Min = std::numeric_limits<std::int16_t>::min();
constexpr std::int64_t Signed16Max = std::numeric_limits<std::int16_t>::max();
constexpr double ExpectedGainCounts = 2000;
constexpr double UnityGain = 8192;
constexpr long double ReadingBound = 1e14L;

bool FitsSigned16(std::int64_t value) {
    return value >= Signed16Min && value <= Signed16Max;
}

ReadingResult Refused(ReadingRefusal refusal, const QString& text, std::int64_t reading = 0) {
    return {refusal, reading, text};
}

ReadingResult Accepted(std::int64_t reading) {
    return {ReadingRefusal::None, reading, QString::number(reading)};
}

// The typed reading rounded half-even. A value too large for any word is held at a bound
// that every range check below refuses, so nothing overflows on the way.
std::optional<std::int64_t> RoundedReading(const QString& text) {
    long double value = 0;
    if (!numbers::TryParseReal(text, value) || std::isnan(value)) return std::nullopt;
    if (!FitsWordArithmetic(value)) value = std::copysign(ReadingBound, value);
    return numbers::RoundHalfEven(value);
}

}  // namespace

std::int64_t GainFactorFor(std::int64_t reading) {
    return numbers::AddHalfTruncate(ExpectedGainCounts / reading * UnityGain);
}

ReadingResult TakeOffsetReading(const QString& text, DeviceState& device) {
    const auto reading = RoundedReading(text);
    if (!reading) return Refused(ReadingRefusal::NotANumber, text);
    if (!FitsSigned16(*reading)) return Refused(ReadingRefusal::OffsetOutOfRange, text, *reading);
    device.OffsetReading = Low16(*reading);
    device.OffsetDisplayReading = *reading;
    device.DeviceImage[w0] = device.OffsetReading;
    return Accepted(*reading);
}

ReadingResult TakeGainReading(const QString& text, DeviceState& device, const ConfigModel& config) {
    const auto reading = RoundedReading(text);
    if (!reading) return Refused(ReadingRefusal::NotANumber, text);
    if (*reading == 0) return Refused(ReadingRefusal::ZeroReading, text);
    const std::int64_t factor = GainFactorFor(*reading);
    // A factor of 0 would tell the meter to show nothing at all.
    if (!FitsSigned16(factor) || factor == 0)
        return Refused(ReadingRefusal::GainFactorOutOfRange, text, *reading);
    device.GainFactor = static_cast<std::int32_t>(factor);
    device.GainDisplayReading = *reading;
    device.DeviceImage[w0] = device.OffsetReading;
    device.DeviceImage[w2] = Low16(factor);
    ConfigToImage(device, config);
    return Accepted(*reading);
}

std::optional<int> RefusalDetailRow(ReadingRefusal refusal) {
    switch (refusal) {
        case ReadingRefusal::OffsetOutOfRange:
            return rows::ReadingOutOfRange;
        case ReadingRefusal::ZeroReading:
            return rows::ReadingIsZero;
        case ReadingRefusal::GainFactorOutOfRange:
            return rows::GainFactorOutOfRange;
        case ReadingRefusal::None:
        case ReadingRefusal::NotANumber:
            break;
    }
    return std::nullopt;
}

}  // namespace zmt
