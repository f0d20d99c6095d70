// The main window without a mouse: the two setting buttons in the tab order and toggled by
// Space, and an access key for every menu item, none twice in a menu.
#include "MainWindowFixture.h"

#include <QMenuBar>
#include <QToolButton>

#include <map>

namespace zmt::test {
namespace {

class MainWindowKeyboardTest : public MainWindowTest {
  protected:
    // The control that has the focus after Tab from `from`.
    QString AfterTab(const char* from) {
        QWidget* start = child(from);
        start->setFocus();
        QTest::keyClick(start, Qt::Key_Tab);
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }
};

struct GlyphKeyCase {
    const char* field;   // the last field before the button
    const char* button;  // reached from it by Tab
    const char* next;    // and the control after it
};

TEST_F(MainWindowKeyboardTest, SettingButtonsFollowTheirFieldsAndSpaceTogglesThem) {
    CreateWithDefaults();
    ShowActive();
    const GlyphKeyCase cases[] = {{"RelaisOff", "Grenzwertart", "Skalin1"},
                                  {"Skalout2", "polaritaet", "Testin1"}};
    for (const GlyphKeyCase& c : cases) {
        EXPECT_EQ(AfterTab(c.field), c.button) << c.field;
        EXPECT_EQ(AfterTab(c.button), c.next) << c.button;
    }
    // Space does what a click does: the limit type goes round, the polarity flips.
    const QStringList modes = {"gwinv", "gwno", "gwnorm"};
    for (const QString& mode : modes) {
        child("Grenzwertart")->setFocus();
        QTest::keyClick(child("Grenzwertart"), Qt::Key_Space);
        EXPECT_EQ(glyph("Grenzwertart"), mode);
        EXPECT_EQ(model.LimitMode, mode);
    }
    for (const char* polarity : {"+", "+ / -"}) {
        child("polaritaet")->setFocus();
        QTest::keyClick(child("polaritaet"), Qt::Key_Space);
        EXPECT_EQ(caption("polaritaet"), polarity);
    }
}

// A click goes on as before: the button does not take the focus (the panel behind it does,
// as it always did) and the click's rule runs once.
TEST_F(MainWindowKeyboardTest, ClickOnASettingButtonDoesNotGiveItTheFocus) {
    CreateWithDefaults();
    ShowActive();
    for (const char* button : {"polaritaet", "Grenzwertart"}) {
        field("Skalout1")->setFocus();
        QTest::mouseClick(child(button), Qt::LeftButton);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), "Panel1") << button;
    }
    EXPECT_EQ(caption("polaritaet"), "+");
    EXPECT_EQ(glyph("Grenzwertart"), "gwinv");
}

// The access key of a caption: the character after a single '&', lower case; none: 0.
QChar AccessKey(const QString& caption) {
    for (int at = 0; at + 1 < caption.size(); ++at) {
        if (caption[at] != u'&') continue;
        if (caption[at + 1] == u'&') {
            ++at;
            continue;
        }
        return caption[at + 1].toLower();
    }
    return {};
}

// The port menu's own captions (the COM-Port Setup entry and its ports) keep their design
// texts; in English "&COM-Port Setup" and "&calibrate ..." share a key, both as designed.
bool DesignedClash(const QString& caption) {
    return caption == QLatin1String("&COM-Port Setup") ||
           caption.startsWith(QLatin1String("&calibrate"));
}

TEST_F(MainWindowKeyboardTest, EveryMenuItemHasAnAccessKeyAndNoneTwiceInAMenuInBothLanguages) {
    CreateWithDefaults();
    const QList<QWidget*> menus = {form->menuBar(), child("Datei1"), child("Kommunikation1"),
                                   child("Hilfe1")};
    int checked = 0;
    for (int language = 0; language < 2; ++language) {
        for (QWidget* menu : menus) {
            std::map<QChar, QString> keys;
            for (QAction* item : menu->actions()) {
                const QString caption = item->text();
                // Separators and the bar's spacers carry nothing to reach.
                if (item->isSeparator() || caption.trimmed().isEmpty()) continue;
                ++checked;
                const QChar key = AccessKey(caption);
                EXPECT_FALSE(key.isNull()) << caption.toStdString();
                if (DesignedClash(caption)) continue;
                const auto [place, fresh] = keys.emplace(key, caption);
                EXPECT_TRUE(fresh)
                    << caption.toStdString() << " and " << place->second.toStdString();
            }
        }
        action("MLanguage")->trigger();
    }
    EXPECT_GE(checked, 2 * 18);
}

struct NameCase {
    const char* control;
    const char* german;
    const char* english;
};

// The fields a group box would otherwise name alike, the points by their place, the
// thresholds apart, and the setting buttons with what they show now.
TEST_F(MainWindowKeyboardTest, ScreenReaderNamesSayWhatEachControlIsAndFollowTheLanguage) {
    CreateWithDefaults();
    const NameCase cases[] = {
        {"Skalin1", "Eingangssignal (1)", "input (1)"},
        {"Skalout1", "Anzeige (1)", "display (1)"},
        {"Skalin2", "Eingangssignal (2)", "input (2)"},
        {"Skalout2", "Anzeige (2)", "display (2)"},
        {"DP1", "Dezimalpunkt nach Ziffer 1", "decimal point after digit 1"},
        {"DP4", "Dezimalpunkt nach Ziffer 4", "decimal point after digit 4"},
        {"DP0", "kein Dezimalpunkt", "no decimal point"},
        {"RelaisOn", "Grenzkontakt EIN bei", "limit contact ON at"},
        {"RelaisOff", "Grenzkontakt AUS bei", "limit contact OFF at"},
        {"polaritaet", "Anzeige-Polarität", "display polarity"},
        {"Grenzwertart", "Art des Grenzkontakts", "limit contact type"},
        {"Testout1", "Test: Anzeige", "test: display"},
        {"Mem", "Statusmeldungen", "status messages"},
    };
    for (int language = 0; language < 2; ++language) {
        for (const NameCase& c : cases)
            EXPECT_EQ(child(c.control)->accessibleName(),
                      QString::fromUtf8(language == 0 ? c.german : c.english))
                << c.control;
        action("MLanguage")->trigger();
    }
    // The state a picture shows is said as the help line says it, and follows a click.
    EXPECT_EQ(child("Grenzwertart")->accessibleDescription(),
              QString::fromUtf8("Verhalten des Grenzwertkontaktes  -  Momentan: Kontakt "
                                "geschlossen oberhalb der Einstellgrenze"));
    child<QToolButton>("Grenzwertart")->click();
    EXPECT_EQ(child("Grenzwertart")->accessibleDescription(),
              QString::fromUtf8("Verhalten des Grenzwertkontaktes  -  Momentan: Kontakt "
                                "geschlossen unterhalb der Einstellgrenze"));
    child<QToolButton>("polaritaet")->click();
    EXPECT_TRUE(
        child("polaritaet")
            ->accessibleDescription()
            .startsWith(QString::fromUtf8("Anzeigebereich  -  Momentan: nur positive Werte")));
}

}  // namespace
}  // namespace zmt::test
