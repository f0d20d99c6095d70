#include "app/demo/DigitCells.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zmt::demo {
namespace {

// One cell as "-1,": minus, glyph, point; cells joined by "|".
std::string Picture(const DigitCells& cells) {
    std::string picture;
    for (const DigitCell& cell : cells) {
        if (!picture.empty()) picture += '|';
        if (cell.minus) picture += '-';
        picture += cell.glyph;
        if (cell.point) picture += ',';
    }
    return picture;
}

struct CellsCase {
    const char* text;
    const char* picture;
};

TEST(DigitCells, LaysTheMeterTextIntoFourDigits) {
    const std::vector<CellsCase> cases = {
        {"", " | | | "},      {"0", " | | |0"},      {"2000", "2|0|0|0"},    {"9999", "9|9|9|9"},
        {"0,05", " |0,|0|5"}, {"1,999", "1,|9|9|9"}, {"2000,", "2|0|0|0,"},  {"-5", " | |- |5"},
        {"-999", "- |9|9|9"}, {"-1999", "-1|9|9|9"}, {"-1,99", "- |1,|9|9"}, {"-0,5", " |- |0,|5"},
    };
    for (const auto& c : cases) EXPECT_EQ(Picture(CellsForText(c.text)), c.picture) << c.text;
}

TEST(DigitCells, KeepsTheLastFourDigitsOfAnOverlongText) {
    EXPECT_EQ(Picture(CellsForText("12345")), "2|3|4|5");
}

struct SegmentCase {
    DigitCell cell;
    std::uint8_t segments;
};

TEST(DigitCells, LightsTheSegmentsOfEachGlyph) {
    const std::vector<SegmentCase> cases = {
        {{' '}, 0},
        {{'8'}, SegA | SegB | SegC | SegD | SegE | SegF | SegG},
        {{'1'}, SegB | SegC},
        {{'0'}, SegA | SegB | SegC | SegD | SegE | SegF},
        {{'7'}, SegA | SegB | SegC},
        {{'4'}, SegB | SegC | SegF | SegG},
        {{'2'}, SegA | SegB | SegD | SegE | SegG},
        // A lone minus is the middle bar; beside the leading 1 it is the short sign bar.
        {{' ', false, true}, SegG},
        {{'1', false, true}, SegB | SegC | SignBar},
        // The point is not a segment of the digit.
        {{'1', true}, SegB | SegC},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SegmentsOf(c.cell), c.segments)
            << "glyph '" << c.cell.glyph << "' minus " << c.cell.minus;
}

}  // namespace
}  // namespace zmt::demo
