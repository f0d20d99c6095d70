// Building the main window's controls: positions, design captions, masks and timers.
#include "common/MakeWidget.h"
#include "common/WheelNeedsFocus.h"
#include "editor/ComNames.h"
#include "editor/Form1Controls.h"
#include "editor/MaskedEdit.h"
#include "editor/ZMT1Pictures.h"

#include "language/MakerAddress.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace zmt {

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& text) {
    auto* label = MakeWidget<QLabel>(parent, name, geometry);
    label->setText(text);
    return label;
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, const QRect& geometry,
                     const QString& title) {
    auto* group = MakeWidget<QGroupBox>(parent, name, geometry);
    group->setTitle(title);
    return group;
}

QFrame* MakePanel(QWidget* parent, const char* name, const QRect& geometry) {
    auto* panel = MakeWidget<QFrame>(parent, name, geometry);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    return panel;
}

QLabel* MakeInfoPanel(QWidget* parent, const char* name, const QRect& geometry) {
    auto* panel = MakeWidget<QLabel>(parent, name, geometry);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return panel;
}

QToolButton* MakeGlyphButton(QWidget* parent, const char* name, const QRect& geometry) {
    auto* button = MakeWidget<QToolButton>(parent, name, geometry);
    button->setAutoRaise(true);  // flat, and like a speed button a click leaves the focus
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// A glyph button that sets something: Tab reaches it and Space toggles it, while a click
// still leaves the focus in the field being edited (whose exit rule would run otherwise).
QToolButton* MakeSettingGlyphButton(QWidget* parent, const char* name, const QRect& geometry) {
    QToolButton* button = MakeGlyphButton(parent, name, geometry);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

void SetRedBold(QWidget* widget) {
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::ButtonText, Qt::red);
    palette.setColor(QPalette::Text, Qt::red);
    widget->setPalette(palette);
}

// Client area below the menu bar; the help line sits at its foot.
constexpr int kClientWidth = 600;
constexpr int kClientHeight = 430;

// Builds the controls into `c`, the design captions first; the language puts its own on
// them after.
class Form1Layout {
  public:
    explicit Form1Layout(QMainWindow& window) : window_(window) {}
    Form1Controls build();

  private:
    QWidget* buildConfigurationPanel(QWidget* parent);
    void buildRangeBox(QWidget* parent);
    void buildPunktBox(QWidget* parent);
    void buildGrenzkontaktBox(QWidget* parent);
    void buildSkalierbox(QWidget* parent);
    void buildTestPanel(QWidget* parent);
    void buildStatusArea(QWidget* parent);
    void buildSwitchesAndButtons(QWidget* parent);
    void buildLogo(QWidget* parent);
    void buildTemplates(QWidget* parent);
    void buildMenu();
    MaskedEdit* addField(Field field, const QString& name, FieldMask mask, QWidget* parent,
                         const QRect& geometry);

    QMainWindow& window_;
    Form1Controls c_;
};

Form1Controls Form1Layout::build() {
    window_.setObjectName(QStringLiteral("Form1"));
    window_.setWindowTitle(
        QString::fromUtf8("ZMT digitales Messgerät 48x24   Programmierung   V6.01"));
    // Unnamed on purpose: the pointer over the free client area counts as the window's.
    auto* client = new QWidget(&window_);
    client->setFixedSize(kClientWidth, kClientHeight);
    window_.setCentralWidget(client);
    c_.Panel1 = buildConfigurationPanel(client);
    buildStatusArea(client);
    buildSwitchesAndButtons(client);
    buildLogo(client);
    buildTemplates(client);
    buildMenu();
    window_.setFixedSize(kClientWidth, kClientHeight + window_.menuBar()->sizeHint().height());
    return c_;
}

QWidget* Form1Layout::buildConfigurationPanel(QWidget* parent) {
    auto* panel = MakeWidget<QFrame>(parent, "Panel1", QRect(0, 0, 600, 250));
    panel->setFocusPolicy(Qt::ClickFocus);  // a load hands the focus here; Tab passes it by
    buildRangeBox(panel);
    buildPunktBox(panel);
    buildGrenzkontaktBox(panel);
    buildSkalierbox(panel);
    buildTestPanel(panel);
    return panel;
}

void Form1Layout::buildRangeBox(QWidget* parent) {
    c_.RangeBox = MakeGroup(parent, "RangeBox", QRect(8, 2, 184, 54), " Eingangsbereich ");
    QGroupBox* box = c_.RangeBox;
    c_.Typ = MakeLabel(box, "Typ", QRect(10, 24, 72, 16), QString::fromUtf8("Geräte-Typ:"));
    c_.SelectRange = MakeWidget<QComboBox>(box, "SelectRange", QRect(84, 20, 90, 22));
    for (const DeviceType& type : DeviceTypes) c_.SelectRange->addItem(type.itemText);
    c_.SelectRange->setCurrentIndex(-1);
    WheelNeedsFocus::Apply(c_.SelectRange);
}

void Form1Layout::buildPunktBox(QWidget* parent) {
    c_.PunktBox = MakeGroup(parent, "PunktBox", QRect(8, 58, 184, 104), " Dezimalpunkt ");
    QGroupBox* box = c_.PunktBox;
    auto* image2 = MakeWidget<QLabel>(box, "Image2", QRect(10, 18, 164, 46));
    image2->setPixmap(DisplayPicture());
    // DP1..DP4 sit under the points after the first to fourth digit of the picture.
    // Each selects the code of its point: DP1 3 ... DP4 0, DP0 (none) 4.
    const char* names[] = {"DP1", "DP2", "DP3", "DP4"};
    for (int digit = 0; digit < 4; ++digit) {
        auto* radio =
            MakeWidget<QRadioButton>(box, names[digit], QRect(40 + digit * 38, 66, 18, 18));
        c_.decimalPoints[digit] = {radio, 3 - digit};
    }
    c_.decimalPoints[4] = {MakeWidget<QRadioButton>(box, "DP0", QRect(12, 84, 18, 18)), 4};
    c_.ohnelabel = MakeLabel(box, "ohnelabel", QRect(32, 85, 60, 16), " ohne ");
}

void Form1Layout::buildGrenzkontaktBox(QWidget* parent) {
    c_.GrenzkontaktBox =
        MakeGroup(parent, "GrenzkontaktBox", QRect(8, 166, 184, 80), " Grenzwert-Kontakt/LED ");
    QGroupBox* box = c_.GrenzkontaktBox;
    c_.artlabel = MakeLabel(box, "artlabel", QRect(10, 30, 30, 16), "Art:");
    c_.Grenzwertart = MakeSettingGlyphButton(box, "Grenzwertart", QRect(40, 24, 50, 28));
    c_.Grenzwertart->setIconSize(QSize(44, 22));
    MakeLabel(box, "Label12", QRect(98, 24, 30, 16), "ON:");
    MakeLabel(box, "Label15", QRect(98, 52, 30, 16), "OFF:");
    addField(Field::RelaisOn, "RelaisOn", FieldMask::DigitsAndSigns, box, QRect(128, 20, 48, 22));
    addField(Field::RelaisOff, "RelaisOff", FieldMask::DigitsAndSigns, box, QRect(128, 48, 48, 22));
    // The limit type comes after its two thresholds, though it stands before them.
    QWidget::setTabOrder(c_.field(Field::RelaisOff), c_.Grenzwertart);
}

void Form1Layout::buildSkalierbox(QWidget* parent) {
    c_.Skalierbox =
        MakeGroup(parent, "Skalierbox", QRect(200, 2, 392, 122), " Anzeige-Parametrierung ");
    QGroupBox* box = c_.Skalierbox;
    c_.Label1 = MakeLabel(box, "Label1", QRect(40, 18, 110, 16), "Eingangssignal");
    c_.Label2 = MakeLabel(box, "Label2", QRect(260, 18, 100, 16), "Anzeige");
    const QString displayedAs = QStringLiteral("wird angezeigt als :");
    MakeLabel(box, "Label3", QRect(12, 42, 24, 16), "(1)");
    addField(Field::Skalin1, "Skalin1", FieldMask::AnyCharacter, box, QRect(40, 38, 60, 22));
    c_.units[0] = MakeLabel(box, "Einheit1", QRect(104, 42, 30, 16), "mA");
    c_.Label5 = MakeLabel(box, "Label5", QRect(138, 42, 118, 16), displayedAs);
    addField(Field::Skalout1, "Skalout1", FieldMask::DigitsAndSigns, box, QRect(260, 38, 60, 22));
    MakeLabel(box, "Label11", QRect(12, 70, 24, 16), "(2)");
    addField(Field::Skalin2, "Skalin2", FieldMask::AnyCharacter, box, QRect(40, 66, 60, 22));
    c_.units[1] = MakeLabel(box, "Einheit2", QRect(104, 70, 30, 16), "mA");
    c_.Label6 = MakeLabel(box, "Label6", QRect(138, 70, 118, 16), displayedAs);
    addField(Field::Skalout2, "Skalout2", FieldMask::DigitsAndSigns, box, QRect(260, 66, 60, 22));
    c_.anzeigelabel = MakeLabel(box, "anzeigelabel", QRect(12, 98, 60, 16), "Anzeige:");
    c_.polaritaet = MakeSettingGlyphButton(box, "polaritaet", QRect(72, 94, 50, 22));
    c_.polaritaet->setText("+ / -");
    SetRedBold(c_.polaritaet);
}

void Form1Layout::buildTestPanel(QWidget* parent) {
    auto* panel = MakePanel(parent, "Panel2", QRect(200, 128, 392, 118));
    c_.Label8 = MakeLabel(panel, "Label8", QRect(10, 8, 300, 16),
                          QString::fromUtf8("Test der gewählten Konfiguration"));
    QFont bold = c_.Label8->font();
    bold.setBold(true);
    c_.Label8->setFont(bold);
    c_.Label7 = MakeLabel(panel, "Label7", QRect(40, 36, 110, 16), "Eingangssignal");
    c_.Label9 = MakeLabel(panel, "Label9", QRect(260, 36, 100, 16), "Anzeige");
    addField(Field::Testin1, "Testin1", FieldMask::AnyCharacter, panel, QRect(40, 56, 60, 22));
    c_.units[2] = MakeLabel(panel, "Einheit3", QRect(104, 60, 30, 16), "mA");
    c_.Label10 = MakeLabel(panel, "Label10", QRect(138, 60, 118, 16), "wird angezeigt als :");
    c_.Testout1 = new MaskedEdit(QStringLiteral("Testout1"), FieldMask::AnyCharacter, panel);
    c_.Testout1->setGeometry(260, 56, 66, 22);
    c_.Testout1->setMaxLength(32767);  // a long result is shown whole rather than cut
    c_.Testout1->setReadOnly(true);
    c_.Testout1->setFocusPolicy(Qt::NoFocus);
    SetRedBold(c_.Testout1);
    c_.kontaktbild = MakeGlyphButton(panel, "kontaktbild", QRect(340, 50, 34, 34));
    c_.kontaktbild->setIconSize(QSize(26, 26));
}

void Form1Layout::buildStatusArea(QWidget* parent) {
    auto* message = MakePanel(parent, "Message", QRect(8, 252, 238, 130));
    c_.Mem = MakeWidget<QPlainTextEdit>(message, "Mem", QRect(2, 2, 234, 126));
    c_.Mem->setReadOnly(true);
    c_.Mem->setFocusPolicy(Qt::NoFocus);
    // Long messages wrap: the memo is narrow and the user reads it without scrolling sideways.
    c_.Mem->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    c_.Mem->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    c_.FileInfo = MakeInfoPanel(parent, "FileInfo", QRect(8, 386, 490, 18));
    c_.ComInfo = MakeInfoPanel(parent, "ComInfo", QRect(504, 386, 88, 18));
    c_.ComInfo->setText("COM1");
    c_.HelpPanel = MakeInfoPanel(parent, "HelpPanel", QRect(16, 408, 561, 17));
    c_.HelpPanel->setAutoFillBackground(true);
    QPalette silver = c_.HelpPanel->palette();
    silver.setColor(QPalette::Window, QColor(192, 192, 192));
    c_.HelpPanel->setPalette(silver);
}

void Form1Layout::buildSwitchesAndButtons(QWidget* parent) {
    auto* panel3 = MakePanel(parent, "Panel3", QRect(252, 252, 260, 24));
    c_.switchpower = MakeWidget<QCheckBox>(panel3, "switchpower", QRect(6, 3, 248, 18));
    c_.switchpower->setText(QString::fromUtf8("Messgerät an"));
    c_.switchpower->setChecked(true);
    auto* panel5 = MakePanel(parent, "Panel5", QRect(252, 278, 260, 24));
    c_.switchsignal = MakeWidget<QCheckBox>(panel5, "switchsignal", QRect(6, 3, 248, 18));
    c_.switchsignal->setText("ext. Signal an");
    c_.switchsignal->setChecked(true);
    c_.Readbutt = MakeWidget<QPushButton>(parent, "Readbutt", QRect(252, 306, 260, 24));
    c_.Readbutt->setText("Parameter auslesen");
    c_.Skalbutt = MakeWidget<QPushButton>(parent, "Skalbutt", QRect(252, 332, 260, 24));
    c_.Skalbutt->setText(QString::fromUtf8("Gerät parametrieren"));
    QFont bold = c_.Skalbutt->font();
    bold.setBold(true);
    c_.Skalbutt->setFont(bold);
    c_.KalParButt = MakeWidget<QPushButton>(parent, "KalParButt", QRect(252, 358, 260, 24));
    c_.KalParButt->setText(QString::fromUtf8("Gerät kalibrieren und parametrieren"));
    c_.Kalbutt = MakeWidget<QPushButton>(parent, "Kalbutt", QRect(252, 358, 260, 24));
    c_.Kalbutt->setText(QString::fromUtf8("Gerät kalibrieren"));
    c_.Kalbutt->setVisible(false);
}

void Form1Layout::buildLogo(QWidget* parent) {
    // The settings list lies hidden behind the logo panel.
    c_.dateimem = MakeWidget<QPlainTextEdit>(parent, "dateimem", QRect(518, 252, 74, 130));
    c_.dateimem->setVisible(false);
    auto* panel4 = MakePanel(parent, "Panel4", QRect(518, 252, 74, 130));
    c_.Image1 = MakeWidget<QLabel>(panel4, "Image1", QRect(1, 13, 72, 104));
    c_.Image1->setPixmap(LogoPicture());
    c_.Image1->setToolTip(MakerWebSiteAddress());
}

void Form1Layout::buildTemplates(QWidget* parent) {
    const std::pair<Glyph, const char*> templates[] = {{Glyph::gwnorm, "gwnorm"},
                                                       {Glyph::gwinv, "gwinv"},
                                                       {Glyph::gwno, "gwno"},
                                                       {Glyph::kontaktonbild, "kontaktonbild"},
                                                       {Glyph::kontaktoffbild, "kontaktoffbild"},
                                                       {Glyph::kontaktnobild, "kontaktnobild"}};
    for (const auto& [glyph, name] : templates) {
        auto* button = MakeGlyphButton(parent, name, QRect(0, 0, 1, 1));
        button->setIcon(GlyphPicture(glyph));
        button->setVisible(false);
        c_.templates[static_cast<int>(glyph)] = button;
    }
}

MaskedEdit* Form1Layout::addField(Field field, const QString& name, FieldMask mask, QWidget* parent,
                                  const QRect& geometry) {
    auto* edit = new MaskedEdit(name, mask, parent);
    edit->setGeometry(geometry);
    c_.fields[static_cast<int>(field)] = {field, edit};
    return edit;
}

void Form1Layout::buildMenu() {
    QMenuBar* bar = window_.menuBar();
    bar->setObjectName("MainMenu1");  // a name without help binding: the line stays
    auto addItem = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    auto addMenu = [bar](const char* name, const QString& title) {
        QMenu* menu = bar->addMenu(title);
        menu->setObjectName(QString::fromLatin1(name));
        return menu;
    };
    auto addBarItem = [bar](const char* name, const QString& caption, bool enabled) {
        QAction* action = bar->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setEnabled(enabled);
        return action;
    };

    QMenu* datei = c_.Datei1 = addMenu("Datei1", "&Datei");
    c_.Laden1 = addItem(datei, "Laden1", "&Laden Einstellung");
    c_.Speichern1 = addItem(datei, "Speichern1", "&Speichern Einstellung");
    datei->addSeparator();
    c_.Journal1 = addItem(datei, "Journal1", "&Protokoll...");
    c_.KonfigBlattDrucken1 =
        addItem(datei, "KonfigBlattDrucken1", "Konfigurationsblatt &drucken...");
    c_.KonfigBlattPdf1 =
        addItem(datei, "KonfigBlattPdf1", "Konfigurationsblatt als &PDF speichern...");
    datei->addSeparator();
    c_.Quit1 = addItem(datei, "Quit1", "E&xit Programm  (Ende)");

    QMenu* kommunikation = c_.Kommunikation1 = addMenu("Kommunikation1", "&Kommunikation");
    c_.MenueAuslesen =
        addItem(kommunikation, "MenueAuslesen", QString::fromUtf8("&Lesen Geräteparameter"));
    c_.MenueParametrieren =
        addItem(kommunikation, "MenueParametrieren", "&Parameter neu programmieren");
    c_.MenueKalPar =
        addItem(kommunikation, "MenueKalPar", "&Kalibrieren und Parameter programmieren");
    c_.MenueVergleichen =
        addItem(kommunikation, "MenueVergleichen", QString::fromUtf8("Mit Gerät &vergleichen"));
    kommunikation->addSeparator();
    QMenu* setup = kommunikation->addMenu("&COM-Port Setup");
    setup->setObjectName("CommPortSetup1");
    setup->setToolTipsVisible(true);  // each port's tooltip says what it opens
    auto* group = new QActionGroup(&window_);
    const char* comNames[] = {"COM11", "COM21", "COM31", "COM41"};
    for (int n = 1; n <= 4; ++n) {
        QAction* item = addItem(setup, comNames[n - 1], ComName(n));
        item->setCheckable(true);
        group->addAction(item);
        c_.comItems[n - 1] = item;
    }
    c_.comItems[0]->setChecked(true);
    c_.Serie1 = addItem(kommunikation, "Serie1", "Serienprogrammierung...");
    c_.PortAssign1 = addItem(kommunikation, "PortAssign1", "Schnittstellen zuordnen...");

    addBarItem("N4", "   ", false);
    c_.MLanguage = addBarItem("MLanguage", "Sprache/Language D", true);
    addBarItem("N3", "      ", false);
    QMenu* hilfe = c_.Hilfe1 = addMenu("Hilfe1", "&Hilfe");
    c_.Hilfe2 = addItem(hilfe, "Hilfe2", "&Hilfe");
    hilfe->addSeparator();
    c_.About1 = addItem(hilfe, "About1", "&About");
}

}  // namespace

Form1Controls BuildForm1Controls(QMainWindow& window) {
    return Form1Layout(window).build();
}

}  // namespace zmt
