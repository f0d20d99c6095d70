#pragma once

#include <cmath>
#include <cstdint>

namespace zmt {

// The meter stores the low 16 bits of every computed integer (two's complement).
inline std::uint16_t Low16(std::int64_t value) {
    return static_cast<std::uint16_t>(value & 0xFFFF);
}

// A word read as the meter's signed 16-bit number.
inline std::int32_t AsSigned16(std::uint16_t word) {
    return static_cast<std::int16_t>(word);
}

// Whether a real can pass through the word arithmetic (x 100, rounding to a 64-bit integer)
// without overflowing; anything larger cannot be a value the meter holds anyway.
inline bool FitsWordArithmetic(long double value) {
    return std::isfinite(value) && std::fabs(value) < 1e15L;
}

}  // namespace zmt
