#include "editor/Form1Controls.h"

#include "editor/MaskedEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <gtest/gtest.h>

#include <vector>

namespace zmt {
namespace {

// The window's code reaches the controls through the struct, tests and the help line by the
// form names: both must lead to the same control.
TEST(Form1Controls, EveryPointerIsTheControlOfItsFormName) {
    QMainWindow window;
    const Form1Controls c = BuildForm1Controls(window);
    const std::vector<std::pair<QObject*, const char*>> named = {
        {c.Datei1, "Datei1"},
        {c.Laden1, "Laden1"},
        {c.Speichern1, "Speichern1"},
        {c.KonfigBlattDrucken1, "KonfigBlattDrucken1"},
        {c.KonfigBlattPdf1, "KonfigBlattPdf1"},
        {c.Quit1, "Quit1"},
        {c.Kommunikation1, "Kommunikation1"},
        {c.MenueAuslesen, "MenueAuslesen"},
        {c.MenueParametrieren, "MenueParametrieren"},
        {c.MenueKalPar, "MenueKalPar"},
        {c.MenueVergleichen, "MenueVergleichen"},
        {c.comItems[0], "COM11"},
        {c.comItems[3], "COM41"},
        {c.PortAssign1, "PortAssign1"},
        {c.MLanguage, "MLanguage"},
        {c.Hilfe1, "Hilfe1"},
        {c.Hilfe2, "Hilfe2"},
        {c.About1, "About1"},
        {c.Panel1, "Panel1"},
        {c.RangeBox, "RangeBox"},
        {c.Typ, "Typ"},
        {c.SelectRange, "SelectRange"},
        {c.PunktBox, "PunktBox"},
        {c.ohnelabel, "ohnelabel"},
        {c.GrenzkontaktBox, "GrenzkontaktBox"},
        {c.artlabel, "artlabel"},
        {c.Grenzwertart, "Grenzwertart"},
        {c.Skalierbox, "Skalierbox"},
        {c.Label1, "Label1"},
        {c.Label2, "Label2"},
        {c.Label5, "Label5"},
        {c.Label6, "Label6"},
        {c.anzeigelabel, "anzeigelabel"},
        {c.polaritaet, "polaritaet"},
        {c.units[0], "Einheit1"},
        {c.units[2], "Einheit3"},
        {c.field(Field::Skalin1), "Skalin1"},
        {c.field(Field::RelaisOff), "RelaisOff"},
        {c.field(Field::Testin1), "Testin1"},
        {c.Label7, "Label7"},
        {c.Label8, "Label8"},
        {c.Label9, "Label9"},
        {c.Label10, "Label10"},
        {c.Testout1, "Testout1"},
        {c.kontaktbild, "kontaktbild"},
        {c.Mem, "Mem"},
        {c.FileInfo, "FileInfo"},
        {c.ComInfo, "ComInfo"},
        {c.HelpPanel, "HelpPanel"},
        {c.switchpower, "switchpower"},
        {c.switchsignal, "switchsignal"},
        {c.Readbutt, "Readbutt"},
        {c.Skalbutt, "Skalbutt"},
        {c.KalParButt, "KalParButt"},
        {c.Kalbutt, "Kalbutt"},
        {c.dateimem, "dateimem"},
        {c.Image1, "Image1"},
        {c.templates[static_cast<int>(Glyph::gwinv)], "gwinv"},
    };
    for (const auto& [control, name] : named) {
        SCOPED_TRACE(name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(window.findChild<QObject*>(QString::fromLatin1(name)), control);
    }
    for (const Form1Controls::FieldBinding& binding : c.fields)
        EXPECT_EQ(c.field(binding.field), binding.edit);
}

TEST(Form1Controls, DecimalPointButtonsSelectTheirCodes) {
    QMainWindow window;
    const Form1Controls c = BuildForm1Controls(window);
    const std::pair<const char*, int> expected[] = {
        {"DP1", 3}, {"DP2", 2}, {"DP3", 1}, {"DP4", 0}, {"DP0", 4}};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(c.decimalPoints[i].radio->objectName(), QString::fromLatin1(expected[i].first));
        EXPECT_EQ(c.decimalPoints[i].code, expected[i].second);
    }
}

}  // namespace
}  // namespace zmt
