#include "ZMT1.h"

#include "Beep.h"
#include "ErrorDisplay.h"
#include "HelpLineBinder.h"
#include "LanguageText.h"
#include "MakerAddress.h"
#include "Numbers.h"
#include "SettingsFile.h"
#include "SettingsLines.h"
#include "SpComPort.h"
#include "ZMT1Dialogs.h"
#include "ZMT1Fields.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace zmt {

namespace {

// The captions that follow the language, in the order they are set.
struct CaptionRow {
    const char* control;
    int row;
};
constexpr CaptionRow kLanguageCaptions[] = {{"Form1", 0},          {"Datei1", 1},
                                            {"Kommunikation1", 2}, {"MLanguage", 3},
                                            {"Hilfe1", 4},         {"Laden1", 5},
                                            {"Speichern1", 6},     {"Quit1", 7},
                                            {"MenueAuslesen", 8},  {"MenueParametrieren", 9},
                                            {"MenueKalPar", 10},   {"Hilfe2", 12},
                                            {"About1", 13},        {"RangeBox", 20},
                                            {"Typ", 21},           {"PunktBox", 22},
                                            {"ohnelabel", 23},     {"GrenzkontaktBox", 24},
                                            {"Skalierbox", 25},    {"artlabel", 26},
                                            {"anzeigelabel", 27},  {"Label1", 28},
                                            {"Label2", 29},        {"Label5", 30},
                                            {"Label6", 30},        {"Label7", 28},
                                            {"Label8", 31},        {"Label9", 29},
                                            {"Label10", 30},       {"switchpower", 32},
                                            {"switchsignal", 33},  {"Readbutt", 34},
                                            {"Skalbutt", 35},      {"KalParButt", 36}};

// The decimal point radio buttons and the code each one selects.
struct DecimalPointButton {
    const char* name;
    int code;
};
constexpr DecimalPointButton kDecimalPointButtons[] = {
    {"DP1", 3}, {"DP2", 2}, {"DP3", 1}, {"DP4", 0}, {"DP0", 4}};

constexpr const char* kGlyphNames[] = {
    "", "gwnorm", "gwinv", "gwno", "kontaktonbild", "kontaktoffbild", "kontaktnobild"};

constexpr const char* kUnitLabels[] = {"Einheit1", "Einheit2", "Einheit3"};

// Rows of the language table used by the window itself.
enum Row {
    ChosenLanguage = 45,
    SelectedPort = 61,
    OverwriteQuestion = 63,
    ConfigurationSaved = 64,
    ConfigurationLoaded = 65,
    CannotOpenPort = 82,
    PerhapsInUse = 83,
};

// Texts the table has no row for: what the user can do about a refused port, and a
// settings file that could not be restored.
const char* const kPermissionDenied[] = {
    "  Keine Berechtigung: Benutzer muss zur Gruppe dialout gehören",
    "  permission denied: the user must be in the group dialout"};
const char* const kBadSettingsFile[] = {
    " Einstellungsdatei %1 fehlerhaft, sie wird beim Beenden ersetzt:",
    " settings file %1 is invalid, it is replaced at exit:"};

// How long a platform may take to report the window's activation before the window runs
// its activation rule itself (offscreen and bare X servers report none).
constexpr int kActivationGraceMs = 100;

QString Bilingual(const char* const (&texts)[2], int languageIndex) {
    return QString::fromUtf8(texts[languageIndex == 1 ? 1 : 0]);
}

void SetCaption(QObject* control, const QString& caption) {
    if (auto* window = qobject_cast<QMainWindow*>(control))
        window->setWindowTitle(caption);
    else if (auto* menu = qobject_cast<QMenu*>(control))
        menu->setTitle(caption);
    else if (auto* action = qobject_cast<QAction*>(control))
        action->setText(caption);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(caption);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(caption);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(caption);
}

}  // namespace

