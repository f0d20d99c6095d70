#pragma once

// The main window's controls as the layout builds them, each under its form name: the
// window's code reaches every control through these pointers, never by looking a name up.

#include "editor/ConfigModel.h"

#include <array>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMainWindow;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class QWidget;

namespace zmt {

class MaskedEdit;

struct Form1Controls {
    struct FieldBinding {
        Field field;
        MaskedEdit* edit;
    };
    // The decimal point radio buttons and the code each one selects.
    struct DecimalPointButton {
        QRadioButton* radio;
        int code;
    };

    // The menu.
    QMenu* Datei1 = nullptr;
    QAction* Laden1 = nullptr;
    QAction* Speichern1 = nullptr;
    QAction* KonfigBlattDrucken1 = nullptr;
    QAction* KonfigBlattPdf1 = nullptr;
    QAction* Journal1 = nullptr;
    QAction* Quit1 = nullptr;
    QMenu* Kommunikation1 = nullptr;
    QAction* MenueAuslesen = nullptr;
    QAction* MenueParametrieren = nullptr;
    QAction* MenueKalPar = nullptr;
    QAction* MenueVergleichen = nullptr;
    std::array<QAction*, 4> comItems{};  // COM1..COM4 under "COM-Port Setup"
    QAction* Serie1 = nullptr;
    QAction* PortAssign1 = nullptr;
    QAction* MLanguage = nullptr;
    QMenu* Hilfe1 = nullptr;
    QAction* Hilfe2 = nullptr;
    QAction* About1 = nullptr;

    // The configuration panel.
    QWidget* Panel1 = nullptr;
    QGroupBox* RangeBox = nullptr;
    QLabel* Typ = nullptr;
    QComboBox* SelectRange = nullptr;
    QGroupBox* PunktBox = nullptr;
    std::array<DecimalPointButton, 5> decimalPoints{};
    QLabel* ohnelabel = nullptr;
    QGroupBox* GrenzkontaktBox = nullptr;
    QLabel* artlabel = nullptr;
    QToolButton* Grenzwertart = nullptr;
    QGroupBox* Skalierbox = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* anzeigelabel = nullptr;
    QToolButton* polaritaet = nullptr;
    std::array<QLabel*, 3> units{};  // Einheit1..Einheit3
    std::array<FieldBinding, 7> fields{};
    // The test panel.
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    MaskedEdit* Testout1 = nullptr;
    QToolButton* kontaktbild = nullptr;

    // Status, switches and operation buttons.
    QPlainTextEdit* Mem = nullptr;
    QLabel* FileInfo = nullptr;
    QLabel* ComInfo = nullptr;
    QLabel* HelpPanel = nullptr;
    QCheckBox* switchpower = nullptr;
    QCheckBox* switchsignal = nullptr;
    QPushButton* Readbutt = nullptr;
    QPushButton* Skalbutt = nullptr;
    QPushButton* KalParButt = nullptr;
    QPushButton* Kalbutt = nullptr;
    QPlainTextEdit* dateimem = nullptr;
    QLabel* Image1 = nullptr;
    // The hidden glyph templates, indexed by Glyph.
    std::array<QToolButton*, 7> templates{};

    MaskedEdit* field(Field which) const { return fields[static_cast<int>(which)].edit; }
};

// Builds the main window's controls, menu and design captions on `window`.
Form1Controls BuildForm1Controls(QMainWindow& window);

}  // namespace zmt
