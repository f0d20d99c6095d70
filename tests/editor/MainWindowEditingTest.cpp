// Editing in the real main window: typing into the masked fields, choices, the glyph
// buttons, the language switch and the help line.
#include "MainWindowFixture.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>

namespace zmt::test {
namespace {

const QString kOutOfRange = QString::fromUtf8("Wert war außerhalb des gültigen Bereichs!");
const QString kMustDiffer = QString::fromUtf8("die Eingangswerte müssen unterschiedlich sein!");
const QString kMinusWarning = QString::fromUtf8(
    "!!!WARNUNG!!! Werte negativer als -1999 werden am Gerät baurtbedingt ohne MINUS angezeigt "
    "!!!");

struct FieldExitCase {
    const char* field;
    const char* typed;
    const char* shown;  // the padded text written back
    int beeps;
    QStringList mem;
    const char* testout;               // Testout1 after the evaluation, trimmed
    const char* otherField = nullptr;  // a second field the rule changes
    const char* otherShown = nullptr;
};

void PrintTo(const FieldExitCase& c, std::ostream* os) {
    *os << c.field << " <- " << c.typed;
}

class FieldExitTest : public MainWindowTest, public ::testing::WithParamInterface<FieldExitCase> {
  protected:
    QString FieldText(const QString& name) {
        const std::pair<const char*, Field> fields[] = {{"RelaisOn", Field::RelaisOn},
                                                        {"RelaisOff", Field::RelaisOff}};
        for (const auto& [fieldName, field] : fields)
            if (name == fieldName) return model.field(field);
        return {};
    }
};

// First-start defaults: 20 mA, 0 -> 0, 20 -> 2000, test input 10, no decimal point.
const FieldExitCase kFieldExits[] = {
    {"Skalin1", "4", "    4", 0, {}, "750"},
    {"Skalin1", "25", "    0", 2, {kOutOfRange, kMustDiffer}, "1000"},
    {"Skalin1", "-25", "  -20", 1, {kOutOfRange}, "1500"},
    {"Skalin1", "abc", "    0", 0, {"Eingabefehler"}, "1000"},
    {"Skalin2", "0", "   20", 1, {kMustDiffer}, "1000"},
    {"Skalin2", "4,5", "  4,5", 0, {}, "4444"},
    {"Skalout1", "12345", " 9999", 0, {}, "6000"},  // 5999.5 rounds to even
    {"Skalout1", "1a2", "   12", 0, {}, "1006"},    // the mask refuses the letter
    {"Skalout2", "-5000", "-5000", 1, {kMinusWarning}, "-2500"},
    {"Testin1", "4,5", "  4,5", 0, {}, "450"},
    {"Testin1", "30", "   20", 1, {kOutOfRange}, "2000"},
    {"Testin1", "x", "    0", 0, {"Eingabefehler"}, "0"},
    {"RelaisOn", "500", "  500", 0, {}, "1000", "RelaisOff", "  500"},
    {"RelaisOff", "9x99", "  999", 0, {}, "1000", "RelaisOn", " 2000"},  // x refused
};

TEST_P(FieldExitTest, LeavingTheFieldCleansItAndEvaluates) {
    const FieldExitCase& c = GetParam();
    CreateWithDefaults();
    ShowActive();
    const int beepsBefore = BeepCount();
    TypeInto(field(c.field), QString::fromUtf8(c.typed));
    LeaveWithTab(field(c.field));

    EXPECT_EQ(text(c.field), QString::fromUtf8(c.shown));
    EXPECT_EQ(BeepCount() - beepsBefore, c.beeps);
    EXPECT_EQ(form->MemLines(), c.mem);
    EXPECT_EQ(text("Testout1").trimmed(), QString::fromUtf8(c.testout));
    if (c.otherField) {
        // A focused field shows its text unpadded for typing; the model keeps it padded.
        EXPECT_EQ(text(c.otherField).trimmed(), QString::fromUtf8(c.otherShown).trimmed());
        EXPECT_EQ(FieldText(c.otherField), QString::fromUtf8(c.otherShown));
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, FieldExitTest, ::testing::ValuesIn(kFieldExits));

TEST_F(MainWindowTest, EnterInTestin1AppliesTheRuleWithoutLeaving) {
    CreateWithDefaults();
    ShowActive();
    TypeInto(field("Testin1"), "12");
    QTest::keyClick(field("Testin1"), Qt::Key_Return);
    EXPECT_TRUE(field("Testin1")->hasFocus());
    EXPECT_EQ(model.Testin1, "   12");
    EXPECT_EQ(text("Testout1").trimmed(), "1200");
    // The applied value waits selected: the next value typed replaces it.
    EXPECT_EQ(field("Testin1")->selectedText(), "12");
    QTest::keyClicks(field("Testin1"), "7,5");
    QTest::keyClick(field("Testin1"), Qt::Key_Return);
    EXPECT_EQ(model.Testin1, "  7,5");
    EXPECT_EQ(text("Testout1").trimmed(), "750");
}

struct KeystrokeCase {
    const char* what;
    Field modelField;
    const char* field;
    const char* typedBefore;
    std::function<void(TForm1&, VirtualTime&)> interrupt;
    const char* typedAfter;
    const char* modelAfter;  // the field's text in the model once the typing is done
};

void PrintTo(const KeystrokeCase& c, std::ostream* os) {
    *os << c.what;
}

class KeystrokeTest : public MainWindowTest, public ::testing::WithParamInterface<KeystrokeCase> {};

// Whatever the window shows while a field is being edited, the field takes every key that
// follows: a text that only gained its padding stays as typed, a text that a rule changed
// waits selected, so typing replaces it.
const KeystrokeCase kKeystrokes[] = {
    {"Enter, then typing", Field::Testin1, "Testin1", "12",
     [](TForm1&, VirtualTime&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); },
     "5", "    5"},
    {"polarity toggled while typing", Field::Testin1, "Testin1", "3",
     [](TForm1& form, VirtualTime&) { form.findChild<QToolButton*>("polaritaet")->click(); }, "5",
     "   35"},
    {"limit mode changed while typing", Field::RelaisOff, "RelaisOff", "500",
     [](TForm1& form, VirtualTime&) { form.findChild<QToolButton*>("Grenzwertart")->click(); },
     "300", "  300"},
    {"port chosen while typing", Field::Testin1, "Testin1", "4",
     [](TForm1& form, VirtualTime&) { form.COMClick(2); }, "2", "   42"},
    {"switches unlocked while typing", Field::Skalout2, "Skalout2", "1",
     [](TForm1&, VirtualTime& time) { time.runFor(std::chrono::milliseconds(700)); }, "500",
     " 1500"},
};

TEST_P(KeystrokeTest, NoKeystrokeIsLostWhileTheWindowChanges) {
    const KeystrokeCase& c = GetParam();
    CreateWithDefaults();
    ShowActive();
    QLineEdit* edit = field(c.field);
    TypeInto(edit, c.typedBefore);
    c.interrupt(*form, time);
    ASSERT_TRUE(edit->hasFocus());
    QTest::keyClicks(edit, c.typedAfter);
    EXPECT_EQ(edit->text(), QString(c.modelAfter).trimmed());
    EXPECT_EQ(model.field(c.modelField), c.modelAfter);
}

INSTANTIATE_TEST_SUITE_P(Fields, KeystrokeTest, ::testing::ValuesIn(kKeystrokes));

TEST_F(MainWindowTest, FocusMovingToAnotherWindowIsNoExit) {
    CreateWithDefaults();
    ShowActive();
    TypeInto(field("Skalin1"), "25");
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_TRUE(form->MemLines().isEmpty());
    EXPECT_EQ(model.Skalin1, "   25");  // the model holds what the field shows
}

struct DeviceTypeCase {
    int index;
    int language;
    const char* unit;
    const char* skalin2;
    const char* hint;
    const char* testout;  // test input 10
};

TEST_F(MainWindowTest, ChoosingADeviceTypeSetsUnitsFullScaleAndHint) {
    const DeviceTypeCase cases[] = {
        {4, 0, "V ", "   10", " Hinweis:", "2000"},
        {2, 0, "mA ", "  100", " Hinweis:", "200"},
        {5, 1, "V ", "   50", " hint:", "400"},
    };
    for (const DeviceTypeCase& c : cases) {
        SCOPED_TRACE(c.index);
        form.reset();
        model = {};
        session = {};
        CreateWithDefaults();
        session.LanguageIndex = c.language;
        emit child<QComboBox>("SelectRange")->activated(c.index);
        for (const char* unit : {"Einheit1", "Einheit2", "Einheit3"})
            EXPECT_EQ(child<QLabel>(unit)->text(), c.unit);
        EXPECT_EQ(text("Skalin2"), c.skalin2);
        ASSERT_EQ(form->MemLines().size(), 2);
        EXPECT_EQ(form->MemLines().first(), c.hint);
        EXPECT_EQ(text("Testout1").trimmed(), c.testout);
    }
}

// Scrolling over the window never changes the device type (and with it input (2)); the
// focused choice takes the wheel as before.
TEST_F(MainWindowTest, DeviceTypeTakesTheWheelOnlyWhenFocused) {
    CreateWithDefaults();
    ShowActive();
    TypeInto(field("Skalin2"), "15");
    LeaveWithTab(field("Skalin2"));
    auto* combo = child<QComboBox>("SelectRange");
    const auto wheelDown = [combo] {
        const QPointF inside(10, 10);
        QWheelEvent wheel(inside, combo->mapToGlobal(inside), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &wheel);
    };
    wheelDown();
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(model.SelectRange, 1);
    EXPECT_EQ(model.Skalin2, "   15");
    combo->setFocus(Qt::TabFocusReason);
    wheelDown();
    EXPECT_EQ(model.SelectRange, 2);
    EXPECT_EQ(model.Skalin2, "  100");
}

// The status memo wraps the longest messages (the device type hint is about 120
// characters) instead of hiding their ends to the right; Tab never stops on Panel1.
TEST_F(MainWindowTest, StatusMemoWrapsAndTabPassesThePanel) {
    CreateWithDefaults();
    ShowActive();
    emit child<QComboBox>("SelectRange")->activated(2);
    auto* mem = child<QPlainTextEdit>("Mem");
    QCoreApplication::processEvents();
    EXPECT_EQ(mem->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(mem->document()->lastBlock().layout()->lineCount(), 1);

    QWidget* panel = child("Panel1");
    field("Skalin1")->setFocus(Qt::TabFocusReason);
    for (int tab = 0; tab < 30; ++tab) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_NE(QApplication::focusWidget(), panel) << "after " << tab + 1 << " tabs";
    }
    panel->setFocus();  // where a load puts the focus
    EXPECT_TRUE(panel->hasFocus());
}

TEST_F(MainWindowTest, LimitModeCycleShowsGlyphsAndMemoLines) {
    CreateWithDefaults();
    const QString heading = QString::fromUtf8("gewähltes Verhalten des Grenzkontaktes:");
    struct Step {
        const char* mode;
        const char* contact;
        QStringList mem;
    };
    // Test value 1000, thresholds 2000.
    const Step steps[] = {
        {"gwinv",
         "kontaktonbild",
         {heading, "  Kontakt ON bei Anzeige <= 2000", "  Kontakt OFF bei Anzeige >= 2000"}},
        {"gwno", "kontaktnobild", {heading, "nicht benutzt"}},
        {"gwnorm",
         "kontaktoffbild",
         {heading, "  Kontakt ON bei Anzeige >= 2000", "  Kontakt OFF bei Anzeige <= 2000"}},
    };
    EXPECT_EQ(glyph("Grenzwertart"), "gwnorm");
    for (const Step& step : steps) {
        SCOPED_TRACE(step.mode);
        child<QToolButton>("Grenzwertart")->click();
        EXPECT_EQ(glyph("Grenzwertart"), step.mode);
        EXPECT_EQ(glyph("kontaktbild"), step.contact);
        EXPECT_EQ(form->MemLines(), step.mem);
        EXPECT_FALSE(child<QToolButton>("Grenzwertart")->icon().isNull());
    }
}

TEST_F(MainWindowTest, PolarityToggleClampsNegativeResults) {
    CreateWithDefaults();
    ShowActive();
    TypeInto(field("Testin1"), "-5");
    LeaveWithTab(field("Testin1"));
    struct Step {
        const char* caption;
        const char* testout;
    };
    const Step steps[] = {{"+", "0"}, {"+ / -", "-500"}, {"+", "0"}};
    EXPECT_EQ(text("Testout1").trimmed(), "-500");
    for (const Step& step : steps) {
        child<QToolButton>("polaritaet")->click();
        EXPECT_EQ(child<QToolButton>("polaritaet")->text(), step.caption);
        EXPECT_EQ(text("Testout1").trimmed(), step.testout);
    }
}

TEST_F(MainWindowTest, DecimalPointRadioRunsItsRule) {
    CreateWithDefaults();
    const std::pair<const char*, const char*> radios[] = {
        {"DP2", "10,00"}, {"DP1", "1,000"}, {"DP4", "1000,"}, {"DP3", "100,0"}, {"DP0", "1000"}};
    for (const auto& [radio, shown] : radios) {
        child<QAbstractButton>(radio)->click();
        EXPECT_EQ(text("Testout1").trimmed(), shown) << radio;
    }
}

struct CaptionCase {
    const char* control;
    const char* german;
    const char* english;
};

const CaptionCase kCaptions[] = {
    {"Form1", "ZMT digitales Messgerät 48x24   Programmierung  V6.01",
     "ZMT digital display 48x24    configuration  V6.01"},
    {"Datei1", "&Datei", "&File"},
    {"Kommunikation1", "&Kommunikation", "&communication"},
    // The language item takes its access key in front of the table's text.
    {"MLanguage", "&Sprache/language: D", "&language/Sprache: E"},
    {"Hilfe1", "&Hilfe", "&Help"},
    {"Laden1", "&Laden Einstellung", "&load configuration"},
    {"Speichern1", "&Speichern Einstellung", "&save configuration"},
    {"Quit1", "E&xit Programm (Ende)", "e&xit program (quit)"},
    {"MenueAuslesen", "&Lesen Geräteparameter", "&read device configuration"},
    {"MenueParametrieren", "&Parameter neu programmieren", "&write device configuration"},
    {"MenueKalPar", "&Kalibrieren und neu parametrieren",
     "&calibrate and write device configuration"},
    {"Hilfe2", "&Hilfe", "&Help"},
    {"About1", "&Info", "&about"},
    {"RangeBox", " Eingangsbereich ", " input range "},
    {"Typ", "Geräte-Typ:", "type:"},
    {"PunktBox", " Dezimalpunkt ", " decimal point "},
    {"ohnelabel", "ohne", "none"},
    {"GrenzkontaktBox", " Grenzwert-Kontakt/LED ", " limit contact/LED "},
    {"Skalierbox", " Anzeige-Parametrierung ", " display scaling "},
    {"artlabel", "Art:", "type:"},
    {"anzeigelabel", "Anzeige:", "polarity:"},
    {"Label1", "Eingangssignal", "input signal"},
    {"Label2", "Anzeige", "display"},
    {"Label5", "wird angezeigt als:", "to be displayed as:"},
    {"Label6", "wird angezeigt als:", "to be displayed as:"},
    {"Label7", "Eingangssignal", "input signal"},
    {"Label8", "Test der gewählten Konfiguration", "test of desired configuration"},
    {"Label9", "Anzeige", "display"},
    {"Label10", "wird angezeigt als:", "to be displayed as:"},
    {"switchpower", "Messgerät an", "device power on"},
    {"switchsignal", "ext. Signal an", "ext. signal pass"},
    {"Readbutt", "Parameter auslesen", "read configuration"},
    {"Skalbutt", "Gerät parametrieren", "write configuration"},
    {"KalParButt", "Gerät kalibrieren und parametrieren",
     "calibrate and write device configuration"},
};

TEST_F(MainWindowTest, LanguageSwitchSetsAll34CaptionsBothWays) {
    CreateWithDefaults();
    ASSERT_EQ(std::size(kCaptions), 34u);
    child<QLabel>("HelpPanel")->setText("previous help");
    struct Switch {
        const char* CaptionCase::*column;
        const char* mem;
    };
    const Switch switches[] = {{&CaptionCase::english, "chosen language: english"},
                               {&CaptionCase::german, "gewählte Spracheinstellung: Deutsch"}};
    for (const CaptionCase& c : kCaptions)
        EXPECT_EQ(caption(c.control), QString::fromUtf8(c.german)) << "at start: " << c.control;
    for (const Switch& step : switches) {
        action("MLanguage")->trigger();
        for (const CaptionCase& c : kCaptions)
            EXPECT_EQ(caption(c.control), QString::fromUtf8(c.*step.column)) << c.control;
        EXPECT_EQ(form->MemLines(), QStringList{QString::fromUtf8(step.mem)});
        EXPECT_EQ(child<QLabel>("HelpPanel")->text(), "previous help");
        EXPECT_EQ(caption("Kalbutt"), QString::fromUtf8("Gerät kalibrieren"));
    }
}

// Help line: where the pointer or the focus goes, and what the line shows then.
enum class Place { Centre, FreeArea, Focus };
struct HelpCase {
    const char* control;
    Place place;
    const char* expected;  // nullptr: the line keeps its text
};

const HelpCase kHelpLine[] = {
    {"Form1", Place::FreeArea, ""},
    {"Panel2", Place::FreeArea, ""},
    {"Skalierbox", Place::FreeArea, ""},
    {"GrenzkontaktBox", Place::FreeArea, ""},
    {"Image1", Place::Centre, ""},
    {"Label7", Place::Centre, ""},
    {"RangeBox", Place::FreeArea,
     " Gerätetyp auswählen (maximaler analoger Eingangswert - siehe Typenschild)"},
    {"Typ", Place::Centre,
     " Gerätetyp auswählen (maximaler analoger Eingangswert - siehe Typenschild)"},
    {"Image2", Place::Centre, " Position des Dezimalpunktes festsetzen"},
    {"DP3", Place::Centre, " Position des Dezimalpunktes festsetzen"},
    {"Skalin1", Place::Centre, " hier einen analogen Eingangswert (1) eingeben!"},
    {"Skalout2", Place::Centre, " digitale Anzeige bei analogem Eingangswert (2)"},
    {"RelaisOn", Place::Centre,
     " digitale Anzeige(ohne Dezimalpunkt), ab welcher der Grenzkontakt einschaltet"},
    {"RelaisOn", Place::Focus, " digitale Anzeige, ab welcher der Grenzkontakt einschaltet"},
    {"RelaisOff", Place::Focus, " digitale Anzeige, ab welcher der Grenzkontakt ausschaltet"},
    {"Testin1", Place::Focus,
     " beliebiger analoger Eingangswert zur Überprüfung der aktuellen Einstellungen (Parameter)"},
    {"Readbutt", Place::Focus,
     " Meßgeräteparameter auslesen (und als Vorgabeparameter übernehmen)"},
    {"polaritaet", Place::Centre, " Anzeigebereich  -  Momentan: positive und negative Werte"},
    {"Grenzwertart", Place::Centre,
     " Verhalten des Grenzwertkontaktes  -  Momentan: Kontakt geschlossen oberhalb der "
     "Einstellgrenze"},
    {"Testout1", Place::Centre, " parametrierte Anzeige für gewählten Eingangswert"},
    {"kontaktbild", Place::Centre,
     " Grenzwert-Kontaktzustand (und LED-Anzeige) bei angegebenem Wert"},
    {"Mem", Place::Centre, "Anzeige von Statusmeldungen"},
    {"FileInfo", Place::Centre, " aktuelles Parameterfile"},
    {"ComInfo", Place::Centre, " momentan ausgewählte serielle Schnittstelle"},
    {"switchpower", Place::Centre,
     " wenn diese Funktion ausgewählt ist, dann wird das Messgerät an die Betriebsspannung "
     "gelegt"},
    {"KalParButt", Place::Centre,
     " Meßgerät kalibrieren und mit angezeigter Konfiguration paramtrieren"},
    {"SelectRange", Place::Centre, nullptr},
    {"Panel1", Place::FreeArea, nullptr},
    {"Label5", Place::Centre, nullptr},
    {"Einheit1", Place::Centre, nullptr},
    {"ohnelabel", Place::Centre, nullptr},
    {"HelpPanel", Place::Centre, nullptr},
    {"Label12", Place::Centre, nullptr},
};

// A point of `widget` that no child covers.
QPoint FreePoint(QWidget* widget) {
    for (int y = widget->height() - 3; y > 0; y -= 2)
        for (int x = 3; x < widget->width(); x += 2)
            if (!widget->childAt(x, y)) return {x, y};
    return {};
}

TEST_F(MainWindowTest, HelpLineFollowsPointerAndFocus) {
    CreateWithDefaults();
    ShowActive();
    auto* helpPanel = child<QLabel>("HelpPanel");
    for (const HelpCase& c : kHelpLine) {
        SCOPED_TRACE(c.control);
        QWidget* target = QString(c.control) == "Form1" ? form->centralWidget() : child(c.control);
        helpPanel->setText("unchanged");
        if (c.place == Place::Focus)
            target->setFocus(Qt::TabFocusReason);
        else
            QTest::mouseMove(
                target, c.place == Place::Centre ? target->rect().center() : FreePoint(target));
        QCoreApplication::processEvents();
        EXPECT_EQ(helpPanel->text(), c.expected ? QString::fromUtf8(c.expected) : "unchanged");
    }
}

TEST_F(MainWindowTest, HelpLineOfStateButtonsFollowsTheNewState) {
    CreateWithDefaults();
    ShowActive();
    auto* helpPanel = child<QLabel>("HelpPanel");
    session.LanguageIndex = 1;
    child<QToolButton>("polaritaet")->click();
    QTest::mouseMove(child("polaritaet"), QPoint(5, 5));
    EXPECT_EQ(helpPanel->text(),
              " displayed data range - currently: only positive values; negative values are shown "
              "as \"0\"");
    child<QToolButton>("Grenzwertart")->click();
    child<QToolButton>("Grenzwertart")->click();
    QTest::mouseMove(child("Grenzwertart"), QPoint(6, 6));
    EXPECT_EQ(helpPanel->text(), " usage of limit contact - currently: not used -> no action");
}

}  // namespace
}  // namespace zmt::test
