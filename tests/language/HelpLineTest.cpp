#include "language/HelpLine.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace zmt {
namespace {

constexpr int kCleared = -1;
constexpr int kUnchanged = -2;

struct HelpCase {
    HelpEvent event;
    const char* control;
    int expected;  // a row, kCleared or kUnchanged
    const char* polarity = "+ / -";
    const char* limitMode = "gwnorm";
};

constexpr HelpEvent Move = HelpEvent::MouseMove;
constexpr HelpEvent Focus = HelpEvent::FocusEntry;

const HelpCase kCases[] = {
    // Background and passive areas empty the line.
    {Move, "Form1", kCleared},
    {Move, "Panel2", kCleared},
    {Move, "Label7", kCleared},
    {Move, "Label9", kCleared},
    {Move, "Label10", kCleared},
    {Move, "Image1", kCleared},
    {Move, "Skalierbox", kCleared},
    {Move, "GrenzkontaktBox", kCleared},
    // Fixed rows on mouse-over.
    {Move, "RangeBox", 41},
    {Move, "Typ", 41},
    {Move, "PunktBox", 42},
    {Move, "Image2", 42},
    {Move, "DP0", 42},
    {Move, "DP1", 42},
    {Move, "DP2", 42},
    {Move, "DP3", 42},
    {Move, "DP4", 42},
    {Move, "Skalin1", 51},
    {Move, "Skalin2", 52},
    {Move, "Skalout1", 53},
    {Move, "Skalout2", 54},
    {Move, "RelaisOn", 68},
    {Move, "RelaisOff", 69},
    {Move, "Testin1", 56},
    {Move, "Testout1", 60},
    {Move, "kontaktbild", 80},
    {Move, "Mem", 55},
    {Move, "FileInfo", 40},
    {Move, "ComInfo", 62},
    {Move, "switchpower", 84},
    {Move, "switchsignal", 85},
    {Move, "Readbutt", 81},
    {Move, "Skalbutt", 58},
    {Move, "KalParButt", 59},
    {Move, "Kalbutt", 57},
    // Focus entry: fields and buttons; the thresholds without the decimal point remark.
    {Focus, "Skalin1", 51},
    {Focus, "Skalin2", 52},
    {Focus, "Skalout1", 53},
    {Focus, "Skalout2", 54},
    {Focus, "RelaisOn", 66},
    {Focus, "RelaisOff", 67},
    {Focus, "Testin1", 56},
    {Focus, "Readbutt", 81},
    {Focus, "Skalbutt", 58},
    {Focus, "KalParButt", 59},
    {Focus, "Kalbutt", 57},
    // Controls without a binding for the event leave the line alone.
    {Move, "SelectRange", kUnchanged},
    {Move, "Panel1", kUnchanged},
    {Move, "Panel3", kUnchanged},
    {Move, "Panel4", kUnchanged},
    {Move, "Panel5", kUnchanged},
    {Move, "Message", kUnchanged},
    {Move, "Label1", kUnchanged},
    {Move, "Label2", kUnchanged},
    {Move, "Label3", kUnchanged},
    {Move, "Label5", kUnchanged},
    {Move, "Label6", kUnchanged},
    {Move, "Label8", kUnchanged},
    {Move, "Label11", kUnchanged},
    {Move, "Label12", kUnchanged},
    {Move, "Label15", kUnchanged},
    {Move, "artlabel", kUnchanged},
    {Move, "anzeigelabel", kUnchanged},
    {Move, "ohnelabel", kUnchanged},
    {Move, "Einheit1", kUnchanged},
    {Move, "Einheit2", kUnchanged},
    {Move, "Einheit3", kUnchanged},
    {Move, "HelpPanel", kUnchanged},
    {Move, "", kUnchanged},
    {Move, "skalin1", kUnchanged},
    {Focus, "Form1", kUnchanged},
    {Focus, "SelectRange", kUnchanged},
    {Focus, "Mem", kUnchanged},
    {Focus, "Testout1", kUnchanged},
    {Focus, "DP1", kUnchanged},
    {Focus, "switchpower", kUnchanged},
    {Focus, "polaritaet", kUnchanged},
    {Focus, "Grenzwertart", kUnchanged},
    // The polarity entry follows the caption of `polaritaet`.
    {Move, "polaritaet", 70, "+ / -"},
    {Move, "polaritaet", 71, "+"},
    {Move, "polaritaet", kUnchanged, "-"},
    {Move, "polaritaet", kUnchanged, ""},
    {Move, "polaritaet", kUnchanged, "+ /-"},
    // The limit contact entry follows `LimitMode`.
    {Move, "Grenzwertart", 72, "+", "gwnorm"},
    {Move, "Grenzwertart", 73, "+", "gwinv"},
    {Move, "Grenzwertart", 74, "+", "gwno"},
    {Move, "Grenzwertart", kUnchanged, "+", "GWNO"},
    {Move, "Grenzwertart", kUnchanged, "+", ""},
};

std::optional<QString> Expected(const HelpCase& c, const LanguageText& texts, int language) {
    if (c.expected == kUnchanged) return std::nullopt;
    if (c.expected == kCleared) return QString();
    return texts.text(c.expected, language);
}

TEST(HelpLine, EveryControlAndEventInBothLanguages) {
    LanguageText texts;
    texts.FillLanguageText();
    for (int language : {0, 1}) {
        for (const HelpCase& c : kCases) {
            SCOPED_TRACE(testing::Message() << c.control << (c.event == Move ? " move " : " focus ")
                                            << c.polarity << " " << c.limitMode << " " << language);
            const std::optional<QString> text =
                HelpLineText(c.event, QString::fromUtf8(c.control), QString::fromUtf8(c.polarity),
                             QString::fromUtf8(c.limitMode), texts, language);
            EXPECT_EQ(text, Expected(c, texts, language));
        }
    }
}

TEST(HelpLine, BoundRowsAreFilledRows) {
    LanguageText texts;
    texts.FillLanguageText();
    for (const HelpCase& c : kCases) {
        if (c.expected < 0) continue;
        SCOPED_TRACE(c.control);
        EXPECT_FALSE(texts.text(c.expected, 0).isEmpty());
        EXPECT_FALSE(texts.text(c.expected, 1).isEmpty());
    }
}

TEST(HelpLine, ThresholdTextsDifferByEvent) {
    LanguageText texts;
    texts.FillLanguageText();
    const auto show = [&](HelpEvent event) {
        return HelpLineText(event, QStringLiteral("RelaisOn"), {}, {}, texts, 1);
    };
    EXPECT_EQ(show(Focus), QStringLiteral(" displayed data when limit contact is switching on"));
    EXPECT_EQ(show(Move), QStringLiteral(" displayed data (dezimal point ignored) when limit "
                                         "contact is switching on"));
}

}  // namespace
}  // namespace zmt
