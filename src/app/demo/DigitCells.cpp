#include "app/demo/DigitCells.h"

#include <algorithm>
#include <vector>

namespace zmt::demo {

namespace {

constexpr std::array<std::uint8_t, 10> DigitSegments = {
    SegA | SegB | SegC | SegD | SegE | SegF,         // 0
    SegB | SegC,                                     // 1
    SegA | SegB | SegD | SegE | SegG,                // 2
    SegA | SegB | SegC | SegD | SegG,                // 3
    SegB | SegC | SegF | SegG,                       // 4
    SegA | SegC | SegD | SegF | SegG,                // 5
    SegA | SegC | SegD | SegE | SegF | SegG,         // 6
    SegA | SegB | SegC,                              // 7
    SegA | SegB | SegC | SegD | SegE | SegF | SegG,  // 8
    SegA | SegB | SegC | SegD | SegF | SegG,         // 9
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::vector<DigitCell> DigitsOf(std::string_view text) {
    std::vector<DigitCell> digits;
    for (char c : text) {
        if (IsDigit(c))
            digits.push_back({c});
        else if (c == ',' && !digits.empty())
            digits.back().point = true;
    }
    if (digits.size() > DigitCount) digits.erase(digits.begin(), digits.end() - DigitCount);
    return digits;
}

}  // namespace

DigitCells CellsForText(std::string_view text) {
    const bool negative = text.starts_with('-');
    if (negative) text.remove_prefix(1);
    const std::vector<DigitCell> digits = DigitsOf(text);
    DigitCells cells{};
    const int firstDigit = DigitCount - static_cast<int>(digits.size());
    std::copy(digits.begin(), digits.end(), cells.begin() + firstDigit);
    if (negative) cells[static_cast<std::size_t>(std::max(firstDigit - 1, 0))].minus = true;
    return cells;
}

std::uint8_t SegmentsOf(const DigitCell& cell) {
    if (!IsDigit(cell.glyph)) return cell.minus ? SegG : 0;
    const std::uint8_t digit = DigitSegments[static_cast<std::size_t>(cell.glyph - '0')];
    return cell.minus ? static_cast<std::uint8_t>(digit | SignBar) : digit;
}

}  // namespace zmt::demo