TForm1::TForm1(Form1Context context, QWidget* parent)
    : QMainWindow(parent),
      context_(std::move(context)),
      editor_(context_.model, context_.session, context_.texts),
      saveInitialName_(QStringLiteral("default")),
      openInitialName_(QStringLiteral("default")) {
    buildWindow();
    connectHandlers();
    context_.texts.FillLanguageText();
    context_.session.ComPortNumber = 1;
    RestoreSettings();
    if (context_.session.LanguageIndex > 1) context_.session.LanguageIndex = 0;
    ApplyLanguage(context_.session.LanguageIndex);
    ShowModel();
    new HelpLineBinder(
        this, context_.texts,
        {[this] { return polaritaet_->text(); }, [this] { return context_.model.LimitMode; },
         [this] { return context_.session.LanguageIndex; }},
        [this](const QString& line) { HelpPanel_->setText(line); });
}

TForm1::~TForm1() = default;

QString TForm1::text(int row) const {
    return context_.texts.text(row, context_.session.LanguageIndex);
}

void TForm1::Guarded(const std::function<void()>& handler) {
    RunGuarded(handler);
}

// ---------------------------------------------------------------- wiring

void TForm1::connectHandlers() {
    connectFields();
    connectOperationButtons();
    connectMenu();
    connect(SelectRange_, &QComboBox::activated, this, &TForm1::SelectRangeChange);
    for (const DecimalPointButton& button : kDecimalPointButtons) {
        auto* radio = findChild<QRadioButton*>(button.name);
        connect(radio, &QRadioButton::toggled, this, [this, code = button.code](bool checked) {
            if (checked) DecimalPointClick(code);
        });
    }
    auto editorClick = [this](void (ConfigEditor::*rule)(Effects&)) {
        return [this, rule] {
            Guarded([&] { EditorStep([&](Effects& fx) { (editor_.*rule)(fx); }); });
        };
    };
    connect(polaritaet_, &QToolButton::clicked, this, editorClick(&ConfigEditor::polaritaetClick));
    connect(Grenzwertart_, &QToolButton::clicked, this,
            editorClick(&ConfigEditor::GrenzwertartClick));
    // Changing a box from code runs its rule as a click would (the loaders rely on it).
    connect(switchpower_, &QCheckBox::toggled, this,
            [this] { Guarded([this] { switchpowerClick(); }); });
    connect(switchsignal_, &QCheckBox::toggled, this,
            [this] { Guarded([this] { switchsignalClick(); }); });
    Timer2_->setHandler([this] {
        switchsignal_->setEnabled(true);
        Timer2_->setEnabled(false);
    });
    Timer3_->setHandler([this] {
        switchpower_->setEnabled(true);
        Timer3_->setEnabled(false);
    });
    powerontimer_->setHandler([this] { powerontimerTimer(); });
    starttimer_->setHandler([this] { starttimerTimer(); });
}

void TForm1::connectFields() {
    for (const FieldBinding& binding : fields_) {
        const Field field = binding.field;
        // The model holds what the field shows, so a save right after typing stores it.
        connect(binding.edit, &QLineEdit::textEdited, this,
                [this, field](const QString& typed) { context_.model.setField(field, typed); });
        connect(binding.edit, &MaskedEdit::exited, this, [this, field] { FieldExit(field); });
    }
    connect(fields_[static_cast<int>(Field::Testin1)].edit, &QLineEdit::returnPressed, this,
            &TForm1::Testin1Enter);
}

void TForm1::connectOperationButtons() {
    const std::tuple<const char*, const char*, bool, bool> operations[] = {
        {"Readbutt", "MenueAuslesen", false, false},
        {"Skalbutt", "MenueParametrieren", false, true},
        {"KalParButt", "MenueKalPar", true, true}};
    for (const auto& [button, item, calibrate, write] : operations) {
        auto start = [this, calibrate, write] { StartOperation(calibrate, write); };
        connect(findChild<QAbstractButton*>(button), &QAbstractButton::clicked, this, start);
        connect(findChild<QAction*>(item), &QAction::triggered, this, start);
    }
    connect(findChild<QAbstractButton*>("Kalbutt"), &QAbstractButton::clicked, this,
            &TForm1::KalbuttClick);
}

