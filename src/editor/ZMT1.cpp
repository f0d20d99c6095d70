#include "editor/ZMT1.h"

#include "common/Beep.h"
#include "common/ErrorDisplay.h"
#include "common/FocusHistory.h"
#include "editor/FileDialogs.h"
#include "editor/MaskedEdit.h"
#include "editor/PortController.h"
#include "language/AddedRows.h"
#include "language/HelpLine.h"
#include "language/HelpLineBinder.h"
#include "language/LanguageText.h"
#include "language/MakerAddress.h"
#include "link/SpComPort.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QUrl>

#include <vector>

namespace zmt {

namespace {

// The captions that follow the language, in the order they are set: the window title
// first, the items added to the menu since (the sheet) last.
struct CaptionRow {
    QObject* control;
    int row;
};
std::vector<CaptionRow> LanguageCaptions(QMainWindow& window, const Form1Controls& c) {
    return {{&window, rows::MainWindowTitle},
            {c.Datei1, rows::MenuFile},
            {c.Kommunikation1, rows::MenuCommunication},
            {c.MLanguage, rows::MenuLanguage},
            {c.Hilfe1, rows::MenuHelp},
            {c.Laden1, rows::MenuLoad},
            {c.Speichern1, rows::MenuSave},
            {c.Quit1, rows::MenuExit},
            {c.MenueAuslesen, rows::MenuRead},
            {c.MenueParametrieren, rows::MenuWrite},
            {c.MenueKalPar, rows::MenuCalibrateAndWrite},
            {c.Hilfe2, rows::MenuHelpItem},
            {c.About1, rows::MenuAbout},
            {c.RangeBox, rows::InputRangeBox},
            {c.Typ, rows::DeviceTypeLabel},
            {c.PunktBox, rows::DecimalPointBox},
            {c.ohnelabel, rows::NoPoint},
            {c.GrenzkontaktBox, rows::LimitContactBox},
            {c.Skalierbox, rows::DisplayScalingBox},
            {c.artlabel, rows::LimitModeLabel},
            {c.anzeigelabel, rows::PolarityLabel},
            {c.Label1, rows::InputSignalLabel},
            {c.Label2, rows::DisplayLabel},
            {c.Label5, rows::DisplayedAsLabel},
            {c.Label6, rows::DisplayedAsLabel},
            {c.Label7, rows::InputSignalLabel},
            {c.Label8, rows::TestLabel},
            {c.Label9, rows::DisplayLabel},
            {c.Label10, rows::DisplayedAsLabel},
            {c.switchpower, rows::PowerSwitch},
            {c.switchsignal, rows::SignalSwitch},
            {c.Readbutt, rows::ReadButton},
            {c.Skalbutt, rows::WriteButton},
            {c.KalParButt, rows::CalibrateAndWriteButton},
            {c.MenueVergleichen, rows::MenuCompareKeyed},
            {c.PortAssign1, rows::MenuPortAssignKeyed},
            {c.KonfigBlattDrucken1, rows::MenuPrintSheet},
            {c.KonfigBlattPdf1, rows::MenuSaveSheetPdf},
            {c.Journal1, rows::MenuJournalKeyed},
            {c.Serie1, rows::MenuSeriesKeyed}};
}

// What a screen reader calls the controls whose caption does not say what they are (or
// that have none), and the information fields. Buttons and boxes go by their captions.
struct NameRow {
    QWidget* control;
    int row;
    int point = 0;  // fills %1 where the row has it
};
std::vector<NameRow> AccessibleNameRows(const Form1Controls& c) {
    std::vector<NameRow> names = {{c.SelectRange, rows::DeviceTypeLabel},
                                  {c.decimalPoints[4].radio, rows::NameNoDecimalPoint},
                                  {c.Grenzwertart, rows::NameLimitMode},
                                  {c.field(Field::RelaisOn), rows::NameThresholdOn},
                                  {c.field(Field::RelaisOff), rows::NameThresholdOff},
                                  {c.polaritaet, rows::NamePolarity},
                                  {c.field(Field::Skalin1), rows::NameScalingInput, 1},
                                  {c.field(Field::Skalout1), rows::NameScalingDisplay, 1},
                                  {c.field(Field::Skalin2), rows::NameScalingInput, 2},
                                  {c.field(Field::Skalout2), rows::NameScalingDisplay, 2},
                                  {c.field(Field::Testin1), rows::NameTestInput},
                                  {c.Testout1, rows::NameTestDisplay},
                                  {c.kontaktbild, rows::NameContactState},
                                  {c.Mem, rows::NameStatusMessages},
                                  {c.FileInfo, rows::NameFileInfo},
                                  {c.ComInfo, rows::NamePortInfo},
                                  {c.HelpPanel, rows::NameHelpLine}};
    // DP1..DP4 by the digit their point follows.
    for (int digit = 0; digit < 4; ++digit)
        names.push_back({c.decimalPoints[digit].radio, rows::NameDecimalPointAfter, digit + 1});
    return names;
}

// The language item's caption is the table's text as it stands; the access key goes in
// front of it here, so the item is reached from the keyboard like its neighbours.
QString WithAccessKey(const QString& caption) {
    return u'&' + caption;
}

constexpr const char* kGlyphNames[] = {
    "", "gwnorm", "gwinv", "gwno", "kontaktonbild", "kontaktoffbild", "kontaktnobild"};

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
      text_(context_.controller.editor().wording()),
      saveInitialName_(QStringLiteral("default")),
      openInitialName_(QStringLiteral("default")) {
    controls_ = BuildForm1Controls(*this);
    controls_.Image1->installEventFilter(this);
    buildTimers();
    connectHandlers();
    focusHistory_ = new FocusHistory(this);
    editor().texts().FillLanguageText();
    session().ComPortNumber = 1;
    if (controller().RestoreAtStart()) starttimer_->setEnabled(true);
    if (session().LanguageIndex > 1) session().LanguageIndex = 0;
    ApplyLanguage(session().LanguageIndex);
    ShowModel();
    new HelpLineBinder(
        this, editor().texts(),
        {[this] { return controls_.polaritaet->text(); }, [this] { return model().LimitMode; },
         [this] { return session().LanguageIndex; }},
        [this](const QString& line) { controls_.HelpPanel->setText(line); });
}

TForm1::~TForm1() = default;

ConfigEditor& TForm1::editor() {
    return context_.controller.editor();
}

ConfigModel& TForm1::model() {
    return editor().model();
}

SessionState& TForm1::session() {
    return editor().session();
}

void TForm1::Guarded(const std::function<void()>& handler) {
    RunGuarded(handler);
}

// ---------------------------------------------------------------- wiring

void TForm1::buildTimers() {
    starttimer_ = new OneShotTimer(this, "starttimer", 300, context_.clock);
    // Not every platform reports the window's activation (offscreen and bare X servers
    // report none); the window then runs its activation rule itself.
    activationFallback_ = new OneShotTimer(this, "activationfallback", 100, context_.clock);
}

void TForm1::connectHandlers() {
    connectFields();
    connectOperationButtons();
    connectMenu();
    connect(controls_.SelectRange, &QComboBox::activated, this, &TForm1::SelectRangeChange);
    for (const auto& [radio, code] : controls_.decimalPoints) {
        connect(radio, &QRadioButton::toggled, this, [this, code = code](bool checked) {
            if (checked) DecimalPointClick(code);
        });
    }
    auto editorClick = [this](void (ConfigEditor::*rule)(Effects&)) {
        return [this, rule] {
            Guarded([&] { EditorStep([&](Effects& fx) { (editor().*rule)(fx); }); });
        };
    };
    connect(controls_.polaritaet, &QToolButton::clicked, this,
            editorClick(&ConfigEditor::polaritaetClick));
    connect(controls_.Grenzwertart, &QToolButton::clicked, this,
            editorClick(&ConfigEditor::GrenzwertartClick));
    // Changing a box from code runs its rule as a click would.
    connect(controls_.switchpower, &QCheckBox::toggled, this,
            [this](bool checked) { Guarded([&] { controller().switchpowerClick(checked); }); });
    connect(controls_.switchsignal, &QCheckBox::toggled, this,
            [this](bool checked) { Guarded([&] { controller().switchsignalClick(checked); }); });
    connect(&controller(), &PortController::changed, this, &TForm1::ControllerChanged);
    starttimer_->setHandler([this] { starttimerTimer(); });
    activationFallback_->setHandler([this] {
        activationFallback_->setEnabled(false);
        if (isVisible() && activation_.FallbackDue()) Guarded([this] { FormActivate(); });
    });
    // The port component asks for the hourglass while a device opens.
    controller().port().OnOpening = [](bool opening) {
        if (opening)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QGuiApplication::restoreOverrideCursor();
    };
}

void TForm1::connectFields() {
    for (const FieldBinding& binding : controls_.fields) {
        const Field field = binding.field;
        // The model holds what the field shows, so a save right after typing stores it.
        connect(binding.edit, &QLineEdit::textEdited, this,
                [this, field](const QString& typed) { model().setField(field, typed); });
        connect(binding.edit, &MaskedEdit::exited, this, [this, field] { FieldExit(field); });
    }
    connect(controls_.fields[static_cast<int>(Field::Testin1)].edit, &QLineEdit::returnPressed,
            this, &TForm1::Testin1Enter);
}

void TForm1::connectOperationButtons() {
    const Form1Controls& c = controls_;
    struct Operation {
        QAbstractButton* button;
        QAction* item;
        bool calibrate;
        bool write;
    };
    const Operation operations[] = {{c.Readbutt, c.MenueAuslesen, false, false},
                                    {c.Skalbutt, c.MenueParametrieren, false, true},
                                    {c.KalParButt, c.MenueKalPar, true, true}};
    for (const Operation& operation : operations) {
        auto start = [this, operation] {
            StartOperation(operation.calibrate, operation.write, false);
        };
        connect(operation.button, &QAbstractButton::clicked, this, start);
        connect(operation.item, &QAction::triggered, this, start);
    }
    connect(c.MenueVergleichen, &QAction::triggered, this,
            [this] { StartOperation(false, false, true); });
    connect(c.Kalbutt, &QAbstractButton::clicked, this, &TForm1::KalbuttClick);
}

void TForm1::connectMenu() {
    const Form1Controls& c = controls_;
    const std::pair<QAction*, void (TForm1::*)()> items[] = {
        {c.Laden1, &TForm1::Laden1Click},
        {c.Speichern1, &TForm1::Speichern1Click},
        {c.Quit1, &TForm1::Quit1Click},
        {c.MLanguage, &TForm1::MLanguageClick},
        {c.Hilfe2, &TForm1::Hilfe2Click},
        {c.About1, &TForm1::About1Click},
        {c.Journal1, &TForm1::Journal1Click},
        {c.KonfigBlattDrucken1, &TForm1::KonfigBlattDrucken1Click},
        {c.KonfigBlattPdf1, &TForm1::KonfigBlattPdf1Click},
        {c.PortAssign1, &TForm1::PortAssign1Click},
        {c.Serie1, &TForm1::Serie1Click}};
    for (const auto& item : items) {
        connect(item.first, &QAction::triggered, this,
                [this, handler = item.second] { Guarded([&] { (this->*handler)(); }); });
    }
    for (int n = 1; n <= 4; ++n) {
        connect(ComItem(n), &QAction::triggered, this,
                [this, n] { Guarded([&] { COMClick(n); }); });
    }
    connect(controls_.Kommunikation1, &QMenu::aboutToShow, this, &TForm1::ProbePorts);
}

// ---------------------------------------------------------------- model and effects

void TForm1::ShowModel() {
    const ConfigModel& model = this->model();
    for (const FieldBinding& binding : controls_.fields)
        binding.edit->ShowText(model.field(binding.field));
    controls_.Testout1->setText(model.Testout1);
    controls_.SelectRange->setCurrentIndex(model.SelectRange);
    controls_.polaritaet->setText(model.polaritaet);
    ShowDecimalPointRadio();
    ShowGlyph(controls_.Grenzwertart, model.GrenzwertartGlyph);
    ShowGlyph(controls_.kontaktbild, model.kontaktbildGlyph);
    ShowStateDescriptions();
    for (QLabel* unit : controls_.units) unit->setText(model.UnitCaption);
    controls_.ComInfo->setText(session().ComInfoCaption);
    if (QAction* item = ComItem(session().CheckedComItem)) item->setChecked(true);
    const QString settingsLines = controller().dateimem().join('\n');
    if (controls_.dateimem->toPlainText() != settingsLines)
        controls_.dateimem->setPlainText(settingsLines);
}

// The boxes show what the line control holds; showing them runs no click rule.
void TForm1::ShowSwitches() {
    const std::pair<QCheckBox*, SwitchState> boxes[] = {
        {controls_.switchpower, controller().switchpower()},
        {controls_.switchsignal, controller().switchsignal()}};
    for (const auto& [box, state] : boxes) {
        const QSignalBlocker quiet(box);
        box->setChecked(state.checked);
        box->setEnabled(state.enabled);
    }
}

void TForm1::ControllerChanged(const Effects& effects) {
    ShowModel();
    ShowSwitches();
    ReplayEffects(effects);
}

void TForm1::ShowDecimalPointRadio() {
    const QString checkedName = ConfigEditor::DecimalPointRadio(model().DecimalPoint);
    for (const auto& [radio, code] : controls_.decimalPoints) {
        const QSignalBlocker quiet(radio);  // showing the model runs no rule
        const bool checked = radio->objectName() == checkedName;
        if (radio->isChecked() == checked) continue;
        radio->setAutoExclusive(false);  // lets a code outside 0..4 leave all unchecked
        radio->setChecked(checked);
        radio->setAutoExclusive(true);
    }
}

// The two setting buttons show their state as a picture or a sign: a screen reader says it
// with the help line's words for it.
void TForm1::ShowStateDescriptions() {
    for (QToolButton* button :
         {controls_.polaritaet, controls_.Grenzwertart, controls_.kontaktbild}) {
        const std::optional<QString> help =
            HelpLineText(HelpEvent::MouseMove, button->objectName(), controls_.polaritaet->text(),
                         model().LimitMode, editor().texts(), session().LanguageIndex);
        button->setAccessibleDescription(help.value_or(QString()).trimmed());
    }
}

void TForm1::ShowGlyph(QToolButton* target, Glyph glyph) {
    if (glyph == Glyph::None) return;
    const int index = static_cast<int>(glyph);
    target->setIcon(controls_.templates[index]->icon());
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
    controller().EditorStep(operation);
}

void TForm1::AddMemLine(const QString& line) {
    memLines_.append(line);
    controls_.Mem->appendPlainText(line);
}

void TForm1::ClearMem() {
    memLines_.clear();
    controls_.Mem->clear();
}

// ---------------------------------------------------------------- editing rules

void TForm1::FieldExit(Field field) {
    Guarded([&] { EditorStep([&](Effects& fx) { editor().FieldExit(field, fx); }); });
}

void TForm1::Testin1Enter() {
    Guarded([&] { EditorStep([&](Effects& fx) { editor().Testin1Enter(fx); }); });
    // The next value typed replaces the one just applied.
    controls_.fields[static_cast<int>(Field::Testin1)].edit->selectAll();
}

void TForm1::SelectRangeChange(int index) {
    Guarded([&] { EditorStep([&](Effects& fx) { editor().SelectRangeChange(index, fx); }); });
}

void TForm1::DecimalPointClick(int code) {
    Guarded([&] { EditorStep([&](Effects& fx) { editor().DecimalPointChosen(code, fx); }); });
}

// ---------------------------------------------------------------- interface lines

void TForm1::FormActivate() {
    ++activationRuns_;
    controller().Activate();
}

bool TForm1::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        const bool fromOwnWindow =
            focusHistory_->cameFrom(windowHandle()) == FocusHistory::Source::OtherWindow;
        if (activation_.Activated(fromOwnWindow)) Guarded([this] { FormActivate(); });
    } else if (event->type() == QEvent::Show && !event->spontaneous() && !shownOnce_) {
        shownOnce_ = true;
        OweActivation();
    }
    return QMainWindow::event(event);
}

