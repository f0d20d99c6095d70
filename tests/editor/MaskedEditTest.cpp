#include "editor/MaskedEdit.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace zmt {
namespace {

// Characters count from the first position; leading blanks are unfilled positions.
TEST(ReadingMask, AdmitsEachPositionAsItsMaskSays) {
    const struct {
        const char* text;
        bool lastDigit;  // "!####9;1; "
        bool firstSign;  // "!#9999;1; "
    } cases[] = {
        {"", true, true},        {"     ", true, true},    {" 0000", true, true},
        {"-1999", true, true},   {"+1234", true, true},    {"-12", true, true},
        {"12-", true, false},    {"1+2", true, false},     {"--12", true, false},
        {"1234-", false, false}, {"-199-", false, false},  {"12 34", false, false},
        {"12 ", false, false},   {"123456", false, false}, {"1a", false, false},
        {"  -12", true, false},  {"    -", false, false},  {"-", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ReadingMaskAdmits(FieldMask::ReadingLastDigit, c.text), c.lastDigit);
        EXPECT_EQ(ReadingMaskAdmits(FieldMask::ReadingFirstSign, c.text), c.firstSign);
    }
}

// Typed characters that the mask refuses are not taken; the rest stay.
TEST(ReadingMask, TypingKeepsOnlyWhatTheMaskAdmits) {
    const struct {
        FieldMask mask;
        const char* typed;
        const char* shown;
    } cases[] = {{FieldMask::ReadingLastDigit, "12-3", "12-3"},
                 {FieldMask::ReadingLastDigit, "1234-5", "12345"},
                 {FieldMask::ReadingLastDigit, "1 2", "12"},
                 {FieldMask::ReadingFirstSign, "-1-2", "-12"},
                 {FieldMask::ReadingFirstSign, "1+2345", "12345"},
                 {FieldMask::DigitsAndSigns, "1 -2", "1 -2"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        QWidget window;
        MaskedEdit edit(QStringLiteral("Anzeige"), c.mask, &window);
        QTest::keyClicks(&edit, c.typed);
        EXPECT_EQ(edit.text(), QString::fromLatin1(c.shown));
    }
}

}  // namespace
}  // namespace zmt
