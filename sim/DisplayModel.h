#pragma once

#include "sim/MeterImage.h"

#include <cstdint>
#include <string>

namespace zmt::sim {

// The meter's analogue side: its input range and its own errors. The meter's raw reading
// is offsetError + gainError x 2000 x input / fullScale counts, so a perfect meter reads
// 2000 counts at full scale.
struct MeterAnalog {
    double fullScale = 20;   // input of the meter's type that reads 2000 counts (20 mA, 10 V, ...)
    double offsetError = 0;  // counts read at zero input
    double gainError = 1;    // factor on the ideal counts
};

double RawCounts(const MeterAnalog& analog, double input);

// Counts after the meter's own calibration: (raw - w0) x w2 / 8192, words signed.
double CalibratedCounts(const ImageWords& image, double raw);

// The value the meter computes for a raw reading before its digits limit it:
// calibrated counts x w3 / 2048, truncated toward zero like the meter's integer division,
// minus the zero word w1.
std::int64_t ScaledValue(const ImageWords& image, double raw);

// What the four digits show for a computed value.
struct DisplayedValue {
    std::int64_t value = 0;  // the number the digits stand for, sign included
    std::string text;        // the digits with the decimal comma and a leading "-"
};

// Positive-only display shows negatives as 0; values above 9999 show 9999; the digits
// carry a minus only down to -1999, below that the magnitude appears without it.
DisplayedValue ShowOnDigits(const ImageWords& image, std::int64_t value);

// The digits of a magnitude with the decimal comma of code 0..3 (comma before the last
// `code` digits, code 0 after the last digit), none for 4 or above; leading zeros fill up
// to the digit before the comma ("0,05").
std::string FormatDigits(std::int64_t magnitude, int decimalPointCode);

}  // namespace zmt::sim