// Not every platform reports the activation that follows; the fallback then runs the rule.
void TForm1::OweActivation() {
    activation_.Owe();
    activationFallback_->setEnabled(false);
    activationFallback_->setEnabled(true);
}

void TForm1::RunModal(const std::function<void()>& show) {
    if (!show) return;
    const int runsBefore = activationRuns_;
    show();
    // The window takes over from the modal one, unless its activation has run already.
    if (activationRuns_ == runsBefore) OweActivation();
}

// ---------------------------------------------------------------- operations and help

void TForm1::StartOperation(bool calibrate, bool write, bool compare) {
    session().CalibrateFlag = calibrate;
    session().WriteFlag = write;
    session().CompareFlag = compare;
    RunModal(hooks_.ShowProgramFormModal);
}

void TForm1::KalbuttClick() {
    session().CalibrateFlag = true;
    session().WriteFlag = false;
    session().CompareFlag = false;
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
    const int languageIndex = session().LanguageIndex;
    RunModal([&] { hooks_.ShowHelpModal(languageIndex); });
}

void TForm1::About1Click() {
    RunModal(hooks_.ShowAboutModal);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == controls_.Image1 && event->type() == QEvent::MouseButtonDblClick)
        Image1DblClick();
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- language

void TForm1::ApplyLanguage(int languageIndex) {
    for (const CaptionRow& caption : LanguageCaptions(*this, controls_))
        SetCaption(caption.control, editor().texts().text(caption.row, languageIndex));
    controls_.MLanguage->setText(WithAccessKey(controls_.MLanguage->text()));
    for (const NameRow& name : AccessibleNameRows(controls_)) {
        QString text = editor().texts().text(name.row, languageIndex);
        if (name.point > 0) text = text.arg(name.point);
        name.control->setAccessibleName(text);
    }
    ShowStateDescriptions();
    const QString seriesHelp = editor().texts().text(rows::SeriesHelpMenuItem, languageIndex);
    controls_.Serie1->setStatusTip(seriesHelp);
    controls_.Serie1->setToolTip(seriesHelp);
}

