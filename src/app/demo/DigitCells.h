#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace zmt::demo {

inline constexpr int DigitCount = 4;

// One of the meter's four seven-segment digits with the point at its lower right.
struct DigitCell {
    char glyph = ' ';  // '0'..'9', or ' ' for a dark digit
    bool point = false;
    bool minus = false;  // alone in a dark digit, or beside the "1" of "-1999"

    bool operator==(const DigitCell&) const = default;
};

using DigitCells = std::array<DigitCell, DigitCount>;

// Lays the meter's text ("-1,99", "0,05", "2000,") into the four digits the way the meter
// shows it: right-aligned, the comma as the point of the digit before it, the minus in the
// digit left of the number or, with four digits, beside the leading 1.
DigitCells CellsForText(std::string_view text);

// Segment bits: a (top) to g (middle) as usual, and the short sign bar on the left half.
enum Segment : std::uint8_t {
    SegA = 1 << 0,
    SegB = 1 << 1,
    SegC = 1 << 2,
    SegD = 1 << 3,
    SegE = 1 << 4,
    SegF = 1 << 5,
    SegG = 1 << 6,
    SignBar = 1 << 7,
};

std::uint8_t SegmentsOf(const DigitCell& cell);

}  // namespace zmt::demo