void TForm1::connectMenu() {
    const std::pair<const char*, void (TForm1::*)()> items[] = {
        {"Laden1", &TForm1::Laden1Click}, {"Speichern1", &TForm1::Speichern1Click},
        {"Quit1", &TForm1::Quit1Click},   {"MLanguage", &TForm1::MLanguageClick},
        {"Hilfe2", &TForm1::Hilfe2Click}, {"About1", &TForm1::About1Click}};
    for (const auto& [name, handler] : items) {
        connect(findChild<QAction*>(name), &QAction::triggered, this,
                [this, handler] { Guarded([&] { (this->*handler)(); }); });
    }
    for (int n = 1; n <= 4; ++n) {
        connect(ComItem(n), &QAction::triggered, this,
                [this, n] { Guarded([&] { COMClick(n); }); });
    }
    connect(Kommunikation1_, &QMenu::aboutToShow, this, &TForm1::ProbePorts);
}

// ---------------------------------------------------------------- model and effects

void TForm1::ShowModel() {
    const ConfigModel& model = context_.model;
    for (const FieldBinding& binding : fields_) {
        const QString& shown = model.field(binding.field);
        if (binding.edit->text() != shown) binding.edit->setText(shown);
    }
    Testout1_->setText(model.Testout1);
    SelectRange_->setCurrentIndex(model.SelectRange);
    polaritaet_->setText(model.polaritaet);
    ShowDecimalPointRadio();
    ShowGlyph(Grenzwertart_, model.GrenzwertartGlyph);
    ShowGlyph(kontaktbild_, model.kontaktbildGlyph);
    // Before a device type or port is chosen the design captions stay.
    if (!model.UnitText.isEmpty()) {
        for (const char* unit : kUnitLabels) findChild<QLabel*>(unit)->setText(model.UnitText);
    }
    if (!context_.session.ComPortName.isEmpty()) ComInfo_->setText(context_.session.ComPortName);
    if (QAction* item = ComItem(context_.session.CheckedComItem)) item->setChecked(true);
}

void TForm1::ShowDecimalPointRadio() {
    const QString checkedName = ConfigEditor::DecimalPointRadio(context_.model.DecimalPoint);
    for (const DecimalPointButton& button : kDecimalPointButtons) {
        auto* radio = findChild<QRadioButton*>(button.name);
        const QSignalBlocker quiet(radio);  // showing the model runs no rule
        const bool checked = radio->objectName() == checkedName;
        if (radio->isChecked() == checked) continue;
        radio->setAutoExclusive(false);  // lets a code outside 0..4 leave all unchecked
        radio->setChecked(checked);
        radio->setAutoExclusive(true);
    }
}

void TForm1::ShowGlyph(QToolButton* target, Glyph glyph) {
    if (glyph == Glyph::None) return;
    const int index = static_cast<int>(glyph);
    target->setIcon(templates_[index]->icon());
    target->setProperty("glyph", QString::fromLatin1(kGlyphNames[index]));
}

void TForm1::ReplayEffects(const Effects& effects) {
    for (const Effects::MemOp& op : effects.memOps()) {
        if (op.clear)
            ClearMem();
        else
            AddMemLine(op.line);
    }
    for (int beep = 0; beep < effects.beeps(); ++beep) Beep();
}

void TForm1::EditorStep(const std::function<void(Effects&)>& operation) {
    Effects effects;
    try {
        operation(effects);
    } catch (...) {
        ShowModel();
        ReplayEffects(effects);
        throw;
    }
    ShowModel();
    ReplayEffects(effects);
}

void TForm1::UpdateRangeInfo() {
    editor_.UpdateRangeInfo();
    ShowModel();
}

void TForm1::Recalculate() {
    EditorStep([this](Effects& fx) { editor_.Recalculate(fx); });
}

void TForm1::AddMemLine(const QString& line) {
    memLines_.append(line);
    Mem_->appendPlainText(line);
}

void TForm1::ClearMem() {
    memLines_.clear();
    Mem_->clear();
}

// ---------------------------------------------------------------- editing rules

void TForm1::FieldExit(Field field) {
    Guarded([&] { EditorStep([&](Effects& fx) { editor_.FieldExit(field, fx); }); });
}

