#pragma once

#include "QtPrinters.h"

#include "editor/ConfigEditor.h"
#include "language/LanguageText.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <ostream>
#include <vector>

namespace zmt {

// Memo texts as the meter's users read them, German first, English second.
struct Bilingual {
    const char* german;
    const char* english;
    QString in(int language) const { return QString::fromUtf8(language == 0 ? german : english); }
};

inline const Bilingual kHint{" Hinweis:", " hint:"};
inline const Bilingual kTypeIsOnlyAnAid{
    "die Geräte-Typ-Angabe hat keinen Einfluß auf die Gerätefunktion sondern ist nur eine "
    "Hilfsgröße für die Parametereingabe!",
    "choosing the type has no influence on the device functionality! It just eases the "
    "configuration!"};
inline const Bilingual kMathError{"keine Berechnung möglich", "math error"};
inline const Bilingual kMinusWarning{
    "!!!WARNUNG!!! Werte negativer als -1999 werden am Gerät baurtbedingt ohne MINUS angezeigt "
    "!!!",
    "!!!WARNING!!! values below -1999 are shown without\"-\""};
inline const Bilingual kOutOfRange{"Wert war außerhalb des gültigen Bereichs!",
                                   "value exceeds valid data!"};
inline const Bilingual kInputsMustDiffer{"die Eingangswerte müssen unterschiedlich sein!",
                                         "the input values have to be different"};
inline const Bilingual kInputError{"Eingabefehler", "no valid input data"};
inline const Bilingual kLimitHeading{"gewähltes Verhalten des Grenzkontaktes:",
                                     "usage of limit contact:"};
inline const Bilingual kOnAtOrBelow{"  Kontakt ON bei Anzeige <= ", "  contact ON at display <= "};
inline const Bilingual kOffAtOrAbove{"  Kontakt OFF bei Anzeige >= ",
                                     "  contact OFF at display >= "};
inline const Bilingual kOnAtOrAbove{"  Kontakt ON bei Anzeige >= ", "  contact ON at display >= "};
inline const Bilingual kOffAtOrBelow{"  Kontakt OFF bei Anzeige <= ",
                                     "  contact OFF at display <= "};
inline const Bilingual kNotUsed{"nicht benutzt", "not used"};

// A fresh model, session and editor over the real language table.
class EditorFixture : public ::testing::Test {
  protected:
    EditorFixture() { texts.FillLanguageText(); }

    // The scaling entries as a user leaves them, then one evaluation.
    void SetScaling(const char* in1, const char* out1, const char* in2, const char* out2,
                    const char* test, int deviceType = 1) {
        model.SelectRange = deviceType;
        editor.UpdateRangeInfo();
        model.setField(Field::Skalin1, in1);
        model.setField(Field::Skalout1, out1);
        model.setField(Field::Skalin2, in2);
        model.setField(Field::Skalout2, out2);
        model.setField(Field::Testin1, test);
    }

    static QStringList Memo(const Effects& fx) {
        QStringList lines;
        for (const QString& line : fx.applyTo({})) lines << line;
        return lines;
    }

    LanguageText texts;
    ConfigModel model;
    SessionState session;
    ConfigEditor editor{model, session, texts};
};

}  // namespace zmt
