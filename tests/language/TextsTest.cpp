#include "language/Texts.h"

#include <gtest/gtest.h>

namespace zmt {
namespace {

LanguageText Filled() {
    LanguageText table;
    table.FillLanguageText();
    return table;
}

// A class binds its texts once; the language switches later and every look-up follows.
TEST(Texts, FollowTheLanguageIndexAfterBinding) {
    const LanguageText table = Filled();
    int language = 0;
    const Texts text(table, language);
    EXPECT_EQ(text(rows::Ready), QStringLiteral("fertig"));
    language = 1;
    EXPECT_EQ(text(rows::Ready), QStringLiteral("ready"));
    EXPECT_EQ(text.languageIndex(), 1);

    int asked = 0;
    const Texts counted(table, [&] { return ++asked, 0; });
    EXPECT_EQ(counted(rows::Cancel), QStringLiteral("Abbruch"));
    EXPECT_EQ(counted(rows::Cancel), QStringLiteral("Abbruch"));
    EXPECT_EQ(asked, 2);
}

// The names stand for the rows the program has always shown in these places.
TEST(Texts, NamedRowsHoldTheirTexts) {
    const LanguageText table = Filled();
    const int german = 0;
    const Texts text(table, german);
    const struct {
        int row;
        const char* german;
    } cases[] = {{rows::MainWindowTitle, "ZMT digitales Messgerät 48x24   Programmierung  V6.01"},
                 {rows::ChosenLanguage, "gewählte Spracheinstellung: Deutsch"},
                 {rows::CannotOpenPort, "  kann nicht geöffnet werden"},
                 {rows::HelpSignalSwitch,
                  " wenn diese Funktion ausgewählt ist, dann wird das "
                  "externe Kalibriersignal zum Meßgerät durchgeschalten"},
                 {rows::ConfigurationTaken, "Vorgabeparameter werden übernommen"},
                 {rows::NotUsed, "nicht benutzt"}};
    for (const auto& c : cases) EXPECT_EQ(text(c.row), QString::fromUtf8(c.german)) << c.row;
}

}  // namespace
}  // namespace zmt
