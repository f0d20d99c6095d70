#include "sim/DisplayModel.h"
#include "sim/LimitContact.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zmt::sim {
namespace {

// w0..w7 as the calibrate-and-write operation writes them first.
ImageWords InitialCalibrationWords() {
    return {0, 0, 8192, 2048, 0x80, 0, 8192, 0};
}

struct RawCase {
    const char* name;
    double offsetError;
    double gainError;
    double input;  // of a 20 mA meter
    std::int64_t expected;
};

// With the neutral image the meter shows its raw reading: the offset at zero input and
// 2000 x gain on top of it at full scale, truncated like the meter's integer arithmetic.
TEST(DisplayModel, NeutralImageShowsTheRawReading) {
    const std::vector<RawCase> cases = {
        {"perfect zero", 0, 1, 0, 0},
        {"perfect full scale", 0, 1, 20, 2000},
        {"offset at zero", -3, 1, 0, -3},
        {"fractional offset truncates", 4.7, 1, 0, 4},
        {"negative fraction truncates toward zero", -4.7, 1, 0, -4},
        {"gain at full scale", 0, 1.005, 20, 2010},
        {"gain below one", 0, 0.995, 20, 1990},
        {"offset and gain", 6, 1.01, 20, 2026},
        {"half scale", 0, 1, 10, 1000},
    };
    for (const auto& c : cases) {
        const MeterAnalog analog{20, c.offsetError, c.gainError};
        EXPECT_EQ(ScaledValue(InitialCalibrationWords(), RawCounts(analog, c.input)), c.expected)
            << c.name;
    }
}

struct WordCase {
    const char* name;
    std::uint16_t w0, w1, w2, w3;
    double raw;
    std::int64_t expected;
};

TEST(DisplayModel, WordsScaleTheReading) {
    const std::vector<WordCase> cases = {
        {"offset word subtracts", 3, 0, 8192, 2048, 1003, 1000},
        {"negative offset word", 65533, 0, 8192, 2048, -3, 0},
        {"zero word is the negated display at zero", 0, 65436, 8192, 2048, 0, 100},
        {"positive zero word lowers", 0, 100, 8192, 2048, 0, -100},
        {"gain word multiplies", 0, 0, 16384, 2048, 500, 1000},
        {"negative gain word flips", 0, 0, 57345, 2048, -2000, 1999},
        {"span word 2049 stays at 2000", 0, 0, 8192, 2049, 2000, 2000},
        {"span word halves", 0, 0, 8192, 1024, 2000, 1000},
        {"negative span word", 0, 0, 8192, 63490, 2000, -1998},
        {"product truncates toward zero", 0, 0, 8192, 2048, -1.5, -1},
        {"span of 10000", 0, 0, 8192, 10240, 1999, 9995},
        {"zero gain shows the zero word only", 7, 65535, 0, 2048, 1234, 1},
    };
    for (const auto& c : cases) {
        ImageWords image{};
        image[word::Offset] = c.w0;
        image[word::Zero] = c.w1;
        image[word::Gain] = c.w2;
        image[word::Span] = c.w3;
        EXPECT_EQ(ScaledValue(image, c.raw), c.expected) << c.name;
    }
}

struct DigitCase {
    const char* name;
    std::uint16_t flags;
    std::uint16_t point;
    std::int64_t value;
    const char* text;
    std::int64_t shown;
};

TEST(DisplayModel, DigitsFollowPolarityLimitsAndPoint) {
    const std::vector<DigitCase> cases = {
        {"plain", 0x80, 4, 1000, "1000", 1000},
        {"point after the last digit", 0x80, 0, 5, "5,", 5},
        {"one decimal", 0x80, 1, 1234, "123,4", 1234},
        {"two decimals pad", 0x80, 2, 5, "0,05", 5},
        {"three decimals pad", 0x80, 3, 5, "0,005", 5},
        {"three decimals", 0x80, 3, 1234, "1,234", 1234},
        {"zero with two decimals", 0x80, 2, 0, "0,00", 0},
        {"code above four shows no point", 0x80, 7, 42, "42", 42},
        {"bipolar negative", 0x80, 4, -5, "-5", -5},
        {"bipolar negative with point", 0x80, 2, -5, "-0,05", -5},
        {"lowest signed value", 0x80, 4, -1999, "-1999", -1999},
        {"below -1999 loses the minus", 0x80, 4, -2500, "2500", 2500},
        {"far below loses the minus and tops out", 0x80, 4, -12000, "9999", 9999},
        {"positive only shows negatives as 0", 0x00, 4, -5, "0", 0},
        {"positive only keeps positives", 0x40, 1, 15, "1,5", 15},
        {"top", 0x80, 4, 9999, "9999", 9999},
        {"above the top", 0x80, 4, 10000, "9999", 9999},
        {"above the top with point", 0x80, 2, 123456, "99,99", 9999},
    };
    for (const auto& c : cases) {
        ImageWords image{};
        image[word::Flags] = c.flags;
        image[word::Point] = c.point;
        const DisplayedValue shown = ShowOnDigits(image, c.value);
        EXPECT_EQ(shown.text, c.text) << c.name;
        EXPECT_EQ(shown.value, c.shown) << c.name;
    }
}

struct ContactCase {
    const char* name;
    std::uint16_t flags;
    std::uint16_t on, off;  // raw units with the 2048 bias
    std::vector<double> raws;
    std::vector<ContactState> states;
};

TEST(LimitContact, SwitchesWithHysteresis) {
    using S = ContactState;
    const S o = S::Open, c = S::Closed;
    const std::vector<ContactCase> cases = {
        {"normal closes at ON", 0, 3048, 2848, {0, 999, 1000, 1500}, {o, o, c, c}},
        {"normal holds above OFF", 0, 3048, 2848, {1000, 900, 801, 800, 900}, {c, c, c, o, o}},
        {"normal ON equal OFF", 0, 3048, 3048, {1000, 999.5, 1000}, {c, o, c}},
        {"inverted closes at ON", 0x40, 2848, 3048, {1500, 801, 800, 0}, {o, o, c, c}},
        {"inverted holds below OFF", 0x40, 2848, 3048, {0, 999, 1000, 900}, {c, c, o, o}},
        {"negative raw values", 0, 1548, 1048, {-600, -500, -1000, -999}, {o, c, o, o}},
        {"threshold below the bias (signed word)", 0, 65036, 65036, {-2600, -2400}, {o, c}},
        {"unused", 0, 5000, 4500, {0, 5000, -5000}, {S::NotUsed, S::NotUsed, S::NotUsed}},
        {"unused even inverted", 0x40, 5000, 4500, {0}, {S::NotUsed}},
    };
    for (const auto& t : cases) {
        ImageWords image{};
        image[word::Flags] = t.flags;
        image[word::ContactOn] = t.on;
        image[word::ContactOff] = t.off;
        LimitContact contact;
        for (std::size_t i = 0; i < t.raws.size(); ++i)
            EXPECT_EQ(contact.update(image, t.raws[i]), t.states[i]) << t.name << " step " << i;
    }
}

TEST(LimitContact, StartsOpenAfterReset) {
    ImageWords image{};
    image[word::ContactOn] = 3048;
    image[word::ContactOff] = 2048;
    LimitContact contact;
    EXPECT_EQ(contact.update(image, 1500), ContactState::Closed);
    contact.reset();
    // Inside the hysteresis band a fresh relay stays open.
    EXPECT_EQ(contact.update(image, 500), ContactState::Open);
}

}  // namespace
}  // namespace zmt::sim