void TForm1::Testin1Enter() {
    Guarded([&] { EditorStep([&](Effects& fx) { editor_.Testin1Enter(fx); }); });
}

void TForm1::SelectRangeChange(int index) {
    Guarded([&] { EditorStep([&](Effects& fx) { editor_.SelectRangeChange(index, fx); }); });
}

void TForm1::DecimalPointClick(int code) {
    Guarded([&] { EditorStep([&](Effects& fx) { editor_.DecimalPointChosen(code, fx); }); });
}

// ---------------------------------------------------------------- interface lines

void TForm1::SetPortLines(const QString& name, bool power, bool signal, bool reopen) {
    link::TSpComPort& port = context_.port;
    try {
        if (reopen) port.Close();
        port.setComNumber(context_.session.ComPortNumber);
        port.Open();
        if (reopen) port.PurgeRx();
        port.setRTS(signal);
        port.setDTR(power);
    } catch (const link::ESpComPortCoreError& error) {
        ReportPortFailure(name, error.failure() == link::OpenFailure::PermissionDenied);
    } catch (const std::exception&) {
        ReportPortFailure(name, false);
    }
}

void TForm1::ReportPortFailure(const QString& name, bool permissionDenied) {
    // The operation window judges its exchange itself.
    if (hooks_.ProgramFormIsActive && hooks_.ProgramFormIsActive()) return;
    AddMemLine(name + text(CannotOpenPort));
    AddMemLine(name + text(PerhapsInUse));
    if (permissionDenied) AddMemLine(Bilingual(kPermissionDenied, context_.session.LanguageIndex));
}

void TForm1::switchpowerClick() {
    context_.session.PowerOn = switchpower_->isChecked();
    // The signal goes up with the power change; powerontimer restores it from its box.
    SetPortLines(context_.session.ComPortName, context_.session.PowerOn, true, false);
    powerontimer_->setEnabled(true);
    Timer3_->setEnabled(true);
    switchpower_->setEnabled(false);
}

void TForm1::switchsignalClick() {
    context_.session.SignalOn = switchsignal_->isChecked();
    SetPortLines(context_.session.ComPortName, context_.session.PowerOn, context_.session.SignalOn,
                 false);
    Timer2_->setEnabled(true);
    switchsignal_->setEnabled(false);
}

void TForm1::powerontimerTimer() {
    context_.session.SignalOn = switchsignal_->isChecked();
    try {
        context_.port.setRTS(context_.session.SignalOn);
    } catch (const std::exception&) {
        // A missing port shows at the next SetPortLines.
    }
    powerontimer_->setEnabled(false);
}

void TForm1::FormActivate() {
    SessionState& session = context_.session;
    session.PowerOn = switchpower_->isChecked();
    powerontimer_->setEnabled(true);
    Timer3_->setEnabled(true);
    switchpower_->setEnabled(false);
    SetPortLines(session.ComPortName, session.PowerOn, session.SignalOn, false);
    Timer2_->setEnabled(true);
    switchsignal_->setEnabled(false);
}

bool TForm1::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        activationSeen_ = true;
        Guarded([this] { FormActivate(); });
    } else if (event->type() == QEvent::Show && !event->spontaneous() && !shownOnce_) {
        shownOnce_ = true;
        ScheduleActivationFallback();
    }
    return QMainWindow::event(event);
}

void TForm1::ScheduleActivationFallback() {
    activationSeen_ = false;
    QTimer::singleShot(kActivationGraceMs, this, [this] {
        if (!activationSeen_ && isVisible()) Guarded([this] { FormActivate(); });
    });
}

void TForm1::RunModal(const std::function<void()>& show) {
    if (!show) return;
    show();
    // Not every platform reactivates the window when a modal one closes.
    ScheduleActivationFallback();
}

// ---------------------------------------------------------------- operations and help

void TForm1::StartOperation(bool calibrate, bool write) {
    context_.session.CalibrateFlag = calibrate;
    context_.session.WriteFlag = write;
    RunModal(hooks_.ShowProgramFormModal);
}

void TForm1::KalbuttClick() {
    context_.session.CalibrateFlag = true;
    context_.session.WriteFlag = false;
    if (hooks_.ShowForm2) hooks_.ShowForm2();
}

