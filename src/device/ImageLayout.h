#pragma once

#include <cstdint>

namespace zmt {

// How the configuration sits in the image's words, shared by the conversions and the check
// of a read image.

inline constexpr int OffsetWordBias = 10000;  // w9..w14 keep the operator's numbers offset by this
inline constexpr std::uint16_t FlagBipolar = 0x80;          // w4: "+ / -"
inline constexpr std::uint16_t FlagInvertedContact = 0x40;  // w4: "gwinv"
inline constexpr int HighestDecimalPointCode = 4;  // "no point"; every code up to it has a radio
inline constexpr std::uint16_t WrittenByProgramMark = 1;  // w15 after every configuration write

// The operator's numbers as w9..w14 keep them: inputs with two decimals, displays whole.
inline long double InputOfWord(std::uint16_t word) {
    return static_cast<long double>(word - OffsetWordBias) / 100;
}
inline int DisplayOfWord(std::uint16_t word) {
    return word - OffsetWordBias;
}

}  // namespace zmt
