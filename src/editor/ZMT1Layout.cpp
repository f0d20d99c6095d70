// Building the main window's controls: positions, design captions, masks and timers.
#include "ComNames.h"
#include "MakeWidget.h"
#include "MaskedEdit.h"
#include "WheelNeedsFocus.h"
#include "ZMT1.h"
#include "ZMT1Pictures.h"

#include "MakerAddress.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
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
    button->setAutoRaise(true);  // flat, and like a speed button it never takes the focus
    button->setFocusPolicy(Qt::NoFocus);
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

}  // namespace

void TForm1::buildWindow() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8("ZMT digitales Messgerät 48x24   Programmierung   V6.01"));
    // Unnamed on purpose: the pointer over the free client area counts as the window's.
    auto* client = new QWidget(this);
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);
    Panel1_ = buildConfigurationPanel(client);
    buildStatusArea(client);
    buildSwitchesAndButtons(client);
    buildLogo(client);
    buildTemplates(client);
    buildMenu();
    buildTimers();
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
}

QWidget* TForm1::buildConfigurationPanel(QWidget* parent) {
    auto* panel = MakeWidget<QFrame>(parent, "Panel1", QRect(0, 0, 600, 250));
    panel->setFocusPolicy(Qt::ClickFocus);  // a load hands the focus here; Tab passes it by
    buildRangeBox(panel);
    buildPunktBox(panel);
    buildGrenzkontaktBox(panel);
    buildSkalierbox(panel);
    buildTestPanel(panel);
    return panel;
}

void TForm1::buildRangeBox(QWidget* parent) {
    auto* box = MakeGroup(parent, "RangeBox", QRect(8, 2, 184, 54), " Eingangsbereich ");
    MakeLabel(box, "Typ", QRect(10, 24, 72, 16), QString::fromUtf8("Geräte-Typ:"));
    SelectRange_ = MakeWidget<QComboBox>(box, "SelectRange", QRect(84, 20, 90, 22));
    for (const DeviceType& type : DeviceTypes) SelectRange_->addItem(type.itemText);
    SelectRange_->setCurrentIndex(-1);
    WheelNeedsFocus::Apply(SelectRange_);
}

void TForm1::buildPunktBox(QWidget* parent) {
    auto* box = MakeGroup(parent, "PunktBox", QRect(8, 58, 184, 104), " Dezimalpunkt ");
    auto* image2 = MakeWidget<QLabel>(box, "Image2", QRect(10, 18, 164, 46));
    image2->setPixmap(DisplayPicture());
    // DP1..DP4 sit under the points after the first to fourth digit of the picture.
    const char* names[] = {"DP1", "DP2", "DP3", "DP4"};
    for (int digit = 0; digit < 4; ++digit)
        MakeWidget<QRadioButton>(box, names[digit], QRect(40 + digit * 38, 66, 18, 18));
    MakeWidget<QRadioButton>(box, "DP0", QRect(12, 84, 18, 18));
    MakeLabel(box, "ohnelabel", QRect(32, 85, 60, 16), " ohne ");
}

void TForm1::buildGrenzkontaktBox(QWidget* parent) {
    auto* box =
        MakeGroup(parent, "GrenzkontaktBox", QRect(8, 166, 184, 80), " Grenzwert-Kontakt/LED ");
    MakeLabel(box, "artlabel", QRect(10, 30, 30, 16), "Art:");
    Grenzwertart_ = MakeGlyphButton(box, "Grenzwertart", QRect(40, 24, 50, 28));
    Grenzwertart_->setIconSize(QSize(44, 22));
    MakeLabel(box, "Label12", QRect(98, 24, 30, 16), "ON:");
    MakeLabel(box, "Label15", QRect(98, 52, 30, 16), "OFF:");
    addField(Field::RelaisOn, "RelaisOn", FieldMask::DigitsAndSigns, box, QRect(128, 20, 48, 22));
    addField(Field::RelaisOff, "RelaisOff", FieldMask::DigitsAndSigns, box, QRect(128, 48, 48, 22));
}

