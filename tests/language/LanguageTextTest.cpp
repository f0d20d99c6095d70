#include "language/LanguageText.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace zmt {
namespace {

struct RowCase {
    int row;
    const char16_t* german;
    const char16_t* english;
};

// Written with escapes for the German letters so that a mis-encoded table shows up here.
const RowCase kRows[] = {
    {0, u"ZMT digitales Messger\u00e4t 48x24   Programmierung  V6.01",
     u"ZMT digital display 48x24    configuration  V6.01"},
    {3, u"Sprache/language: D", u"language/Sprache: E"},
    {7, u"E&xit Programm (Ende)", u"e&xit program (quit)"},
    {8, u"&Lesen Ger\u00e4teparameter", u"&read device configuration"},
    {13, u"&Info", u"&about"},
    {20, u" Eingangsbereich ", u" input range "},
    {31, u"Test der gew\u00e4hlten Konfiguration", u"test of desired configuration"},
    {44,
     u"die Ger\u00e4te-Typ-Angabe hat keinen Einflu\u00df auf die Ger\u00e4tefunktion sondern "
     u"ist nur eine Hilfsgr\u00f6\u00dfe f\u00fcr die Parametereingabe!",
     u"choosing the type has no influence on the device functionality! It just eases the "
     u"configuration!"},
    {45, u"gew\u00e4hlte Spracheinstellung: Deutsch", u"chosen language: english"},
    {47,
     u"!!!WARNUNG!!! Werte negativer als -1999 werden am Ger\u00e4t baurtbedingt ohne MINUS "
     u"angezeigt !!!",
     u"!!!WARNING!!! values below -1999 are shown without\"-\""},
    {48, u"Wert war au\u00dferhalb des g\u00fcltigen Bereichs!", u"value exceeds valid data!"},
    {56,
     u" beliebiger analoger Eingangswert zur \u00dcberpr\u00fcfung der aktuellen "
     u"Einstellungen (Parameter)",
     u" check displayed data at this analog input"},
    {61, u" ausgew\u00e4hlte Schnittstelle seriell: ", u" selected serial COMport: "},
    {63, u" Die Datei %s  existiert bereits !!!  \u00dcberschreiben ?",
     u" the file %s already exists ! Overwrite ?"},
    {70, u" Anzeigebereich  -  Momentan: positive und negative Werte",
     u" diplayed data range - currently: positive and negative values"},
    {71,
     u" Anzeigebereich  -  Momentan: nur positive Werte; negative  Werte werden als 0 "
     u"angezeigt!",
     u" displayed data range - currently: only positive values; negative values are shown as "
     u"\"0\""},
    {76, u"  Kontakt ON bei Anzeige <= ", u"  contact ON at display <= "},
    {77, u"  Kontakt OFF bei Anzeige >= ", u"  contact OFF at display >= "},
    {78, u"  Kontakt ON bei Anzeige >= ", u"  contact ON at display >= "},
    {79, u"  Kontakt OFF bei Anzeige <= ", u"  contact OFF at display <= "},
    {82, u"  kann nicht ge\u00f6ffnet werden", u"  -error opening port-"},
    {83, u" (eventuell bereits belegt)", u" (perhaps already in use)"},
    {85,
     u" wenn diese Funktion ausgew\u00e4hlt ist, dann wird das externe Kalibriersignal zum "
     u"Me\u00dfger\u00e4t durchgeschalten",
     u" external calibration signal is connected to the device, if checkbox selected"},
    {100, u"Abbruch", u"cancel"},
    {111, u"\u00dcbertragungsstrecke... O.K.", u"connection... o.k."},
    {119, u"Rundungsfehler m\u00f6glich!", u""},
    {122, u"Bitte auf einen stabilen Anzeigewert warten (dauert wenige Sekunden)!",
     u"please wait for the reading to stabilize! "},
    {134, u"Bitte Anzeige am Ger\u00e4t ablesen:", u"fill in displayed data at device:"},
    {135, u"nicht benutzt", u"not used"},
};

LanguageText FilledTable() {
    LanguageText texts;
    texts.FillLanguageText();
    return texts;
}

std::vector<int> UnfilledRows() {
    std::vector<int> rows{11, 37, 38, 39};
    for (int row = 14; row <= 19; ++row) rows.push_back(row);
    for (int row = 86; row <= 99; ++row) rows.push_back(row);
    for (int row = 136; row <= 150; ++row) rows.push_back(row);
    return rows;
}

TEST(LanguageText, RowsHoldTheirTextsInBothLanguages) {
    const LanguageText texts = FilledTable();
    for (const RowCase& c : kRows) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(texts.text(c.row, 0), QString::fromUtf16(c.german));
        EXPECT_EQ(texts.text(c.row, 1), QString::fromUtf16(c.english));
    }
}

TEST(LanguageText, UnfilledRowsReadEmpty) {
    const LanguageText texts = FilledTable();
    for (int row : UnfilledRows()) {
        SCOPED_TRACE(row);
        EXPECT_TRUE(texts.text(row, 0).isEmpty());
        EXPECT_TRUE(texts.text(row, 1).isEmpty());
    }
}

TEST(LanguageText, EveryOtherRowIsFilledInGerman) {
    const LanguageText texts = FilledTable();
    const std::vector<int> unfilled = UnfilledRows();
    int filled = 0;
    for (int row = 0; row < LanguageText::RowCount; ++row) {
        if (std::find(unfilled.begin(), unfilled.end(), row) != unfilled.end()) continue;
        SCOPED_TRACE(row);
        EXPECT_FALSE(texts.text(row, 0).isEmpty());
        if (row != 119) {
            EXPECT_FALSE(texts.text(row, 1).isEmpty());
        }
        ++filled;
    }
    EXPECT_EQ(filled, 112 + LanguageText::RowCount - LanguageText::OriginalRowCount);
}

TEST(LanguageText, LookupsOutsideTheTableReadEmpty) {
    const LanguageText texts = FilledTable();
    const struct {
        int row;
        int column;
    } outside[] = {{-1, 0},
                   {LanguageText::RowCount, 0},
                   {LanguageText::RowCount, 1},
                   {1000, 1},
                   {0, 2},
                   {0, -1},
                   {45, 2},
                   {-5, -5}};
    for (const auto& cell : outside) {
        SCOPED_TRACE(testing::Message() << cell.row << "," << cell.column);
        EXPECT_TRUE(texts.text(cell.row, cell.column).isEmpty());
    }
}

TEST(LanguageText, TableIsEmptyUntilFilledAndFillingTwiceChangesNothing) {
    LanguageText texts;
    EXPECT_TRUE(texts.text(0, 0).isEmpty());
    texts.FillLanguageText();
    const QString first = texts.text(0, 1);
    texts.FillLanguageText();
    EXPECT_EQ(texts.text(0, 1), first);
}

}  // namespace
}  // namespace zmt