void TForm1::MLanguageClick() {
    int& languageIndex = session().LanguageIndex;
    languageIndex = languageIndex == 0 ? 1 : 0;
    ApplyLanguage(languageIndex);
    ClearMem();
    AddMemLine(text_(rows::ChosenLanguage));
    // The program's other windows that are open follow the switch (as on a translator's).
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == this) continue;
        QEvent changed(QEvent::LanguageChange);
        QCoreApplication::sendEvent(window, &changed);
    }
}

// ---------------------------------------------------------------- ports

QAction* TForm1::ComItem(int number) const {
    return number >= 1 && number <= 4 ? controls_.comItems[number - 1] : nullptr;
}

void TForm1::ProbePorts() {
    const auto available = controller().ProbePorts();
    for (int number = 1; number <= ComPortCount; ++number) {
        QAction* item = ComItem(number);
        item->setEnabled(available[number - 1]);
        const QString target = controller().ComTargetText(number);
        item->setToolTip(target);
        item->setStatusTip(target);
    }
}

void TForm1::COMClick(int number) {
    ComItem(number)->setChecked(true);
    controller().ChoosePort(number);
}

void TForm1::PortAssign1Click() {
    RunModal(hooks_.ShowPortAssignModal);
}

void TForm1::Serie1Click() {
    RunModal(hooks_.ShowSeriesModal);
}