void TForm1::buildSkalierbox(QWidget* parent) {
    auto* box =
        MakeGroup(parent, "Skalierbox", QRect(200, 2, 392, 122), " Anzeige-Parametrierung ");
    MakeLabel(box, "Label1", QRect(40, 18, 110, 16), "Eingangssignal");
    MakeLabel(box, "Label2", QRect(260, 18, 100, 16), "Anzeige");
    const QString displayedAs = QStringLiteral("wird angezeigt als :");
    MakeLabel(box, "Label3", QRect(12, 42, 24, 16), "(1)");
    addField(Field::Skalin1, "Skalin1", FieldMask::AnyCharacter, box, QRect(40, 38, 60, 22));
    MakeLabel(box, "Einheit1", QRect(104, 42, 30, 16), "mA");
    MakeLabel(box, "Label5", QRect(138, 42, 118, 16), displayedAs);
    addField(Field::Skalout1, "Skalout1", FieldMask::DigitsAndSigns, box, QRect(260, 38, 60, 22));
    MakeLabel(box, "Label11", QRect(12, 70, 24, 16), "(2)");
    addField(Field::Skalin2, "Skalin2", FieldMask::AnyCharacter, box, QRect(40, 66, 60, 22));
    MakeLabel(box, "Einheit2", QRect(104, 70, 30, 16), "mA");
    MakeLabel(box, "Label6", QRect(138, 70, 118, 16), displayedAs);
    addField(Field::Skalout2, "Skalout2", FieldMask::DigitsAndSigns, box, QRect(260, 66, 60, 22));
    MakeLabel(box, "anzeigelabel", QRect(12, 98, 60, 16), "Anzeige:");
    polaritaet_ = MakeGlyphButton(box, "polaritaet", QRect(72, 94, 50, 22));
    polaritaet_->setText("+ / -");
    SetRedBold(polaritaet_);
}

