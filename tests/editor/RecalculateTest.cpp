#include "EditorFixture.h"
#include "LocaleGuard.h"
#include "editor/Numbers.h"

namespace zmt {
namespace {

class RecalculateTest : public EditorFixture {};

TEST_F(RecalculateTest, DerivesTheCoefficientsOfTheWorkedExamples) {
    struct Case {
        const char *in1, *out1, *in2, *out2;
        int deviceType;
        double slope;
        std::int32_t offset, atFullScale;
        double spanPer2000;
    };
    const Case cases[] = {
        {"0", "0", "20", "2000", 1, 100, 0, 2000, 1.0},
        {"4", "0", "20", "1000", 1, 62.5, -250, 1000, 0.625},
        {"4", "0", "20", "1000", 4, 62.5, -250, 375, 0.3125},  // 10 V: the full scale counts
        {"20", "2000", "0", "0", 1, 100, 0, 2000, 1.0},        // points given in reverse
        {"0", "-1999", "10", "9999", 0, 1199.8, -1999, 9999, 5.999},
        {"1", "0", "3", "1", 5, 0.5, -0, 25, 0.0125},  // offset -0.5 rounds to the even 0
        {"1", "0", "3", "3", 5, 1.5, -2, 73, 0.0375},  // offset -1.5 rounds to the even -2
    };
    for (const auto& c : cases) {
        SetScaling(c.in1, c.out1, c.in2, c.out2, "0", c.deviceType);
        Effects fx;
        editor.Recalculate(fx);
        SCOPED_TRACE(std::string(c.in1) + " -> " + c.out1 + ", " + c.in2 + " -> " + c.out2);
        EXPECT_DOUBLE_EQ(model.ScaleSlope, c.slope);
        EXPECT_EQ(model.ScaleOffset, c.offset);
        EXPECT_EQ(model.DisplayAtZero, c.offset);
        EXPECT_EQ(model.DisplayAtFullScale, c.atFullScale);
        EXPECT_DOUBLE_EQ(model.SpanPer2000, c.spanPer2000);
        EXPECT_TRUE(Memo(fx).isEmpty());
    }
}

TEST_F(RecalculateTest, ShowsTheTestValueWithClampsAndWarnings) {
    struct Case {
        const char *in1, *out1, *in2, *out2, *test;
        const char* polarity;
        int decimalPoint;
        const char* testout;
        bool warning;
    };
    const Case cases[] = {
        {"0", "0", "20", "2000", "10", "+ / -", 4, "  1000", false},
        {"0", "0", "20", "2000", "10", "+ / -", 2, " 10,00", false},
        {"4", "0", "20", "1000", "12", "+ / -", 4, "   500", false},
        {"4", "0", "20", "1000", "12", "+ / -", 3, " 0,500", false},
        {"0", "0", "20", "2000", "100", "+ / -", 4, "  9999", false},  // 10000 clamps
        {"0", "0", "20", "2000", "-25", "+ / -", 4, " -2500", true},
        {"0", "0", "20", "2000", "-25", "+", 4, "     0", true},  // warned before the clamp
        {"0", "0", "20", "2000", "-19,99", "+ / -", 4, " -1999", false},
        {"0", "0", "20", "2000", "-19,996", "+ / -", 4, " -2000", true},
        {"0", "0", "20", "2000", "-5", "+", 4, "     0", false},
        {"0", "-2000", "20", "2000", "10", "+ / -", 4, "     0", true},  // display (1) alone
        {"0", "0", "20", "-2000", "0", "+ / -", 4, "     0", true},      // display (2) alone
        {"0", "0", "20", "2000", "-0,3", "+ / -", 1, "  -3,0", false},
        {"0", "0", "20", "2000", "0,05", "+ / -", 0, "    5,", false},
        {"0", "0", "20", "20", "2,5", "+ / -", 4, "     2", false},  // 2.5 to the even 2
        {"0", "0", "20", "20", "3,5", "+ / -", 4, "     4", false},  // 3.5 to the even 4
        {"0", "0", "2", "-9999", "-2", "+ / -", 1, " 999,9", true},
        {"0", "0", "0,001", "-9999", "20", "+ / -", 1, "-19998000,0", true},  // kept whole
    };
    for (const auto& c : cases) {
        SetScaling(c.in1, c.out1, c.in2, c.out2, c.test);
        model.polaritaet = c.polarity;
        model.DecimalPoint = c.decimalPoint;
        Effects fx;
        editor.Recalculate(fx);
        SCOPED_TRACE(std::string("test input ") + c.test);
        EXPECT_EQ(model.Testout1, c.testout);
        EXPECT_EQ(fx.beeps(), c.warning ? 1 : 0);
        EXPECT_EQ(Memo(fx), c.warning ? QStringList{kMinusWarning.german} : QStringList{});
    }
}

TEST_F(RecalculateTest, ComparesTheContactWithTheMagnitude) {
    struct Case {
        const char* mode;
        const char* on;
        const char* test;  // 0 -> 0, 20 -> 2000: the display is 100 times the input
        Glyph contact, modeGlyph;
    };
    const Case cases[] = {
        {"gwnorm", "  100", "-5", Glyph::kontaktonbild, Glyph::gwnorm},  // |-500| >= 100
        {"gwnorm", " 1000", "10", Glyph::kontaktonbild, Glyph::gwnorm},  // equal closes
        {"gwnorm", " 1001", "10", Glyph::kontaktoffbild, Glyph::gwnorm},
        {"gwinv", " 1000", "10", Glyph::kontaktonbild, Glyph::gwinv},
        {"gwinv", "  100", "-5", Glyph::kontaktoffbild, Glyph::gwinv},
        {"gwinv", "  999", "10", Glyph::kontaktoffbild, Glyph::gwinv},
        {"gwno", "  100", "10", Glyph::kontaktnobild, Glyph::gwno},
        {"GWNORM", "  100", "10", Glyph::None, Glyph::None},  // not a mode: nothing changes
    };
    for (const auto& c : cases) {
        SetScaling("0", "0", "20", "2000", c.test);
        model.LimitMode = c.mode;
        model.RelaisOn = c.on;
        model.RelaisOff = c.on;
        model.kontaktbildGlyph = Glyph::None;
        model.GrenzwertartGlyph = Glyph::None;
        Effects fx;
        editor.Recalculate(fx);
        SCOPED_TRACE(std::string(c.mode) + " ON " + c.on + " test " + c.test);
        EXPECT_EQ(model.kontaktbildGlyph, c.contact);
        EXPECT_EQ(model.GrenzwertartGlyph, c.modeGlyph);
    }
}

TEST_F(RecalculateTest, KeepsTheThresholdsInTheOrderOfTheMode) {
    struct Case {
        const char *mode, *on, *off, *onAfter, *offAfter;
    };
    const Case cases[] = {
        {"gwnorm", "  100", "  500", "  500", "  100"},
        {"gwnorm", "  500", "  100", "  500", "  100"},
        {"gwnorm", " -200", " -100", " -100", " -200"},
        {"gwinv", "  500", "  100", "  100", "  500"},
        {"gwinv", "  100", "  500", "  100", "  500"},
        {"gwno", "  100", "  500", "  100", "  500"},
        {"gwno", "  500", "  100", "  500", "  100"},
    };
    for (const auto& c : cases) {
        SetScaling("0", "0", "20", "2000", "10");
        model.LimitMode = c.mode;
        model.RelaisOn = c.on;
        model.RelaisOff = c.off;
        Effects fx;
        editor.Recalculate(fx);
        EXPECT_EQ(model.RelaisOn, c.onAfter) << c.mode << c.on << c.off;
        EXPECT_EQ(model.RelaisOff, c.offAfter) << c.mode << c.on << c.off;
    }
}

// A failing coefficient step keeps what the steps before it stored.
TEST_F(RecalculateTest, UpdatesCoefficientsPartlyOnFailure) {
    struct Case {
        const char *in1, *out1, *in2, *out2;
        double slope;
        std::int32_t offset, atFullScale;
    };
    // Each case starts from 0 -> 0, 20 -> 2000 (slope 100, offset 0, full scale 2000)
    // with the previous offset and full scale set apart to see what was kept.
    const Case cases[] = {
        {"20", "0", "20", "2000", 2000, 7, 77},            // equal inputs: step 1 stays
        {"0", "0", "0", "0", 0, 7, 77},                    // zero by zero
        {"abc", "0", "20", "2000", 2000, 7, 77},           // unreadable input (1)
        {"0", "0", "1E-305", "9999", 9999, 7, 77},         // slope beyond a double
        {"1", "0", "1,0000001", "9999", 9.999e10, 7, 77},  // offset beyond an int32
        {"0", "0", "1E-10", "2000", 2e13, 0, 77},          // full scale beyond an int32
        {"1E-10", "0", "3E-10", "2000", 1e13, -1000, 77},
    };
    for (const auto& c : cases) {
        SetScaling(c.in1, c.out1, c.in2, c.out2, "0");
        model.ScaleSlope = 100;
        model.ScaleOffset = model.DisplayAtZero = 7;
        model.DisplayAtFullScale = 77;
        model.SpanPer2000 = 0.5;
        Effects fx;
        editor.Recalculate(fx);
        SCOPED_TRACE(std::string(c.in1) + " -> " + c.out1 + ", " + c.in2 + " -> " + c.out2);
        EXPECT_NEAR(model.ScaleSlope, c.slope, std::abs(c.slope) * 1e-9);
        EXPECT_EQ(model.ScaleOffset, c.offset);
        EXPECT_EQ(model.DisplayAtZero, c.offset);
        EXPECT_EQ(model.DisplayAtFullScale, c.atFullScale);
        EXPECT_EQ(model.SpanPer2000, 0.5);
        EXPECT_EQ(Memo(fx), QStringList{kMathError.german});
    }
}

TEST_F(RecalculateTest, MathErrorComesInTheCurrentLanguageAndEvaluationGoesOn) {
    SetScaling("0", "0", "20", "2000", "10");
    Effects first;
    editor.Recalculate(first);
    session.LanguageIndex = 1;
    model.setField(Field::Skalin1, "20");
    Effects fx;
    editor.Recalculate(fx);
    EXPECT_EQ(Memo(fx), QStringList{kMathError.english});
    EXPECT_EQ(model.Testout1, " 9999,");  // 10 * 2000 with the kept offset 0, code 0
}

// Texts that only a loaded file can put into the fields stop the evaluation at the step
// that reads them; what was collected before stays.
TEST_F(RecalculateTest, UnreadableLoadedTextsRaiseConversionErrors) {
    struct Case {
        Field field;
        const char* text;
        const char* mode;
        const char* test;
        const char* error;  // nullptr: the evaluation never reads the text
        bool mathError;
    };
    const Case cases[] = {
        {Field::Testin1, "abc", "gwnorm", nullptr, "'  abc' is not a valid floating point value",
         false},
        {Field::Skalout1, "x", "gwnorm", "10", "'    x' is not a valid integer value", true},
        {Field::Skalout2, "1,5", "gwnorm", "10", "'  1,5' is not a valid integer value", true},
        {Field::Skalout1, "x", "gwnorm", "-25", nullptr, true},  // warned before reading it
        {Field::RelaisOn, "on", "gwnorm", "10", "'   on' is not a valid floating point value",
         false},
        {Field::RelaisOn, "on", "gwinv", "10", "'   on' is not a valid floating point value",
         false},
        {Field::RelaisOn, "on", "gwno", "10", nullptr, false},
        {Field::RelaisOff, "off", "gwnorm", "10", "'  off' is not a valid floating point value",
         false},
        {Field::RelaisOff, "off", "gwno", "10", nullptr, false},
    };
    for (const auto& c : cases) {
        SetScaling("0", "0", "20", "2000", c.test ? c.test : "abc");
        model.LimitMode = c.mode;
        model.RelaisOn = model.RelaisOff = " 2000";
        model.setField(c.field, c.text);
        Effects fx;
        SCOPED_TRACE(std::string(c.text) + " in " + c.mode);
        try {
            editor.Recalculate(fx);
            EXPECT_EQ(c.error, nullptr);
        } catch (const ConversionError& e) {
            ASSERT_NE(c.error, nullptr);
            EXPECT_STREQ(e.what(), c.error);
        }
        EXPECT_EQ(Memo(fx).contains(kMathError.german), c.mathError);
    }
}

TEST_F(RecalculateTest, FormatsWithTheDecimalComma) {
    struct Case {
        std::int64_t magnitude;
        int decimalPoint;
        const char* text;
    };
    const Case cases[] = {
        {5, 2, "0,05"},     {5, 3, "0,005"},      {5, 0, "5,"},       {5, 4, "5"},
        {5, 1, "0,5"},      {1234, 3, "1,234"},   {1234, 2, "12,34"}, {1234, 1, "123,4"},
        {1234, 0, "1234,"}, {1234, 4, "1234"},    {0, 3, "0,000"},    {0, 4, "0"},
        {9999, 3, "9,999"}, {12345, 1, "1234,5"}, {-5, 2, "0,05"},  // a magnitude carries no sign
        {5, 9, "5"},  // codes only a loaded file holds get no comma
        {5, -1, "5"},
    };
    LocaleGuard english(QLocale::English);  // the comma is always a comma
    for (const auto& c : cases)
        EXPECT_EQ(ConfigEditor::FormatWithDecimalPoint(c.magnitude, c.decimalPoint), c.text)
            << c.magnitude << " code " << c.decimalPoint;
}

}  // namespace
}  // namespace zmt