void TForm1::Image1DblClick() {
    Beep();
    const QUrl address(MakerWebSiteAddress());
    if (hooks_.OpenUrl)
        hooks_.OpenUrl(address);
    else
        QDesktopServices::openUrl(address);
}

void TForm1::Hilfe2Click() {
    if (!hooks_.ShowHelpModal) return;
    const int languageIndex = context_.session.LanguageIndex;
    RunModal([&] { hooks_.ShowHelpModal(languageIndex); });
}

void TForm1::About1Click() {
    RunModal(hooks_.ShowAboutModal);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Image1_ && event->type() == QEvent::MouseButtonDblClick) Image1DblClick();
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- language

void TForm1::ApplyLanguage(int languageIndex) {
    for (const CaptionRow& caption : kLanguageCaptions) {
        const QString name = QString::fromLatin1(caption.control);
        QObject* control = name == objectName() ? this : findChild<QObject*>(name);
        SetCaption(control, context_.texts.text(caption.row, languageIndex));
    }
}

void TForm1::MLanguageClick() {
    int& languageIndex = context_.session.LanguageIndex;
    languageIndex = languageIndex == 0 ? 1 : 0;
    ApplyLanguage(languageIndex);
    ClearMem();
    AddMemLine(text(ChosenLanguage));
}

// ---------------------------------------------------------------- ports

QAction* TForm1::ComItem(int number) const {
    return number >= 1 && number <= 4 ? comItems_[number - 1] : nullptr;
}

void TForm1::ProbePorts() {
    for (int number = 1; number <= 4; ++number) ComItem(number)->setEnabled(PortAvailable(number));
}