void TForm1::buildTestPanel(QWidget* parent) {
    auto* panel = MakePanel(parent, "Panel2", QRect(200, 128, 392, 118));
    auto* title = MakeLabel(panel, "Label8", QRect(10, 8, 300, 16),
                            QString::fromUtf8("Test der gewählten Konfiguration"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    MakeLabel(panel, "Label7", QRect(40, 36, 110, 16), "Eingangssignal");
    MakeLabel(panel, "Label9", QRect(260, 36, 100, 16), "Anzeige");
    addField(Field::Testin1, "Testin1", FieldMask::AnyCharacter, panel, QRect(40, 56, 60, 22));
    MakeLabel(panel, "Einheit3", QRect(104, 60, 30, 16), "mA");
    MakeLabel(panel, "Label10", QRect(138, 60, 118, 16), "wird angezeigt als :");
    Testout1_ = new MaskedEdit(QStringLiteral("Testout1"), FieldMask::AnyCharacter, panel);
    Testout1_->setGeometry(260, 56, 66, 22);
    Testout1_->setMaxLength(32767);  // a long result is shown whole rather than cut
    Testout1_->setReadOnly(true);
    Testout1_->setFocusPolicy(Qt::NoFocus);
    SetRedBold(Testout1_);
    kontaktbild_ = MakeGlyphButton(panel, "kontaktbild", QRect(340, 50, 34, 34));
    kontaktbild_->setIconSize(QSize(26, 26));
}

void TForm1::buildStatusArea(QWidget* parent) {
    auto* message = MakePanel(parent, "Message", QRect(8, 252, 238, 130));
    Mem_ = MakeWidget<QPlainTextEdit>(message, "Mem", QRect(2, 2, 234, 126));
    Mem_->setReadOnly(true);
    Mem_->setFocusPolicy(Qt::NoFocus);
    // Long messages wrap: the memo is narrow and the user reads it without scrolling sideways.
    Mem_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Mem_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FileInfo_ = MakeInfoPanel(parent, "FileInfo", QRect(8, 386, 490, 18));
    ComInfo_ = MakeInfoPanel(parent, "ComInfo", QRect(504, 386, 88, 18));
    ComInfo_->setText("COM1");
    HelpPanel_ = MakeInfoPanel(parent, "HelpPanel", QRect(16, 408, 561, 17));
    HelpPanel_->setAutoFillBackground(true);
    QPalette silver = HelpPanel_->palette();
    silver.setColor(QPalette::Window, QColor(192, 192, 192));
    HelpPanel_->setPalette(silver);
}

void TForm1::buildSwitchesAndButtons(QWidget* parent) {
    auto* panel3 = MakePanel(parent, "Panel3", QRect(252, 252, 260, 24));
    switchpower_ = MakeWidget<QCheckBox>(panel3, "switchpower", QRect(6, 3, 248, 18));
    switchpower_->setText(QString::fromUtf8("Messgerät an"));
    switchpower_->setChecked(true);
    auto* panel5 = MakePanel(parent, "Panel5", QRect(252, 278, 260, 24));
    switchsignal_ = MakeWidget<QCheckBox>(panel5, "switchsignal", QRect(6, 3, 248, 18));
    switchsignal_->setText("ext. Signal an");
    switchsignal_->setChecked(true);
    MakeWidget<QPushButton>(parent, "Readbutt", QRect(252, 306, 260, 24))
        ->setText("Parameter auslesen");
    auto* skalbutt = MakeWidget<QPushButton>(parent, "Skalbutt", QRect(252, 332, 260, 24));
    skalbutt->setText(QString::fromUtf8("Gerät parametrieren"));
    QFont bold = skalbutt->font();
    bold.setBold(true);
    skalbutt->setFont(bold);
    MakeWidget<QPushButton>(parent, "KalParButt", QRect(252, 358, 260, 24))
        ->setText(QString::fromUtf8("Gerät kalibrieren und parametrieren"));
    auto* kalbutt = MakeWidget<QPushButton>(parent, "Kalbutt", QRect(252, 358, 260, 24));
    kalbutt->setText(QString::fromUtf8("Gerät kalibrieren"));
    kalbutt->setVisible(false);
}

void TForm1::buildLogo(QWidget* parent) {
    // The settings list lies hidden behind the logo panel.
    dateimem_ = MakeWidget<QPlainTextEdit>(parent, "dateimem", QRect(518, 252, 74, 130));
    dateimem_->setVisible(false);
    auto* panel4 = MakePanel(parent, "Panel4", QRect(518, 252, 74, 130));
    Image1_ = MakeWidget<QLabel>(panel4, "Image1", QRect(1, 13, 72, 104));
    Image1_->setPixmap(LogoPicture());
    Image1_->setToolTip(MakerWebSiteAddress());
    Image1_->installEventFilter(this);
}

void TForm1::buildTemplates(QWidget* parent) {
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
        templates_[static_cast<int>(glyph)] = button;
    }
}

MaskedEdit* TForm1::addField(Field field, const QString& name, FieldMask mask, QWidget* parent,
                             const QRect& geometry) {
    auto* edit = new MaskedEdit(name, mask, parent);
    edit->setGeometry(geometry);
    fields_[static_cast<int>(field)] = {field, edit};
    return edit;
}

void TForm1::buildMenu() {
    QMenuBar* bar = menuBar();
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
    };

    QMenu* datei = addMenu("Datei1", "&Datei");
    addItem(datei, "Laden1", "&Laden Einstellung");
    addItem(datei, "Speichern1", "&Speichern Einstellung");
    datei->addSeparator();
    addItem(datei, "Journal1", "&Protokoll...");  // opened by the program start's wiring
    addItem(datei, "KonfigBlattDrucken1", "Konfigurationsblatt &drucken...");
    addItem(datei, "KonfigBlattPdf1", "Konfigurationsblatt als &PDF speichern...");
    datei->addSeparator();
    addItem(datei, "Quit1", "E&xit Programm  (Ende)");

    Kommunikation1_ = addMenu("Kommunikation1", "&Kommunikation");
    addItem(Kommunikation1_, "MenueAuslesen", QString::fromUtf8("&Lesen Geräteparameter"));
    addItem(Kommunikation1_, "MenueParametrieren", "&Parameter neu programmieren");
    addItem(Kommunikation1_, "MenueKalPar", "&Kalibrieren und Parameter programmieren");
    addItem(Kommunikation1_, "MenueVergleichen", QString::fromUtf8("Mit Gerät &vergleichen"));
    Kommunikation1_->addSeparator();
    QMenu* setup = Kommunikation1_->addMenu("&COM-Port Setup");
    setup->setObjectName("CommPortSetup1");
    setup->setToolTipsVisible(true);  // each port's tooltip says what it opens
    auto* group = new QActionGroup(this);
    const char* comNames[] = {"COM11", "COM21", "COM31", "COM41"};
    for (int n = 1; n <= 4; ++n) {
        QAction* item = addItem(setup, comNames[n - 1], ComName(n));
        item->setCheckable(true);
        group->addAction(item);
        comItems_[n - 1] = item;
    }
    comItems_[0]->setChecked(true);
    addItem(Kommunikation1_, "PortAssign1", "Schnittstellen zuordnen...");

    addBarItem("N4", "   ", false);
    addBarItem("MLanguage", "Sprache/Language D", true);
    addBarItem("N3", "      ", false);
    QMenu* hilfe = addMenu("Hilfe1", "&Hilfe");
    addItem(hilfe, "Hilfe2", "&Hilfe");
    hilfe->addSeparator();
    addItem(hilfe, "About1", "&About");
}

void TForm1::buildTimers() {
    starttimer_ = new OneShotTimer(this, "starttimer", 300, context_.clock);
    // Not every platform reports the window's activation (offscreen and bare X servers
    // report none); the window then runs its activation rule itself.
    activationFallback_ = new OneShotTimer(this, "activationfallback", 100, context_.clock);
}

}  // namespace zmt
