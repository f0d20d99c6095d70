// A configuration is written only when every word of the image can be computed from it,
// and a file reads the same whatever decimal separator the locale uses.
#include "DeviceTestRig.h"
#include "LocaleGuard.h"
#include "device/WriteCheck.h"
#include "editor/SettingsLines.h"

#include <gtest/gtest.h>

#include <functional>

namespace zmt {
namespace {

using testing::DeviceRig;

TEST(WriteCheck, NamesWhatKeepsAConfigurationFromBeingWritten) {
    struct Case {
        std::function<void(ConfigModel&)> change;
        int language;
        const char* line;  // empty: the configuration can be written
    };
    const auto set = [](Field field, const char* text) {
        return [=](ConfigModel& m) { m.setField(field, text); };
    };
    const Case cases[] = {
        {[](ConfigModel&) {}, 0, ""},
        {set(Field::Skalin1, "4,5x"), 0, "Eingang (1): \"4,5x\" ist keine Zahl"},
        {set(Field::Skalin2, ""), 1, "input (2): \"\" is not a number"},
        {set(Field::Skalout1, "12,5"), 1, "display (1): \"12,5\" is not a whole number"},
        {set(Field::Skalout2, "abc"), 0, "Anzeige (2): \"abc\" ist keine Zahl"},
        {set(Field::RelaisOn, "1e3"), 0, "Grenzwert ON: \"1e3\" ist keine ganze Zahl"},
        {set(Field::RelaisOff, "?"), 1, "limit OFF: \"?\" is not a number"},
        {set(Field::Skalin1, "20"), 0, "keine Berechnung möglich"},      // equal inputs
        {[](ConfigModel& m) { m.DisplayAtZero = 7; }, 1, "math error"},  // stale coefficients
        {[](ConfigModel& m) { m.RangeFullScale = 0; }, 0, "kein Geräte-Typ gewählt"},
        {set(Field::Testin1, "?"), 0, ""},  // the test input is not part of the image
    };
    for (const Case& c : cases) {
        DeviceRig rig;
        c.change(rig.model);
        const WriteCheck check = CheckWritableConfiguration(rig.model);
        const QString line = WriteProblemLine(check, rig.texts, c.language);
        EXPECT_EQ(line, QString::fromUtf8(c.line));
        EXPECT_EQ(check.ok(), line.isEmpty()) << c.line;
    }
}

// 4.5 -> 0, 20 -> 2000, contact 1500/1400, "+", "gwnorm", 20 mA, as saved on a system
// whose decimal separator is `separator`.
QStringList SavedLines(const char* input1) {
    return {"4824-1", "V6.0",  "COM1",  "0",         "1",         input1,  "    0",
            "   20",  " 2000", "   10", "device on", "signal on", " 1500", " 1400",
            "gwnorm", "+",     "0",     "",          "",          ""};
}

TEST(DecimalSeparators, AFileEvaluatesAndWritesTheSameOnEitherLocale) {
    const ImageWords expected{0, 581,   0,     2643,  0,     0,     3661,  3583,
                              0, 10450, 12000, 10000, 12000, 11500, 11400, 1};
    for (const char* input1 : {"  4,5", "  4.5"}) {
        for (const QLocale::Language language : {QLocale::German, QLocale::English}) {
            LocaleGuard locale(language);
            SCOPED_TRACE(std::string(input1) + " on " + QLocale().name().toStdString());
            DeviceRig rig;
            ASSERT_TRUE(ApplySettingsLines(SavedLines(input1), rig.editor, rig.fx).ok);
            rig.editor.UpdateRangeInfo();
            rig.editor.Recalculate(rig.fx);
            EXPECT_DOUBLE_EQ(rig.model.ScaleSlope, 2000 / 15.5);
            EXPECT_EQ(rig.model.DisplayAtZero, -581);
            EXPECT_EQ(rig.model.DisplayAtFullScale, 2000);
            EXPECT_EQ(rig.model.Testout1.trimmed(), "709,");  // code 0: point after the last digit
            EXPECT_EQ(rig.model.kontaktbildGlyph, Glyph::kontaktoffbild);
            ASSERT_TRUE(CheckWritableConfiguration(rig.model).ok());
            ConfigToImage(rig.device, rig.model);
            EXPECT_EQ(rig.device.DeviceImage, expected);
        }
    }
}

}  // namespace
}  // namespace zmt
