#include "EditorFixture.h"
#include "LocaleGuard.h"

namespace zmt {
namespace {

class FieldRulesTest : public EditorFixture {
  protected:
    // 20 mA, 0 -> 0 and 20 -> 2000, test 10, no decimal point.
    void SetUp() override {
        SetScaling("0", "0", "20", "2000", "10");
        model.DecimalPoint = 4;
    }
};

struct InputCase {
    Field field;
    const char* typed;
    const char* partner;  // the other scaling input
    int language;
    const char* result;
    std::vector<const Bilingual*> memo;  // before any line of the evaluation
    int beeps;
};

TEST_F(FieldRulesTest, CleansTheScalingAndTestInputs) {
    const InputCase cases[] = {
        {Field::Skalin1, "4", "20", 0, "    4", {}, 0},
        {Field::Skalin1, "4,5", "20", 0, "  4,5", {}, 0},
        {Field::Skalin1, "4.5", "20", 0, "  4,5", {}, 0},  // written back as the locale writes
        {Field::Skalin1, "25", "10", 0, "   20", {&kOutOfRange}, 1},
        {Field::Skalin1, "-30", "20", 1, "  -20", {&kOutOfRange}, 1},
        {Field::Skalin1, "20", "20", 0, "    0", {&kInputsMustDiffer}, 1},
        {Field::Skalin1, "20", "20", 1, "    0", {&kInputsMustDiffer}, 1},
        {Field::Skalin1, "0", "0", 0, "   20", {&kInputsMustDiffer}, 1},
        {Field::Skalin1, "  0,0", "0", 0, "   20", {&kInputsMustDiffer}, 1},
        {Field::Skalin1, "25", "20", 0, "    0", {&kOutOfRange, &kInputsMustDiffer}, 2},
        {Field::Skalin1, "1e1", "20", 0, "   10", {}, 0},
        {Field::Skalin1, "1e-7", "20", 0, " 1E-7", {}, 0},
        {Field::Skalin2, "12", "0", 0, "   12", {}, 0},
        {Field::Skalin2, "0", "0", 1, "   20", {&kInputsMustDiffer}, 1},
        {Field::Skalin2, "99", "0", 1, "   20", {&kOutOfRange}, 1},
        {Field::Testin1, "7,25", "20", 0, " 7,25", {}, 0},
        {Field::Testin1, "21", "20", 0, "   20", {&kOutOfRange}, 1},
        {Field::Testin1, "-21", "20", 1, "  -20", {&kOutOfRange, &kMinusWarning}, 2},
        {Field::Testin1, "20", "20", 0, "   20", {}, 0},  // no equality check here
        {Field::Testin1, "?", "20", 0, "    0", {&kInputError}, 0},
        {Field::Testin1, "?", "20", 1, "    0", {&kInputError}, 0},
        // 4 -> 0, 0 -> 2000 shows the test input 10 as -3000: a warning with a beep
        {Field::Skalin2, "?", "4", 0, "    0", {&kInputError, &kMinusWarning}, 1},
        {Field::Skalin2, "?", "4", 1, "    0", {&kInputError, &kMinusWarning}, 1},
    };
    for (const auto& c : cases) {
        SetUp();
        session.LanguageIndex = c.language;
        const Field partner = c.field == Field::Skalin2 ? Field::Skalin1 : Field::Skalin2;
        model.setField(partner, c.partner);
        model.setField(c.field, c.typed);
        Effects fx;
        editor.FieldExit(c.field, fx);
        SCOPED_TRACE(std::string("typed '") + c.typed + "' language " + std::to_string(c.language));
        EXPECT_EQ(model.field(c.field), c.result);
        EXPECT_EQ(fx.beeps(), c.beeps);
        QStringList expected;
        for (const Bilingual* line : c.memo) expected << line->in(c.language);
        EXPECT_EQ(Memo(fx).mid(0, expected.size()), expected);
    }
}

TEST_F(FieldRulesTest, InputOneReportsUnreadableEntriesInGerman) {
    session.LanguageIndex = 1;
    model.setField(Field::Skalin1, "abc");
    Effects fx;
    editor.FieldExit(Field::Skalin1, fx);
    EXPECT_EQ(model.Skalin1, "    0");
    EXPECT_EQ(Memo(fx), QStringList{"Eingabefehler"});
}

TEST_F(FieldRulesTest, WritesWithTheSeparatorOfTheLocaleOfTheMoment) {
    LocaleGuard english(QLocale::English);
    for (const char* typed : {"4.5", "4,5"}) {
        model.setField(Field::Skalin1, typed);
        Effects fx;
        editor.FieldExit(Field::Skalin1, fx);
        EXPECT_EQ(model.Skalin1, "  4.5") << typed;
        EXPECT_DOUBLE_EQ(model.ScaleSlope, 2000 / 15.5) << typed;
    }
}

TEST_F(FieldRulesTest, RoundsAndBoundsTheDisplayEntries) {
    struct Case {
        Field field;
        const char* typed;
        const char* result;
        bool inputError;
    };
    const Case cases[] = {
        {Field::Skalout1, "12345", " 9999", false},  // silently
        {Field::Skalout1, "-5000", "-5000", false},  // no lower bound
        {Field::Skalout2, "2,5", "    2", false},         {Field::Skalout2, "3,5", "    4", false},
        {Field::Skalout2, "-2,5", "   -2", false},        {Field::Skalout1, "+12", "   12", false},
        {Field::Skalout1, "abc", "    0", true},          {Field::Skalout2, "1e3", " 1000", false},
        {Field::Skalout1, "-1e20", "-2147483648", false},  // stays a readable integer
    };
    for (const auto& c : cases) {
        SetUp();
        session.LanguageIndex = 1;
        model.setField(c.field, c.typed);
        Effects fx;
        try {
            editor.FieldExit(c.field, fx);
        } catch (const ConversionError& e) {
            ADD_FAILURE() << e.what();
        }
        EXPECT_EQ(model.field(c.field), c.result) << c.typed;
        EXPECT_EQ(Memo(fx).contains(kInputError.english), c.inputError) << c.typed;
    }
}

TEST_F(FieldRulesTest, KeepsTheThresholdsApartByMode) {
    struct Case {
        const char* mode;
        const char *on, *off;
        Field edited;
        const char* typed;
        const char *onAfter, *offAfter;
    };
    const Case cases[] = {
        // OFF at 800: ON 500 lowers OFF to 500; OFF 800 afterwards raises ON to 800
        {"gwnorm", "  800", "  800", Field::RelaisOn, "500", "  500", "  500"},
        {"gwnorm", "  500", "  500", Field::RelaisOff, "800", "  800", "  800"},
        {"gwnorm", " 1000", "  200", Field::RelaisOn, "500", "  500", "  200"},
        {"gwnorm", " 1000", "  200", Field::RelaisOff, "500", " 1000", "  500"},
        {"gwinv", "  100", "  900", Field::RelaisOn, "300", "  300", "  300"},
        {"gwinv", "  100", "  900", Field::RelaisOff, "300", "  300", "  300"},
        {"gwno", "  100", "  900", Field::RelaisOn, "300", "  300", "  900"},
        {"gwno", "  100", "  900", Field::RelaisOff, "3000", "  100", " 3000"},
        {"gwno", "  100", "  900", Field::RelaisOn, "12000", " 9999", "  900"},
        {"gwno", "  100", "  900", Field::RelaisOn, "-5000", "-1999", "  900"},
        {"gwno", "  100", "  900", Field::RelaisOn, "abc", "    0", "  900"},
        {"gwno", "  100", "  900", Field::RelaisOn, "2,5", "    2", "  900"},
        {"gwno", "  100", "  900", Field::RelaisOff, "3,5", "  100", "    4"},
        {"gwnorm", "  100", "  900", Field::RelaisOn, "2,5", "    2", "    2"},
        {"gwnorm", " 2000", "  abc", Field::RelaisOn, "700", "  700", "  700"},
    };
    for (const auto& c : cases) {
        SetUp();
        model.LimitMode = c.mode;
        model.RelaisOn = c.on;
        model.RelaisOff = c.off;
        model.setField(c.edited, c.typed);
        Effects fx;
        editor.FieldExit(c.edited, fx);
        SCOPED_TRACE(std::string(c.mode) + " typed " + c.typed);
        EXPECT_EQ(model.RelaisOn, c.onAfter);
        EXPECT_EQ(model.RelaisOff, c.offAfter);
        EXPECT_TRUE(Memo(fx).isEmpty());
    }
}

TEST_F(FieldRulesTest, ThresholdExitClearsTheMemoAfterTheEvaluation) {
    model.setField(Field::Testin1, "-25");  // evaluates to -2500: a warning with a beep
    model.LimitMode = "gwno";
    model.setField(Field::RelaisOn, "100");
    Effects fx;
    editor.FieldExit(Field::RelaisOn, fx);
    EXPECT_EQ(fx.beeps(), 1);
    ASSERT_FALSE(fx.memOps().empty());
    EXPECT_TRUE(fx.memOps().back().clear);
    EXPECT_TRUE(Memo(fx).isEmpty());
}

TEST_F(FieldRulesTest, ChoosingADeviceTypeSetsInputTwoAndHints) {
    const char* const inputTwo[] = {"   10", "   20", "  100", "    1", "   10", "   50"};
    const char* const units[] = {"mA ", "mA ", "mA ", "V ", "V ", "V "};
    for (int index = 0; index < 6; ++index) {
        SetUp();
        session.LanguageIndex = index % 2;
        Effects fx;
        editor.SelectRangeChange(index, fx);
        EXPECT_EQ(model.SelectRange, index);
        EXPECT_EQ(model.Skalin2, inputTwo[index]);
        EXPECT_EQ(model.UnitText, units[index]);
        EXPECT_EQ(model.DisplayAtFullScale, 2000);
        EXPECT_EQ(Memo(fx), (QStringList{kHint.in(index % 2), kTypeIsOnlyAnAid.in(index % 2)}));
    }
}

TEST_F(FieldRulesTest, ChoosingTheTypeOfAnEqualInputIsAMathError) {
    model.setField(Field::Skalin1, "20");
    model.setField(Field::Skalin2, "5");
    Effects fx;
    editor.SelectRangeChange(1, fx);
    EXPECT_EQ(model.Skalin2, "   20");
    EXPECT_EQ(Memo(fx), (QStringList{kMathError.german, kHint.german, kTypeIsOnlyAnAid.german}));
}

TEST_F(FieldRulesTest, NoTypeKeepsUnitAndFullScale) {
    Effects fx;
    editor.SelectRangeChange(5, fx);
    editor.SelectRangeChange(-1, fx);
    EXPECT_EQ(model.SelectRange, -1);
    EXPECT_EQ(model.UnitText, "V ");
    EXPECT_EQ(model.RangeFullScale, 50);
    EXPECT_EQ(model.Skalin2, "   50");
}

// The unit labels and ComInfo keep their design captions until the range is first
// applied; from then on they show the unit and the port name, also when these are empty.
TEST_F(FieldRulesTest, RangeInfoPutsUnitAndPortOnTheCaptionsEvenWhenEmpty) {
    struct Case {
        int deviceType;
        const char* port;
        const char* unitCaption;
        const char* portCaption;
    };
    const Case cases[] = {
        {-1, "", "", ""}, {-1, "COM3", "", "COM3"}, {3, "", "V ", ""}, {0, "COM2", "mA ", "COM2"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.deviceType);
        model = {};
        session = {};
        EXPECT_EQ(model.UnitCaption, "mA");
        EXPECT_EQ(session.ComInfoCaption, "COM1");
        model.SelectRange = c.deviceType;
        session.ComPortName = c.port;
        editor.UpdateRangeInfo();
        EXPECT_EQ(model.UnitCaption, c.unitCaption);
        EXPECT_EQ(session.ComInfoCaption, c.portCaption);
    }
}

TEST_F(FieldRulesTest, CyclesTheLimitModeWithItsMessages) {
    struct Step {
        const char* modeAfter;
        const char *onAfter, *offAfter;
        std::vector<QString> memo;
    };
    model.RelaisOn = " 1500";
    model.RelaisOff = " -250";
    model.DecimalPoint = 2;
    const Step steps[] = {
        {"gwinv",
         " -250",
         " 1500",
         {kLimitHeading.german, QString(kOnAtOrBelow.german) + "-2,50",
          QString(kOffAtOrAbove.german) + "15,00"}},
        {"gwno", " -250", " 1500", {kLimitHeading.german, kNotUsed.german}},
        {"gwnorm",
         " 1500",
         " -250",
         {kLimitHeading.german, QString(kOnAtOrAbove.german) + "15,00",
          QString(kOffAtOrBelow.german) + "-2,50"}},
    };
    for (const auto& step : steps) {
        Effects fx;
        editor.GrenzwertartClick(fx);
        EXPECT_EQ(model.LimitMode, step.modeAfter);
        EXPECT_EQ(model.RelaisOn, step.onAfter);
        EXPECT_EQ(model.RelaisOff, step.offAfter);
        EXPECT_EQ(Memo(fx), QStringList(step.memo.begin(), step.memo.end()));
        EXPECT_TRUE(fx.memOps().front().clear);
    }
}

// The messages keep the values they were written with, even when the evaluation
// puts the thresholds back into the order of the new mode.
TEST_F(FieldRulesTest, TheCycleToNormalMayExchangeTwice) {
    session.LanguageIndex = 1;
    model.LimitMode = "gwno";
    model.RelaisOn = " 1500";
    model.RelaisOff = " 1000";
    Effects fx;
    editor.GrenzwertartClick(fx);
    EXPECT_EQ(Memo(fx), (QStringList{kLimitHeading.english, QString(kOnAtOrAbove.english) + "1000",
                                     QString(kOffAtOrBelow.english) + "1500"}));
    EXPECT_EQ(model.RelaisOn, " 1500");
    EXPECT_EQ(model.RelaisOff, " 1000");
    EXPECT_EQ(model.GrenzwertartGlyph, Glyph::gwnorm);
}

TEST_F(FieldRulesTest, FormatsLoadedThresholdsLiterally) {
    model.LimitMode = "gwnorm";
    model.RelaisOn = " 12,5";  // only a file can hold a fraction here
    model.RelaisOff = "    0";
    model.DecimalPoint = 1;
    Effects fx;
    editor.GrenzwertartClick(fx);
    EXPECT_EQ(Memo(fx).value(1), QString(kOnAtOrBelow.german) + "0,0");
    EXPECT_EQ(Memo(fx).value(2), QString(kOffAtOrAbove.german) + "12,,5");
}

TEST_F(FieldRulesTest, TogglesThePolarity) {
    const std::pair<const char*, const char*> cases[] = {
        {"+ / -", "+"}, {"+", "+ / -"}, {"-", "+ / -"}, {"", "+ / -"}};
    model.setField(Field::Testin1, "-5");
    for (const auto& [before, after] : cases) {
        model.polaritaet = before;
        Effects fx;
        editor.polaritaetClick(fx);
        EXPECT_EQ(model.polaritaet, after);
        EXPECT_EQ(model.Testout1, QString(after) == "+" ? "     0" : "  -500");
    }
}

TEST_F(FieldRulesTest, ChoosesTheDecimalPoint) {
    const char* const radios[] = {"DP4", "DP3", "DP2", "DP1", "DP0"};
    const char* const shown[] = {" 1000,", " 100,0", " 10,00", " 1,000", "  1000"};
    for (int code = 0; code <= 4; ++code) {
        Effects fx;
        editor.DecimalPointChosen(code, fx);
        EXPECT_EQ(model.DecimalPoint, code);
        EXPECT_EQ(model.Testout1, shown[code]);
        EXPECT_EQ(ConfigEditor::DecimalPointRadio(code), radios[code]);
    }
    EXPECT_EQ(ConfigEditor::DecimalPointRadio(5), "");
    EXPECT_EQ(ConfigEditor::DecimalPointRadio(-1), "");
}

TEST_F(FieldRulesTest, FirstStartDefaultsGiveTheWorkedExample) {
    ConfigModel fresh;
    ConfigEditor firstStart(fresh, session, texts);
    Effects fx;
    firstStart.ApplyFirstStartDefaults(fx);
    EXPECT_EQ(fresh.SelectRange, 1);
    EXPECT_EQ(fresh.DecimalPoint, 4);
    EXPECT_EQ(fresh.UnitText, "mA ");
    EXPECT_EQ(fresh.Skalin2, "   20");
    EXPECT_EQ(fresh.Testin1, "   10");
    EXPECT_EQ(fresh.Testout1, "  1000");
    EXPECT_DOUBLE_EQ(fresh.ScaleSlope, 100);
    EXPECT_TRUE(session.PowerOn);
    EXPECT_TRUE(session.SignalOn);
    EXPECT_TRUE(Memo(fx).isEmpty());
}

}  // namespace
}  // namespace zmt
