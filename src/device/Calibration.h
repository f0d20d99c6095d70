#pragma once

#include "device/DeviceImage.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace zmt {

struct ConfigModel;

// Why an operator's reading is refused. A refused reading changes nothing, and the
// operation window keeps its OK button unavailable until the entry is corrected, so a
// nonsense calibration is never written.
enum class ReadingRefusal {
    None,
    NotANumber,
    OffsetOutOfRange,  // the offset word is the meter's signed 16-bit number
    ZeroReading,       // a gain reading of 0 gives no gain factor
    // The meter reads w2 as a signed 16-bit number, so the factor must lie in -32768..32767
    // (readings from 501 up, or from -500 down); 0 would blank the display. A reading of 1
    // (16384000) is refused rather than written as its low 16 bits.
    GainFactorOutOfRange,
};

struct ReadingResult {
    ReadingRefusal refusal = ReadingRefusal::None;
    std::int64_t reading = 0;  // the operator's reading, rounded half-even
    QString anzeigeText;       // what the entry field shows afterwards

    bool valid() const { return refusal == ReadingRefusal::None; }
};

// Offset reading (signal off): sets OffsetReading and w0 to its two's complement.
ReadingResult TakeOffsetReading(const QString& text, DeviceState& device);

// Gain reading (calibration signal on, 2000 counts expected): sets GainFactor, w0 from
// OffsetReading, w2 from the factor, and recomputes the configuration words. Raises
// ConversionError as ConfigToImage does; GainFactor, w0 and w2 are then already set.
ReadingResult TakeGainReading(const QString& text, DeviceState& device, const ConfigModel& config);

// The gain factor for a valid reading: 2000 counts give 8192.
std::int64_t GainFactorFor(std::int64_t reading);

// The language table row of the line shown after "Eingabefehler" / "no valid input data"
// for a refused reading; none when no further line is needed.
std::optional<int> RefusalDetailRow(ReadingRefusal refusal);

}  // namespace zmt
