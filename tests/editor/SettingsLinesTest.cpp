#include "EditorFixture.h"
#include "editor/SettingsLines.h"

#include <QRandomGenerator>
#include <QRegularExpression>

namespace zmt {
namespace {

class SettingsLinesTest : public EditorFixture {
  protected:
    // A valid configuration file saved on port COM2 in English.
    QStringList ValidLines() const {
        return {"4824-1", "V6.0",  "COM2",  "2",          "3",         "    1", "  -50",
                "    9",  " 1000", "    5", "device off", "signal on", "  300", "  700",
                "gwinv",  "+",     "1",     "",           "",          ""};
    }

    SettingsResult Apply(const QStringList& lines, Effects& fx) {
        return ApplySettingsLines(lines, editor, fx);
    }
};

TEST_F(SettingsLinesTest, BuildsTheFirstStartFile) {
    Effects fx;
    editor.ApplyFirstStartDefaults(fx);
    session.ComPortName = "COM1";
    const QStringList expected = {"4824-1",    "V6.0",      "COM1",  "4",     "1",
                                  "    0",     "    0",     "   20", " 2000", "   10",
                                  "device on", "signal on", " 2000", " 2000", "gwnorm",
                                  "+ / -",     "0",         "",      "",      ""};
    EXPECT_EQ(BuildSettingsLines(model, session), expected);
}

TEST_F(SettingsLinesTest, BuildsEachLineFromItsValue) {
    struct Case {
        int line;
        std::function<void(ConfigModel&, SessionState&)> change;
        const char* text;
    };
    const Case cases[] = {
        // The number names the port that is opened, whatever the name says.
        {2, [](auto&, auto& s) { s.ComPortName = "COM3", s.ComPortNumber = 2; }, "COM2"},
        {3, [](auto& m, auto&) { m.DecimalPoint = 0; }, "0"},
        {4, [](auto& m, auto&) { m.SelectRange = -1; }, "-1"},
        {4, [](auto& m, auto&) { m.SelectRange = 5; }, "5"},
        {5, [](auto& m, auto&) { m.Skalin1 = "  4,5"; }, "  4,5"},
        {10, [](auto&, auto& s) { s.PowerOn = false; }, "device off"},
        {10, [](auto&, auto& s) { s.PowerOn = true; }, "device on"},
        {11, [](auto&, auto& s) { s.SignalOn = false; }, "signal off"},
        {11, [](auto&, auto& s) { s.SignalOn = true; }, "signal on"},
        {14, [](auto& m, auto&) { m.LimitMode = "gwno"; }, "gwno"},
        {15, [](auto& m, auto&) { m.polaritaet = "+"; }, "+"},
        {16, [](auto&, auto& s) { s.LanguageIndex = 1; }, "1"},
    };
    for (const auto& c : cases) {
        ConfigModel m;
        SessionState s;
        c.change(m, s);
        const QStringList lines = BuildSettingsLines(m, s);
        ASSERT_EQ(lines.size(), SettingsLineCount);
        EXPECT_EQ(lines[c.line], c.text) << "line " << c.line;
    }
}

TEST_F(SettingsLinesTest, AppliesAValidFile) {
    Effects fx;
    ASSERT_TRUE(Apply(ValidLines(), fx).ok);
    EXPECT_EQ(session.ComPortName, "COM2");
    EXPECT_EQ(session.ComPortNumber, 2);
    EXPECT_EQ(session.CheckedComItem, 2);
    EXPECT_EQ(model.DecimalPoint, 2);
    EXPECT_EQ(model.SelectRange, 3);
    EXPECT_EQ(model.Skalin1, "    1");
    EXPECT_EQ(model.Skalout1, "  -50");
    EXPECT_EQ(model.Skalin2, "    9");
    EXPECT_EQ(model.Skalout2, " 1000");
    EXPECT_EQ(model.Testin1, "    5");
    EXPECT_FALSE(session.PowerOn);
    EXPECT_TRUE(session.SignalOn);
    EXPECT_EQ(model.RelaisOn, "  300");
    EXPECT_EQ(model.RelaisOff, "  700");
    EXPECT_EQ(model.LimitMode, "gwinv");
    EXPECT_EQ(model.polaritaet, "+");
    EXPECT_EQ(session.LanguageIndex, 1);
    EXPECT_EQ(model.GrenzwertartGlyph, Glyph::gwinv);
    // The decimal point radio evaluated the file: 1 -> -50, 9 -> 1000 at 5 gives 475.
    EXPECT_EQ(model.Testout1, "  4,75");
    // The range itself is applied by the caller.
    EXPECT_EQ(model.UnitText, "");
}

TEST_F(SettingsLinesTest, ReadsLinesExactly) {
    struct Case {
        int line;
        const char* text;
        std::function<QString(const ConfigModel&, const SessionState&)> read;
        const char* value;
    };
    auto mode = [](const ConfigModel& m, const SessionState&) { return m.LimitMode; };
    auto polarity = [](const ConfigModel& m, const SessionState&) { return m.polaritaet; };
    auto language = [](const ConfigModel&, const SessionState& s) {
        return QString::number(s.LanguageIndex);
    };
    auto power = [](const ConfigModel&, const SessionState& s) {
        return QString::number(s.PowerOn);
    };
    auto signal = [](const ConfigModel&, const SessionState& s) {
        return QString::number(s.SignalOn);
    };
    auto input1 = [](const ConfigModel& m, const SessionState&) { return m.Skalin1; };
    const Case cases[] = {
        {14, "gwinv", mode, "gwinv"},     {14, "GWINV", mode, "gwnorm"},
        {14, "", mode, "gwnorm"},         {14, "gwno", mode, "gwno"},
        {14, " gwno", mode, "gwnorm"},    {15, "+", polarity, "+"},
        {15, "+ / -", polarity, "+ / -"}, {15, "-", polarity, "+ / -"},
        {15, "", polarity, "+ / -"},      {15, "+ ", polarity, "+ / -"},
        {16, "1", language, "1"},         {16, "2", language, "0"},
        {16, "0", language, "0"},         {16, "", language, "0"},
        {16, " 1", language, "0"},        {10, "device off", power, "0"},
        {10, "device on", power, "1"},    {10, "", power, "1"},
        {10, "Device off", power, "1"},   {11, "signal off", signal, "0"},
        {11, "anything", signal, "1"},    {5, "20", input1, "   20"},
        {5, "123456", input1, "123456"},  {5, "abc  ", input1, "abc  "},
    };
    for (const auto& c : cases) {
        QStringList lines = ValidLines();
        lines[c.line] = c.text;
        Effects fx;
        ASSERT_TRUE(Apply(lines, fx).ok);
        EXPECT_EQ(c.read(model, session), c.value) << "line " << c.line << " '" << c.text << "'";
    }
}

TEST_F(SettingsLinesTest, NumbersThePortFromItsName) {
    struct Case {
        const char* name;
        int number;
        int checkedItem;
    };
    const Case cases[] = {
        {"COM1", 1, 1}, {"COM2", 2, 2}, {"COM3", 3, 3}, {"COM4", 4, 4},
        {"COM5", 1, 3}, {"com2", 1, 3}, {"", 1, 3},     {"COM2 ", 1, 3},
    };
    for (const auto& c : cases) {
        session.CheckedComItem = 3;
        session.ComPortNumber = 4;
        QStringList lines = ValidLines();
        lines[2] = c.name;
        Effects fx;
        ASSERT_TRUE(Apply(lines, fx).ok);
        EXPECT_EQ(session.ComPortName, c.name);
        EXPECT_EQ(session.ComPortNumber, c.number) << c.name;
        EXPECT_EQ(session.CheckedComItem, c.checkedItem) << c.name;
    }
}

TEST_F(SettingsLinesTest, EvaluatesOnlyThroughAnExistingRadio) {
    struct Case {
        const char* code;
        bool evaluated;
    };
    const Case cases[] = {{"0", true}, {"4", true}, {" 3", true}, {"5", false}, {"-1", false}};
    for (const auto& c : cases) {
        model.Testout1 = "untouched";
        QStringList lines = ValidLines();
        lines[3] = c.code;
        Effects fx;
        ASSERT_TRUE(Apply(lines, fx).ok);
        EXPECT_EQ(model.DecimalPoint, QString(c.code).trimmed().toInt());
        EXPECT_EQ(model.Testout1 != "untouched", c.evaluated) << c.code;
    }
}

TEST_F(SettingsLinesTest, NoDeviceTypeSelectsNone) {
    Effects fx;
    editor.SelectRangeChange(4, fx);
    QStringList lines = ValidLines();
    lines[4] = "-1";
    ASSERT_TRUE(Apply(lines, fx).ok);
    EXPECT_EQ(model.SelectRange, -1);
    editor.UpdateRangeInfo();
    EXPECT_EQ(model.UnitText, "V ");
    EXPECT_EQ(model.RangeFullScale, 10);
}

TEST_F(SettingsLinesTest, RejectsABadFileWholeAndNamesTheLine) {
    struct Case {
        std::function<void(QStringList&)> spoil;
        const char* message;
    };
    const Case cases[] = {
        {[](QStringList& l) { l = l.mid(0, 16); },
         "Settings file has 16 lines; at least 17 are needed"},
        {[](QStringList& l) { l.clear(); }, "Settings file has 0 lines; at least 17 are needed"},
        {[](QStringList& l) { l[3] = "x"; }, "Settings line 3: 'x' is not an integer"},
        {[](QStringList& l) { l[3] = ""; }, "Settings line 3: '' is not an integer"},
        {[](QStringList& l) { l[3] = "2,0"; }, "Settings line 3: '2,0' is not an integer"},
        {[](QStringList& l) { l[4] = "9"; }, "Settings line 4: '9' is not a device type (-1 to 5)"},
        {[](QStringList& l) { l[4] = "6"; }, "Settings line 4: '6' is not a device type (-1 to 5)"},
        {[](QStringList& l) { l[4] = "-2"; },
         "Settings line 4: '-2' is not a device type (-1 to 5)"},
        {[](QStringList& l) { l[4] = "1 "; }, "Settings line 4: '1 ' is not an integer"},
        {[](QStringList& l) { l[4] = "20 mA"; }, "Settings line 4: '20 mA' is not an integer"},
    };
    for (const auto& c : cases) {
        Effects setup;
        editor.ApplyFirstStartDefaults(setup);
        const ConfigModel modelBefore = model;
        const SessionState sessionBefore = session;
        QStringList lines = ValidLines();
        c.spoil(lines);
        Effects fx;
        const SettingsResult result = Apply(lines, fx);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message(texts, 1), c.message);
        EXPECT_EQ(CheckSettingsLines(lines).message(texts, 1), c.message);
        EXPECT_FALSE(result.message(texts, 0).isEmpty());
        EXPECT_NE(result.message(texts, 0), result.message(texts, 1));
        EXPECT_TRUE(model == modelBefore) << c.message;
        EXPECT_TRUE(session == sessionBefore) << c.message;
        EXPECT_TRUE(fx.memOps().empty());
    }
}

TEST_F(SettingsLinesTest, EqualInputsLoadWithAMathError) {
    Effects first;
    editor.ApplyFirstStartDefaults(first);
    QStringList lines = ValidLines();
    lines[5] = lines[7] = "    9";
    lines[16] = "0";
    Effects fx;
    ASSERT_TRUE(Apply(lines, fx).ok);
    EXPECT_TRUE(Memo(fx).contains(kMathError.german));
    EXPECT_EQ(model.ScaleOffset, 0);  // from the first start
}

TEST_F(SettingsLinesTest, AnUnreadableFieldStopsOnlyTheEvaluation) {
    QStringList lines = ValidLines();
    lines[9] = "abc";
    Effects fx;
    EXPECT_THROW(Apply(lines, fx), ConversionError);
    EXPECT_EQ(model.Testin1, "  abc");
    EXPECT_EQ(model.LimitMode, "gwinv");
    EXPECT_EQ(model.GrenzwertartGlyph, Glyph::gwinv);
    EXPECT_EQ(session.ComPortNumber, 2);
    EXPECT_EQ(session.CheckedComItem, 2);
}

// A load tries the lines first: a field that the evaluation cannot read refuses the file
// before anything is applied, with the file named in the reason.
TEST_F(SettingsLinesTest, TryingTheLinesChangesNothingAndFindsWhatCannotBeEvaluated) {
    struct Case {
        int line;
        const char* text;
        const char* reason;  // English; empty: the lines can be applied
    };
    const Case cases[] = {
        {9, "  abc", "my.dig: a value cannot be read: '  abc' is not a valid floating point value"},
        {6, "12x", "my.dig: a value cannot be read: '  12x' is not a valid integer value"},
        {12, "on", "my.dig: a value cannot be read: '   on' is not a valid floating point value"},
        {4, "9", "Settings line 4: '9' is not a device type (-1 to 5)"},
        {5, "x", ""},  // an unreadable input only gives the math error
        {9, "    7", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Effects setup;
        editor.ApplyFirstStartDefaults(setup);
        QStringList lines = ValidLines();
        lines[c.line] = c.text;
        const ConfigModel modelBefore = model;
        const SessionState sessionBefore = session;
        const SettingsResult tried = TrySettingsLines(lines, editor, "my.dig");
        EXPECT_EQ(tried.ok, QString(c.reason).isEmpty());
        EXPECT_EQ(tried.message(texts, 1), c.reason);
        EXPECT_TRUE(model == modelBefore);
        EXPECT_TRUE(session == sessionBefore);
    }
}

TEST_F(SettingsLinesTest, LanguageLineIsReadWhereTheFileHasIt) {
    const std::pair<QStringList, std::optional<int>> cases[] = {
        {ValidLines(), 1},
        {ValidLines().mid(0, 17), 1},
        {ValidLines().mid(0, 16), std::nullopt},
        {{}, std::nullopt},
    };
    for (const auto& [lines, language] : cases) EXPECT_EQ(LanguageOfLines(lines), language);
    QStringList lines = ValidLines();
    for (const char* other : {"0", "2", "", " 1"}) {
        lines[16] = other;
        EXPECT_EQ(LanguageOfLines(lines), 0) << other;
    }
}

TEST_F(SettingsLinesTest, ReadsBackWhatItBuilt) {
    Effects fx;
    editor.ApplyFirstStartDefaults(fx);
    editor.SelectRangeChange(5, fx);
    editor.GrenzwertartClick(fx);
    editor.polaritaetClick(fx);
    editor.DecimalPointChosen(1, fx);
    session.ComPortName = "COM4";
    session.ComPortNumber = 4;
    session.LanguageIndex = 1;
    const QStringList lines = BuildSettingsLines(model, session);

    ConfigModel loaded;
    SessionState loadedSession;
    ConfigEditor loader(loaded, loadedSession, texts);
    ASSERT_TRUE(ApplySettingsLines(lines, loader, fx).ok);
    loader.UpdateRangeInfo();
    loader.Recalculate(fx);
    EXPECT_TRUE(loaded == model);
    EXPECT_EQ(BuildSettingsLines(loaded, loadedSession), lines);
}

// ---------------------------------------------------------------- random files

// What a list must hold to be taken, judged independently of the code under test.
bool Acceptable(const QStringList& lines) {
    static const QRegularExpression integer("^ *[+-]?[0-9]{1,9}$");
    if (lines.size() < 17) return false;
    if (!integer.match(lines[3]).hasMatch() || !integer.match(lines[4]).hasMatch()) return false;
    const int type = lines[4].trimmed().toInt();
    return type >= -1 && type <= 5;
}

void ExpectFullyApplied(const QStringList& lines, const ConfigModel& m, const SessionState& s) {
    const QStringList built = BuildSettingsLines(m, s);
    for (int line : {5, 6, 7, 8, 9})
        EXPECT_EQ(built[line], PadField(lines[line])) << "line " << line;
    // The evaluation may have put the thresholds into the order of the mode.
    const QStringList thresholds{PadField(lines[12]), PadField(lines[13])};
    EXPECT_TRUE(thresholds == built.mid(12, 2) ||
                thresholds == QStringList({built[13], built[12]}));
    EXPECT_EQ(m.DecimalPoint, lines[3].trimmed().toInt());
    EXPECT_EQ(m.SelectRange, lines[4].trimmed().toInt());
    EXPECT_EQ(s.ComPortName, lines[2]);
    EXPECT_EQ(s.PowerOn, lines[10] != "device off");
    EXPECT_EQ(s.LanguageIndex, lines[16] == "1" ? 1 : 0);
}

class RandomLines {
  public:
    explicit RandomLines(quint32 seed) : random_(seed) {}

    QStringList next(const QStringList& valid) {
        QStringList lines = valid;
        const int changes = random_.bounded(4);
        for (int i = 0; i < changes; ++i) lines[random_.bounded(20)] = pick();
        if (random_.bounded(4) == 0) lines = lines.mid(0, random_.bounded(22));
        return lines;
    }

  private:
    QString pick() {
        static const char* const pool[] = {
            "",           " ",    "-1",    "0",    "5",          "6",
            "9",          "-2",   "1e400", "abc",  "  20",       "2,5",
            "2.5",        "+",    "+ / -", "gwno", "gwinv",      "device off",
            "signal off", "COM3", "1",     "-0",   "2147483648", "99999999999999999999",
            "\t1",        "1\t",  "   -",  "E5",   ",",
        };
        if (random_.bounded(3) != 0) return pool[random_.bounded(int(std::size(pool)))];
        QString noise;
        const int length = random_.bounded(12);
        for (int i = 0; i < length; ++i) noise += QChar(random_.bounded(32, 256));
        return noise;
    }

    QRandomGenerator random_;
};

TEST_F(SettingsLinesTest, RandomFilesApplyWholeOrNotAtAll) {
    RandomLines random(4824);
    int applied = 0, refused = 0, stopped = 0;
    for (int round = 0; round < 5000; ++round) {
        const QStringList lines = random.next(ValidLines());
        const ConfigModel modelBefore = model;
        const SessionState sessionBefore = session;
        const SettingsResult tried = TrySettingsLines(lines, editor, "random.dig");
        ASSERT_TRUE(model == modelBefore && session == sessionBefore);
        Effects fx;
        bool raised = false;
        SettingsResult result;
        try {
            result = Apply(lines, fx);
            // As a start or a load goes on.
            if (result.ok) {
                editor.UpdateRangeInfo();
                editor.Recalculate(fx);
            }
        } catch (const ConversionError&) {
            raised = true;
        }
        SCOPED_TRACE(lines.join(" | ").toStdString());
        ASSERT_EQ(result.ok, Acceptable(lines));
        // Trying foresees both a refusal and an evaluation that stops.
        ASSERT_EQ(tried.ok, result.ok && !raised);
        if (result.ok) {
            ExpectFullyApplied(lines, model, session);
            ++(raised ? stopped : applied);
        } else {
            ASSERT_TRUE(model == modelBefore);
            ASSERT_TRUE(session == sessionBefore);
            ASSERT_FALSE(result.message(texts, 0).isEmpty());
            ++refused;
        }
    }
    // The generator reaches every outcome.
    EXPECT_GT(applied, 100);
    EXPECT_GT(refused, 100);
    EXPECT_GT(stopped, 100);
}

}  // namespace
}  // namespace zmt