// ---------------------------------------------------------------- start, first start, exit

void TForm1::starttimerTimer() {
    Beep();
    starttimer_->setEnabled(false);
    RunModal(hooks_.ShowComPreSelectModal);
}

void TForm1::FormClose() {
    controller().Exit();
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
    DialogFolder& folder = context_.dialogs.folder();
    const QString path = context_.dialogs.askSaveName(this, folder.initialPath(saveInitialName_));
    if (path.isEmpty()) return;
    saveInitialName_ = path;
    folder.remember(path);
    if (QFileInfo::exists(path)) {
        QString question = text_(rows::OverwriteQuestion);
        question.replace(QStringLiteral("%s"), QFileInfo(path).absoluteFilePath());
        if (context_.dialogs.askOverwrite(this, question) != FileDialogs::Answer::Yes) return;
    }
    const SettingsResult saved = controller().Save(path);
    if (!saved.ok) return ShowRefusal(saved);
    openInitialName_ = path;
    ShowFileInfo(path);
}

void TForm1::Laden1Click() {
    DialogFolder& folder = context_.dialogs.folder();
    const QString path = context_.dialogs.askOpenName(this, folder.initialPath(openInitialName_));
    if (path.isEmpty()) return;
    openInitialName_ = path;
    folder.remember(path);
    const SettingsResult loaded = controller().Load(path);
    if (!loaded.ok) return ShowRefusal(loaded);
    ShowFileInfo(session().LoadedFileName);
    controls_.Panel1->setFocus();
}

void TForm1::ShowRefusal(const SettingsResult& refused) {
    ShowErrorMessage(refused.message(editor().texts(), session().LanguageIndex));
}

void TForm1::ShowFileInfo(const QString& path) {
    controls_.FileInfo->setText(path);
}

// ---------------------------------------------------------------- configuration sheet

void TForm1::Journal1Click() {
    if (hooks_.ShowJournalModal) RunModal(hooks_.ShowJournalModal);
}

void TForm1::KonfigBlattDrucken1Click() {
    const SheetRequest request = SheetRequestNow();
    if (hooks_.PrintConfigurationSheet) RunModal([&] { hooks_.PrintConfigurationSheet(request); });
}

void TForm1::KonfigBlattPdf1Click() {
    const SheetRequest request = SheetRequestNow();
    if (hooks_.SaveConfigurationSheet) RunModal([&] { hooks_.SaveConfigurationSheet(request); });
}

// The sheet names the configuration after the file shown in the title line.
SheetRequest TForm1::SheetRequestNow() {
    return {this, controls_.FileInfo->text()};
}

}  // namespace zmt

#include "moc_ZMT1.cpp"