bool TForm1::PortAvailable(int number) {
    link::TSpComPort& port = context_.port;
    // Our own open port is available; probing it would cut the meter's power.
    if (port.IsOpen() && port.ComNumber() == number) return true;
    link::TSpComPort probe(nullptr, QStringLiteral("probe"), context_.deviceFactory);
    try {
        probe.setComNumber(number);
        probe.Open();
        probe.Close();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TForm1::COMClick(int number) {
    SessionState& session = context_.session;
    ComItem(number)->setChecked(true);
    session.ComPortName = QStringLiteral("COM%1").arg(number);
    session.ComPortNumber = number;
    session.CheckedComItem = number;
    SetPortLines(session.ComPortName, session.PowerOn, session.SignalOn, true);
    AddMemLine(text(SelectedPort) + session.ComPortName);
    UpdateRangeInfo();
}

// ---------------------------------------------------------------- start, first start, exit

void TForm1::RestoreSettings() {
    const QString& path = context_.settingsPath;
    if (!QFileInfo::exists(path)) {
        starttimer_->setEnabled(true);
        return;
    }
    const SettingsFileContent read = ReadSettingsFile(path);
    if (!read.result.ok) return ReportBadSettingsFile(read.result.message);
    dateimem_->setPlainText(read.lines.join('\n'));
    QString problem;
    Guarded([&] {
        EditorStep([&](Effects& fx) {
            const SettingsResult applied = ApplySettingsLines(read.lines, editor_, fx);
            if (!applied.ok) {
                problem = applied.message;
                return;
            }
            editor_.UpdateRangeInfo();
            editor_.Recalculate(fx);
        });
    });
    if (!problem.isEmpty()) ReportBadSettingsFile(problem);
}

void TForm1::ReportBadSettingsFile(const QString& reason) {
    const QString heading = Bilingual(kBadSettingsFile, context_.session.LanguageIndex);
    AddMemLine(heading.arg(context_.settingsPath));
    AddMemLine(QStringLiteral("  ") + reason);
    // The program starts as on a first start; the file is replaced only at exit.
    starttimer_->setEnabled(true);
}

void TForm1::starttimerTimer() {
    Beep();
    starttimer_->setEnabled(false);
    RunModal(hooks_.ShowComPreSelectModal);
}

void TForm1::ApplyFirstStartChoice(int comNumber) {
    SessionState& session = context_.session;
    session.ComPortName = QStringLiteral("COM%1").arg(comNumber);
    session.ComPortNumber = comNumber;
    session.CheckedComItem = comNumber;
    Guarded([&] {
        EditorStep([&](Effects& fx) {
            ConfigModel& model = context_.model;
            model.SelectRange = 1;
            editor_.DecimalPointChosen(4, fx);
            const std::pair<Field, const char*> defaults[] = {{Field::Skalin1, "0"},
                                                              {Field::Skalin2, "20"},
                                                              {Field::Skalout1, "0"},
                                                              {Field::Skalout2, "2000"},
                                                              {Field::Testin1, "10"}};
            for (const auto& [field, value] : defaults) model.setField(field, value);
            model.LimitMode = QStringLiteral("gwnorm");
            editor_.UpdateRangeInfo();
            model.setField(Field::Skalin2, numbers::FormatGeneral(model.RangeFullScale));
            editor_.Recalculate(fx);
        });
    });
    session.SignalOn = true;
    session.PowerOn = true;
}

void TForm1::WriteSettingsAtExit() {
    const QStringList lines = BuildSettingsLines(context_.model, context_.session);
    dateimem_->setPlainText(lines.join('\n'));
    if (!WriteSettingsFile(context_.settingsPath, lines).ok) Beep();
}

void TForm1::FormClose() {
    WriteSettingsAtExit();
    try {
        context_.port.Close();
    } catch (const std::exception&) {
        // Closing for good: nothing is left to report to.
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
    emit closed();
}

void TForm1::Quit1Click() {
    FormClose();
    close();
}

// ---------------------------------------------------------------- files

void TForm1::Speichern1Click() {
    const QString path = context_.dialogs.askSaveName(this, saveInitialName_);
    if (path.isEmpty()) return;
    saveInitialName_ = path;
    if (QFileInfo::exists(path)) {
        QString question = text(OverwriteQuestion);
        question.replace(QStringLiteral("%s"), QFileInfo(path).absoluteFilePath());
        if (context_.dialogs.askOverwrite(this, question) != FileDialogs::Answer::Yes) return;
    }
    if (!SaveFile(path)) return;
    openInitialName_ = path;
    ShowFileInfo(path);
    AddMemLine(text(ConfigurationSaved));
}

bool TForm1::SaveFile(const QString& path) {
    const QStringList lines = BuildSettingsLines(context_.model, context_.session);
    dateimem_->setPlainText(lines.join('\n'));
    for (const QString& target : {path, context_.settingsPath}) {
        const SettingsResult written = WriteSettingsFile(target, lines);
        if (!written.ok) {
            ShowErrorMessage(written.message);
            return false;
        }
    }
    return true;
}

void TForm1::Laden1Click() {
    const QString path = context_.dialogs.askOpenName(this, openInitialName_);
    if (path.isEmpty()) return;
    openInitialName_ = path;
    LoadFile(path);
}

void TForm1::LoadFile(const QString& path) {
    const SettingsFileContent read = ReadSettingsFile(path);
    if (!read.result.ok) return ShowErrorMessage(read.result.message);
    QString problem;
    EditorStep([&](Effects& fx) {
        const SettingsResult applied = ApplySettingsLines(read.lines, editor_, fx);
        if (!applied.ok) problem = applied.message;
    });
    // A file that fails the check changes nothing.
    if (!problem.isEmpty()) return ShowErrorMessage(problem);
    dateimem_->setPlainText(read.lines.join('\n'));
    SessionState& session = context_.session;
    session.LoadedFileName = path;
    SetPortLines(session.ComPortName, session.PowerOn, session.SignalOn, true);
    powerontimer_->setEnabled(true);
    switchpower_->setChecked(session.PowerOn);
    switchsignal_->setChecked(session.SignalOn);
    UpdateRangeInfo();
    Recalculate();
    ShowFileInfo(session.LoadedFileName);
    // The file's language speaks from here on; the captions stay as they are.
    AddMemLine(text(ConfigurationLoaded));
    Panel1_->setFocus();
}

void TForm1::ShowFileInfo(const QString& path) {
    FileInfo_->setText(path);
}

}  // namespace zmt
