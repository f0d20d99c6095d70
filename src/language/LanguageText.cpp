#include "LanguageText.h"

#include "AddedRows.h"

namespace zmt {

namespace {

struct TextRow {
    int row;
    const char16_t* german;
    const char16_t* english;
};

// Every filled row of the table; rows not listed stay empty in both languages. The texts
// are the program's own, blanks and typing slips included: the meter's users know them.
constexpr TextRow kTextRows[] = {
    {0, u"ZMT digitales Messgerät 48x24   Programmierung  V6.01",
     u"ZMT digital display 48x24    configuration  V6.01"},
    {1, u"&Datei", u"&File"},
    {2, u"&Kommunikation", u"&communication"},
    {3, u"Sprache/language: D", u"language/Sprache: E"},
    {4, u"&Hilfe", u"&Help"},
    {5, u"&Laden Einstellung", u"&load configuration"},
    {6, u"&Speichern Einstellung", u"&save configuration"},
    {7, u"E&xit Programm (Ende)", u"e&xit program (quit)"},
    {8, u"&Lesen Geräteparameter", u"&read device configuration"},
    {9, u"&Parameter neu programmieren", u"&write device configuration"},
    {10, u"&Kalibrieren und neu parametrieren", u"&calibrate and write device configuration"},
    {12, u"&Hilfe", u"&Help"},
    {13, u"&Info", u"&about"},
    {20, u" Eingangsbereich ", u" input range "},
    {21, u"Geräte-Typ:", u"type:"},
    {22, u" Dezimalpunkt ", u" decimal point "},
    {23, u"ohne", u"none"},
    {24, u" Grenzwert-Kontakt/LED ", u" limit contact/LED "},
    {25, u" Anzeige-Parametrierung ", u" display scaling "},
    {26, u"Art:", u"type:"},
    {27, u"Anzeige:", u"polarity:"},
    {28, u"Eingangssignal", u"input signal"},
    {29, u"Anzeige", u"display"},
    {30, u"wird angezeigt als:", u"to be displayed as:"},
    {31, u"Test der gewählten Konfiguration", u"test of desired configuration"},
    {32, u"Messgerät an", u"device power on"},
    {33, u"ext. Signal an", u"ext. signal pass"},
    {34, u"Parameter auslesen", u"read configuration"},
    {35, u"Gerät parametrieren", u"write configuration"},
    {36, u"Gerät kalibrieren und parametrieren", u"calibrate and write device configuration"},
    {40, u" aktuelles Parameterfile", u" configuration file"},
    {41, u" Gerätetyp auswählen (maximaler analoger Eingangswert - siehe Typenschild)",
     u" choose device type (max. signal input - see manual)"},
    {42, u" Position des Dezimalpunktes festsetzen", u" set position of decimal point"},
    {43, u" Hinweis:", u" hint:"},
    {44,
     u"die Geräte-Typ-Angabe hat keinen Einfluß auf die Gerätefunktion sondern ist nur eine "
     u"Hilfsgröße für die Parametereingabe!",
     u"choosing the type has no influence on the device functionality! It just eases the "
     u"configuration!"},
    {45, u"gewählte Spracheinstellung: Deutsch", u"chosen language: english"},
    {46, u"keine Berechnung möglich", u"math error"},
    {47,
     u"!!!WARNUNG!!! Werte negativer als -1999 werden am Gerät baurtbedingt ohne MINUS angezeigt "
     u"!!!",
     u"!!!WARNING!!! values below -1999 are shown without\"-\""},
    {48, u"Wert war außerhalb des gültigen Bereichs!", u"value exceeds valid data!"},
    {49, u"die Eingangswerte müssen unterschiedlich sein!",
     u"the input values have to be different"},
    {50, u"Eingabefehler", u"no valid input data"},
    {51, u" hier einen analogen Eingangswert (1) eingeben!", u" choose value of analog input (1)!"},
    {52, u" hier einen analogen Eingangswert (2) eingeben!", u" choose value of analog input (2)!"},
    {53, u" digitale Anzeige bei analogem Eingangswert (1)",
     u" displayed value at analog input (1)!"},
    {54, u" digitale Anzeige bei analogem Eingangswert (2)",
     u" displayed value at analog input (2)!"},
    {55, u"Anzeige von Statusmeldungen", u"general information"},
    {56,
     u" beliebiger analoger Eingangswert zur Überprüfung der aktuellen Einstellungen (Parameter)",
     u" check displayed data at this analog input"},
    {57, u" Meßgerät kalibrieren (ohne Parameter zu verändern)",
     u" calibrate device (without changing the configuration)"},
    {58, u" Meßgerät parametrieren (angezeigte Konfiguration als Paramter übernehmen)",
     u" configure device (send this configuration to device)"},
    {59, u" Meßgerät kalibrieren und mit angezeigter Konfiguration paramtrieren",
     u" calibrate device and send this configuration to the device"},
    {60, u" parametrierte Anzeige für gewählten Eingangswert",
     u" displayed data at device for the selected input value"},
    {61, u" ausgewählte Schnittstelle seriell: ", u" selected serial COMport: "},
    {62, u" momentan ausgewählte serielle Schnittstelle",
     u" selected serial port for communication to the device"},
    {63, u" Die Datei %s  existiert bereits !!!  Überschreiben ?",
     u" the file %s already exists ! Overwrite ?"},
    {64, u"Einstellungen wurden gespeichert", u"configuration saved"},
    {65, u"Einstellungen geladen", u"reading configuration ready"},
    {66, u" digitale Anzeige, ab welcher der Grenzkontakt einschaltet",
     u" displayed data when limit contact is switching on"},
    {67, u" digitale Anzeige, ab welcher der Grenzkontakt ausschaltet",
     u" displayed data when limit contact is switching off"},
    {68, u" digitale Anzeige(ohne Dezimalpunkt), ab welcher der Grenzkontakt einschaltet",
     u" displayed data (dezimal point ignored) when limit contact is switching on"},
    {69, u" digitale Anzeige(ohne Dezimalpunkt), ab welcher der Grenzkontakt ausschaltet",
     u" displayed data (dezimal point ignored) when limit contact is switching off"},
    {70, u" Anzeigebereich  -  Momentan: positive und negative Werte",
     u" diplayed data range - currently: positive and negative values"},
    {71,
     u" Anzeigebereich  -  Momentan: nur positive Werte; negative  Werte werden als 0 angezeigt!",
     u" displayed data range - currently: only positive values; negative values are shown as "
     u"\"0\""},
    {72,
     u" Verhalten des Grenzwertkontaktes  -  Momentan: Kontakt geschlossen oberhalb der "
     u"Einstellgrenze",
     u" usage of limit contact - currently: closed above the limit"},
    {73,
     u" Verhalten des Grenzwertkontaktes  -  Momentan: Kontakt geschlossen unterhalb der "
     u"Einstellgrenze",
     u" usage of limit contact - currently: closed below the limit"},
    {74, u" Verhalten des Grenzwertkontaktes  -  Momentan: Grenzwertkontakt deaktiviert",
     u" usage of limit contact - currently: not used -> no action"},
    {75, u"gewähltes Verhalten des Grenzkontaktes:", u"usage of limit contact:"},
    {76, u"  Kontakt ON bei Anzeige <= ", u"  contact ON at display <= "},
    {77, u"  Kontakt OFF bei Anzeige >= ", u"  contact OFF at display >= "},
    {78, u"  Kontakt ON bei Anzeige >= ", u"  contact ON at display >= "},
    {79, u"  Kontakt OFF bei Anzeige <= ", u"  contact OFF at display <= "},
    {80, u" Grenzwert-Kontaktzustand (und LED-Anzeige) bei angegebenem Wert",
     u" state of limit contact (and LED) at tested value"},
    {81, u" Meßgeräteparameter auslesen (und als Vorgabeparameter übernehmen)",
     u" read device configuration"},
    {82, u"  kann nicht geöffnet werden", u"  -error opening port-"},
    {83, u" (eventuell bereits belegt)", u" (perhaps already in use)"},
    {84,
     u" wenn diese Funktion ausgewählt ist, dann wird das Messgerät an die Betriebsspannung gelegt",
     u" device is powered if checkbox selected"},
    {85,
     u" wenn diese Funktion ausgewählt ist, dann wird das externe Kalibriersignal zum Meßgerät "
     u"durchgeschalten",
     u" external calibration signal is connected to the device, if checkbox selected"},
    {100, u"Abbruch", u"cancel"},
    {101, u"nochmal", u"repeat"},
    {102, u"fertig", u"ready"},
    {103, u"Kalibrier- und Parametrierdaten neu programmieren?",
     u"calibrate device and transfer new configuration?"},
    {104, u"Parametrierdaten neu programmieren?", u"transfer new configuration?"},
    {105, u"Kalibrierdaten neu programmieren?", u"calibrate device?"},
    {106, u"Gerät auslesen?", u"read device configuration?"},
    {107, u"Lese Daten von ", u"reading data from "},
    {108, u"Gerät auslesen", u"read device configuration"},
    {109, u"Kalibrier- und Parametrierdaten neu programmieren",
     u"calibrate device and transfer new configuration"},
    {110, u"Parametrierdaten neu programmieren", u"transfer new configuration"},
    {111, u"Übertragungsstrecke... O.K.", u"connection... o.k."},
    {112, u"Daten... O.K.", u"data... o.k."},
    {113, u"Übertragungsstrecke... O.K.", u"connection... o.k."},
    {114, u"Daten... O.K.", u"data... o.k."},
    {115, u"Fehler Empfang", u"receive error"},
    {116, u"Fehler auf Übertragungsstrecke", u"transmission error"},
    {117, u"kein Interface gefunden auf ", u"could not find interface at "},
    {118, u"ausgelesene Daten wurden als Vorgabeparameter übernommen",
     u"received configuration transfered to desktop"},
    {119, u"Rundungsfehler möglich!", u""},
    {120, u"Das Gerät wurde mit den Vorgabewerten erfolgreich parametriert!",
     u"device configuration successfull"},
    {121, u"Offset-Abgleich", u"adjust offset"},
    {122, u"Bitte auf einen stabilen Anzeigewert warten (dauert wenige Sekunden)!",
     u"please wait for the reading to stabilize! "},
    {123, u"Danach mit Eingabetaste (ENTER) bestätigen!", u"Then press ENTER"},
    {124, u"Gerät erfolgreich kalibriert und parametriert",
     u"device calibration and configuration successfull"},
    {125, u"Verstärkungs-Abgleich", u"adjust scale factor"},
    {126, u"Gerät reprogrammieren...", u"reprogram device..."},
    {127, u"Gerät initialisieren...", u"initialize device"},
    {128, u"Gerät parametrieren...", u"write configuration..."},
    {129, u"Schreibe Daten auf ", u"write data to "},
    {130, u"Offset wird kalibriert...", u"calibrating offset..."},
    {131, u"Verstärkung wird kalibriert...", u"calibrating scale factor..."},
    {132, u"Vorgabeparameter werden übernommen", u"configuration received"},
    {133, u"Offset wird kalibriert...", u"calibrating offset"},
    {134, u"Bitte Anzeige am Gerät ablesen:", u"fill in displayed data at device:"},
    {135, u"nicht benutzt", u"not used"},

    // ---- rows added after the original table (names in AddedRows.h) ----
    {rows::EntryInput1, u"Eingang (1)", u"input (1)"},
    {rows::EntryDisplay1, u"Anzeige (1)", u"display (1)"},
    {rows::EntryInput2, u"Eingang (2)", u"input (2)"},
    {rows::EntryDisplay2, u"Anzeige (2)", u"display (2)"},
    {rows::EntryLimitOn, u"Grenzwert ON", u"limit ON"},
    {rows::EntryLimitOff, u"Grenzwert OFF", u"limit OFF"},
    {rows::EntryNotANumber, u"%1: \"%2\" ist keine Zahl", u"%1: \"%2\" is not a number"},
    {rows::EntryNotAWholeNumber, u"%1: \"%2\" ist keine ganze Zahl",
     u"%1: \"%2\" is not a whole number"},
    {rows::NoDeviceTypeChosen, u"kein Geräte-Typ gewählt", u"no device type chosen"},
    {rows::ReadingOutOfRange, u"Anzeigewert außerhalb des gültigen Bereichs",
     u"reading out of range"},
    {rows::ReadingIsZero, u"Anzeige 0: ist das Kalibriersignal angeschlossen?",
     u"reading 0: is the calibration signal connected?"},
    {rows::GainFactorOutOfRange, u"Verstärkungsfaktor außerhalb des gültigen Bereichs",
     u"gain factor out of range"},
    {rows::PortPermissionDenied, u"  Keine Berechtigung: Benutzer muss zur Gruppe dialout gehören",
     u"  permission denied: the user must be in the group dialout"},
    {rows::BadSettingsFileHeading,
     u" Einstellungsdatei %1 fehlerhaft, sie wird beim Beenden ersetzt:",
     u" settings file %1 is invalid, it is replaced at exit:"},
    {rows::SettingsTooFewLines, u"Einstellungsdatei hat %1 Zeilen; mindestens %2 sind nötig",
     u"Settings file has %1 lines; at least %2 are needed"},
    {rows::SettingsLineNotAnInteger, u"Einstellungszeile %1: '%2' ist keine ganze Zahl",
     u"Settings line %1: '%2' is not an integer"},
    {rows::SettingsLineNoDeviceType, u"Einstellungszeile %1: '%2' ist kein Geräte-Typ (-1 bis 5)",
     u"Settings line %1: '%2' is not a device type (-1 to 5)"},
    {rows::SettingsValueUnreadable, u"%1: ein Wert ist nicht lesbar: %2",
     u"%1: a value cannot be read: %2"},
    {rows::FileDoesNotExist, u"%1: die Datei existiert nicht", u"%1: the file does not exist"},
    {rows::FileIsAFolder, u"%1: dies ist ein Ordner, keine Datei",
     u"%1: this is a folder, not a file"},
    {rows::FileIsNotRegular, u"%1: dies ist keine gewöhnliche Datei",
     u"%1: this is not a regular file"},
    {rows::FileTooLarge, u"%1: die Datei ist zu groß für eine Einstellungsdatei",
     u"%1: the file is too large for a settings file"},
    {rows::FileCannotBeRead, u"%1: kann nicht gelesen werden (%2)", u"%1: cannot be read (%2)"},
    {rows::FileCannotBeWritten, u"%1: kann nicht geschrieben werden (%2)",
     u"%1: cannot be written (%2)"},
};

bool IsCell(int row, int languageIndex) {
    return row >= 0 && row < LanguageText::RowCount && languageIndex >= 0 &&
           languageIndex < LanguageText::ColumnCount;
}

}  // namespace

void LanguageText::FillLanguageText() {
    for (const TextRow& entry : kTextRows) {
        cells_[entry.row][0] = QString::fromUtf16(entry.german);
        cells_[entry.row][1] = QString::fromUtf16(entry.english);
    }
}

QString LanguageText::text(int row, int languageIndex) const {
    if (!IsCell(row, languageIndex)) return {};
    return cells_[row][languageIndex];
}

}  // namespace zmt
