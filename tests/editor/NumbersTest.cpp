#include "editor/Numbers.h"

#include "LocaleGuard.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zmt::numbers {
namespace {

struct RealCase {
    const char* text;
    bool valid;
    long double value;
};

void ExpectRealCases(const std::vector<RealCase>& cases) {
    for (const auto& c : cases) {
        long double value = -12345;
        EXPECT_EQ(TryParseReal(c.text, value), c.valid) << "'" << c.text << "'";
        if (c.valid) {
            EXPECT_EQ(value, c.value) << "'" << c.text << "'";
        }
    }
}

// A text reads the same on every locale: "." and "," both mark the decimal point, since
// the program never writes group separators.
TEST(NumbersTest, ParsesRealsWithEitherSeparatorOnEveryLocale) {
    for (const QLocale::Language language : {QLocale::German, QLocale::English}) {
        LocaleGuard locale(language);
        SCOPED_TRACE(QLocale().name().toStdString());
        ExpectRealCases({
            {"4,5", true, 4.5L},
            {"4.5", true, 4.5L},
            {"   20", true, 20},
            {"  -0,5  ", true, -0.5L},
            {"  -0.25", true, -0.25L},
            {"+3", true, 3},
            {",5", true, 0.5L},
            {".5", true, 0.5L},
            {"5,", true, 5},
            {"1e3", true, 1000},
            {"1,5E-2", true, 0.015L},
            {"1.5E-2", true, 0.015L},
            {"-1E+2", true, -100},
            {"1,000", true, 1},
            {"", false, 0},
            {"     ", false, 0},
            {"abc", false, 0},
            {"1e", false, 0},
            {"e5", false, 0},
            {"--1", false, 0},
            {"1 2", false, 0},
            {"1,2,3", false, 0},
            {"1.2.3", false, 0},
            {",", false, 0},
            {".", false, 0},
            {"-", false, 0},
            {"inf", false, 0},
            {"nan", false, 0},
            {"0x10", false, 0},
            {"1e99999", false, 0},  // beyond the range of the evaluation type
            {"1.000,5", false, 0},  // more than one separator is no number
            {"1,000.5", false, 0},
            {"4,,5", false, 0},
            {"4.,5", false, 0},
        });
    }
}

TEST(NumbersTest, ParsesIntegers) {
    struct Case {
        const char* text;
        bool valid;
        std::int32_t value;
    };
    const Case cases[] = {
        {" 2000", true, 2000},
        {"-5", true, -5},
        {"   +7", true, 7},
        {"0", true, 0},
        {"2147483647", true, std::numeric_limits<std::int32_t>::max()},
        {"-2147483648", true, std::numeric_limits<std::int32_t>::min()},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999", false, 0},
        {"20 ", false, 0},  // only leading blanks
        {"", false, 0},
        {"    ", false, 0},
        {"1,0", false, 0},
        {"1.0", false, 0},
        {"1e3", false, 0},
        {"- 5", false, 0},
        {"+", false, 0},
        {"x", false, 0},
        {"$1F", false, 0},
        {"12a", false, 0},
    };
    for (const auto& c : cases) {
        std::int32_t value = -777;
        EXPECT_EQ(TryParseInteger(c.text, value), c.valid) << "'" << c.text << "'";
        if (c.valid) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(NumbersTest, UnguardedParsesNameTheText) {
    struct Case {
        const char* text;
        bool integer;
        const char* message;
    };
    const Case cases[] = {
        {"abc", false, "'abc' is not a valid floating point value"},
        {"  x ", false, "'  x ' is not a valid floating point value"},
        {"", false, "'' is not a valid floating point value"},
        {"x", true, "'x' is not a valid integer value"},
        {" 12,5", true, "' 12,5' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        try {
            if (c.integer)
                ParseInteger(c.text);
            else
                ParseReal(c.text);
            ADD_FAILURE() << "no error for '" << c.text << "'";
        } catch (const ConversionError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    EXPECT_EQ(ParseReal("  -4,5 "), -4.5L);
    EXPECT_EQ(ParseInteger(" -1999"), -1999);
}

TEST(NumbersTest, FormatsInGeneralFormatWithTheLocaleSeparator) {
    struct Case {
        long double value;
        const char* german;
        const char* english;
    };
    const Case cases[] = {
        {20, "20", "20"},
        {4.5L, "4,5", "4.5"},
        {-0.25L, "-0,25", "-0.25"},
        {0, "0", "0"},
        {-0.0L, "0", "0"},
        {62.5L, "62,5", "62.5"},
        {-1999, "-1999", "-1999"},
        {100, "100", "100"},
        {0.1L + 0.2L, "0,3", "0.3"},
        {1.0L / 3, "0,333333333333333", "0.333333333333333"},
        {2.0L / 3, "0,666666666666667", "0.666666666666667"},
        {1e-5L, "0,00001", "0.00001"},
        {1.25e-5L, "0,0000125", "0.0000125"},
        {1e-6L, "1E-6", "1E-6"},
        {-1.5e-6L, "-1,5E-6", "-1.5E-6"},
        {123456789012345.0L, "123456789012345", "123456789012345"},
        {1e15L, "1E15", "1E15"},
        {1234567890123456789.0L, "1,23456789012346E18", "1.23456789012346E18"},
        {99999.99999999999L, "100000", "100000"},
        {std::numeric_limits<long double>::infinity(), "INF", "INF"},
        {-std::numeric_limits<long double>::infinity(), "-INF", "-INF"},
    };
    for (const auto& c : cases) {
        {
            LocaleGuard german(QLocale::German);
            EXPECT_EQ(FormatGeneral(c.value), c.german);
        }
        LocaleGuard english(QLocale::English);
        EXPECT_EQ(FormatGeneral(c.value), c.english);
    }
}

TEST(NumbersTest, GeneralFormatReadsBackInBothLocales) {
    const long double values[] = {20, 4.5L, -0.001L, 1e-6L, 1e15L, -123456.789L, 7e-300L, 1e300L};
    for (auto language : {QLocale::German, QLocale::English}) {
        LocaleGuard guard(language);
        for (long double v : values) {
            long double back = 0;
            ASSERT_TRUE(TryParseReal(FormatGeneral(v), back)) << FormatGeneral(v).toStdString();
            EXPECT_NEAR(static_cast<double>(back / v), 1.0, 1e-14);
        }
    }
}

TEST(NumbersTest, RoundsHalvesToEvenForEditorValues) {
    const std::pair<long double, std::int64_t> cases[] = {
        {2.5L, 2},
        {3.5L, 4},
        {-2.5L, -2},
        {-3.5L, -4},
        {0.5L, 0},
        {1.5L, 2},
        {-0.5L, 0},
        {2.4999L, 2},
        {2.5001L, 3},
        {-249.5L, -250},
        {999.5L, 1000},
        {1e30L, std::numeric_limits<std::int64_t>::max()},
        {-1e30L, -std::numeric_limits<std::int64_t>::max()},
        {std::numeric_limits<long double>::quiet_NaN(), 0},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(RoundHalfEven(value), expected) << static_cast<double>(value);
}

TEST(NumbersTest, AddsHalfAndTruncatesForMeterWords) {
    const std::pair<long double, std::int64_t> cases[] = {
        {-3.7L, -3},     {2.5L, 3},
        {-2.5L, -2},     {3.5L, 4},
        {0.49L, 0},      {-0.5L, 0},
        {-0.6L, 0},      {-1.6L, -1},
        {8191.5L, 8192}, {1e30L, std::numeric_limits<std::int64_t>::max()},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(AddHalfTruncate(value), expected) << static_cast<double>(value);
}

}  // namespace
}  // namespace zmt::numbers
