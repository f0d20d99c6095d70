#include "app/SeriesWindow.h"

#include "app/JournalView.h"
#include "common/ErrorDisplay.h"
#include "common/MakeWidget.h"
#include "editor/FileDialogs.h"
#include "editor/PortController.h"
#include "journal/OperationJournal.h"
#include "language/AddedRows.h"
#include "language/HelpLineBinder.h"
#include "language/LanguageText.h"
#include "language/OriginalRows.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include <stdexcept>

namespace zmt {

namespace {

const QColor kPassColour(0, 160, 0);
const QColor kFailColour(200, 0, 0);

int UnitResultRow(UnitResult result) {
    return result == UnitResult::Passed   ? rows::SeriesOk
           : result == UnitResult::Failed ? rows::JournalResultFailed
                                          : rows::JournalResultCancelled;
}

}  // namespace

TSeriesForm::TSeriesForm(SeriesWindowContext context, QWidget* parent)
    : QDialog(parent),
      context_(std::move(context)),
      text_(context_.controller.editor().texts(), [this] { return language(); }),
      station_(StationSetup()) {
    setObjectName(QStringLiteral("SeriesForm"));
    loop_ = new SeriesLoop(context_.controller.editor().texts(), station_.Hooks(), context_.clock,
                           this);
    BuildControls();
    ConnectControls();
    new HelpLineBinder(
        this, context_.controller.editor().texts(),
        {[] { return QString(); }, [] { return QString(); }, [this] { return language(); }},
        [this](const QString& line) { helpPanel_->setText(line); });
}

// The loop goes first: it releases its port while the journal it reports to still exists.
TSeriesForm::~TSeriesForm() {
    delete loop_;
}

int TSeriesForm::language() const {
    return context_.controller.editor().session().LanguageIndex;
}

// ---------------------------------------------------------------- building

void TSeriesForm::BuildControls() {
    configurationLabel_ = Named(new QLabel(this), "SeriesConfigurationLabel");
    fromEditor_ = Named(new QRadioButton(this), "SeriesFromEditor");
    fromFile_ = Named(new QRadioButton(this), "SeriesFromFile");
    chooseFile_ = Named(new QPushButton(this), "SeriesChooseFile");
    summary_ = Named(new QLabel(this), "SeriesSummary");
    verify_ = Named(new QCheckBox(this), "SeriesVerify");
    sheets_ = Named(new QCheckBox(this), "SeriesSheets");
    sheetFolder_ = Named(new QLineEdit(this), "SeriesSheetFolder");
    chooseFolder_ = Named(new QPushButton(this), "SeriesChooseFolder");
    start_ = Named(new QPushButton(this), "SeriesStart");
    stop_ = Named(new QPushButton(this), "SeriesStop");
    result_ = Named(new QLabel(this), "SeriesResult");
    status_ = Named(new QLabel(this), "SeriesStatus");
    passed_ = Named(new QLabel(this), "SeriesPassed");
    failed_ = Named(new QLabel(this), "SeriesFailed");
    units_ = Named(new QTableWidget(0, 4, this), "SeriesUnits");
    messages_ = Named(new QLabel(this), "SeriesMessages");
    helpPanel_ = Named(new QLabel(this), "SeriesHelpPanel");

    fromEditor_->setChecked(true);
    fromFile_->setEnabled(false);  // until a file has been chosen
    verify_->setChecked(true);
    sheets_->setChecked(false);
    summary_->setWordWrap(true);
    QFont large = result_->font();
    large.setPointSize(large.pointSize() * 3);
    large.setBold(true);
    result_->setFont(large);
    result_->setAlignment(Qt::AlignCenter);
    result_->setAutoFillBackground(true);
    result_->setMinimumHeight(result_->fontMetrics().height() * 2);
    result_->setWordWrap(true);
    units_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    units_->setSelectionBehavior(QAbstractItemView::SelectRows);
    units_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    units_->horizontalHeader()->setStretchLastSection(true);
    units_->verticalHeader()->hide();
    messages_->setWordWrap(true);
    helpPanel_->setFrameShape(QFrame::Panel);
    helpPanel_->setFrameShadow(QFrame::Sunken);
    helpPanel_->setMinimumHeight(helpPanel_->fontMetrics().height() + 4);

    auto* options = new QGridLayout;
    options->addWidget(configurationLabel_, 0, 0);
    options->addWidget(fromEditor_, 0, 1, 1, 2);
    options->addWidget(fromFile_, 1, 1);
    options->addWidget(chooseFile_, 1, 2);
    options->addWidget(summary_, 2, 1, 1, 2);
    options->addWidget(verify_, 3, 0, 1, 3);
    options->addWidget(sheets_, 4, 0);
    options->addWidget(sheetFolder_, 4, 1);
    options->addWidget(chooseFolder_, 4, 2);
    options->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(start_);
    buttons->addWidget(stop_);
    buttons->addStretch();
    buttons->addWidget(passed_);
    buttons->addWidget(failed_);
    auto* column = new QVBoxLayout(this);
    column->addLayout(options);
    column->addLayout(buttons);
    column->addWidget(result_);
    column->addWidget(status_);
    column->addWidget(units_, 1);
    column->addWidget(messages_);
    column->addWidget(helpPanel_);
    resize(640, 600);
}

void TSeriesForm::ConnectControls() {
    const auto guarded = [](auto handler) { return [handler] { RunGuarded(handler); }; };
    connect(chooseFile_, &QPushButton::clicked, this, guarded([this] { ChooseFileClick(); }));
    connect(chooseFolder_, &QPushButton::clicked, this, guarded([this] { ChooseFolderClick(); }));
    connect(start_, &QPushButton::clicked, this, guarded([this] { StartClick(); }));
    connect(stop_, &QPushButton::clicked, this, guarded([this] { StopClick(); }));
    connect(fromEditor_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) TakeEditorConfiguration();
    });
    connect(fromFile_, &QRadioButton::toggled, this, [this](bool on) {
        if (!on) return;
        source_ = fileSource_;
        ShowSource();
    });
    connect(loop_, &SeriesLoop::statusChanged, status_, &QLabel::setText);
    connect(loop_, &SeriesLoop::unitFinished, this, &TSeriesForm::UnitFinished);
    connect(loop_, &SeriesLoop::ended, this, &TSeriesForm::SeriesEnded);
    connect(loop_, &SeriesLoop::phaseChanged, this, &TSeriesForm::PhaseChanged);
    connect(loop_, &SeriesLoop::unitStarted, this, &TSeriesForm::UnitStarted);
    connect(loop_, &SeriesLoop::warning, this, [this](const QString& line) {
        warnings_ << line;
        ShowMessages(warnings_);
    });
}

// The series' port is the main window's at the start; the sheets go to the folder given.
SeriesStationSetup TSeriesForm::StationSetup() {
    SeriesStationSetup setup{{}, context_.clock, {}, context_.portInUse};
    setup.journal = [this](ConfigEditor& series) {
        if (!journal_ && context_.makeJournal) journal_ = context_.makeJournal(series);
        return journal_.get();
    };
    setup.sound = context_.sound;
    setup.sheetFolder = [this] {
        return sheets_->isChecked() ? sheetFolder_->text().trimmed() : QString();
    };
    return setup;
}

// ---------------------------------------------------------------- showing

void TSeriesForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!loop_->Running() && fromEditor_->isChecked()) TakeEditorConfiguration();
    ApplyLanguage();
    ShowRunning();
    ShowCounters();
}

// The main window tells every window when the language changes; what is shown follows.
void TSeriesForm::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::LanguageChange) return;
    loop_->SetLanguage(language());
    ApplyLanguage();
    ShowCounters();
    ShowUnits();
    if (resultWording_) ShowResult(resultWording_, ResultLook(result_->property("look").toInt()));
}

void TSeriesForm::ApplyLanguage() {
    setWindowTitle(text_(rows::SeriesWindowTitle));
    configurationLabel_->setText(text_(rows::SeriesConfiguration));
    fromEditor_->setText(text_(rows::SeriesSourceEditor));
    chooseFile_->setText(text_(rows::SeriesSourceFile));
    if (fileSource_.file.isEmpty()) fromFile_->setText(text_(rows::SeriesNoFileChosen));
    verify_->setText(text_(rows::SeriesVerifyOption));
    sheets_->setText(text_(rows::SeriesSheetOption));
    chooseFolder_->setText(text_(rows::SeriesChooseFolder));
    start_->setText(text_(rows::SeriesStart));
    stop_->setText(text_(rows::SeriesStop));
    units_->setHorizontalHeaderLabels(
        {text_(rows::SeriesColumnNumber), text_(rows::JournalColumnTime),
         text_(rows::JournalColumnResult), text_(rows::SeriesColumnJournal)});
    const std::pair<QWidget*, int> names[] = {
        {fromFile_, rows::NameSeriesFromFile}, {sheetFolder_, rows::NameSheetFolder},
        {units_, rows::NameSeriesUnits},       {result_, rows::JournalColumnResult},
        {status_, rows::NameSeriesStatus},     {helpPanel_, rows::NameHelpLine}};
    for (const auto& [control, row] : names) control->setAccessibleName(text_(row));
    ShowSource();
}

void TSeriesForm::TakeEditorConfiguration() {
    source_ = SeriesSource{context_.controller.editor().model(), QString()};
    ShowSource();
}

void TSeriesForm::ShowSource() {
    summary_->setText(SeriesSourceLine(source_, context_.controller.editor().texts(), language()));
}

// The options stay as they are while a series runs: it keeps what it started with.
void TSeriesForm::ShowRunning() {
    const bool running = loop_->Running();
    for (QWidget* option : std::initializer_list<QWidget*>{
             fromEditor_, chooseFile_, verify_, sheets_, sheetFolder_, chooseFolder_, start_})
        option->setEnabled(!running);
    fromFile_->setEnabled(!running && !fileSource_.file.isEmpty());
    stop_->setEnabled(running && loop_->phase() != SeriesPhase::Stopping);
}

void TSeriesForm::ShowCounters() {
    passed_->setText(text_(rows::SeriesPassedCount).arg(loop_->passed()));
    failed_->setText(text_(rows::SeriesFailedCount).arg(loop_->failed()));
}

void TSeriesForm::ShowResult(std::function<QString()> wording, ResultLook look) {
    resultWording_ = std::move(wording);
    result_->setText(resultWording_());
    result_->setProperty("look", int(look));
    // Always a pair that reads: white on green or red, else the window's own colours.
    const QPalette own = palette();
    QPalette shown = result_->palette();
    shown.setColor(QPalette::Window, look == ResultLook::Passed   ? kPassColour
                                     : look == ResultLook::Failed ? kFailColour
                                                                  : own.color(QPalette::Window));
    shown.setColor(QPalette::WindowText, look == ResultLook::Neutral
                                             ? own.color(QPalette::WindowText)
                                             : QColor(Qt::white));
    result_->setPalette(shown);
}

void TSeriesForm::ShowResult(const QString& line, ResultLook look) {
    ShowResult([line] { return line; }, look);
}

void TSeriesForm::ClearResult() {
    ShowResult(QString(), ResultLook::Neutral);
}

void TSeriesForm::ShowMessages(const QStringList& lines) {
    messages_->setText(lines.join(u'\n'));
}

// OK or a failure only ever stands for the meter plugged in now: the field clears once
// the loop waits for a meter, and a unit starts with its own line.
void TSeriesForm::PhaseChanged(SeriesPhase phase) {
    ShowRunning();
    if (phase == SeriesPhase::WaitingForMeter) ClearResult();
}

void TSeriesForm::UnitStarted(int number) {
    ShowResult([this, number] { return text_(rows::SeriesUnitStarting).arg(number); },
               ResultLook::Neutral);
}

void TSeriesForm::ShowUnits() {
    const std::vector<SeriesUnit>& units = loop_->units();
    units_->setRowCount(int(units.size()));
    for (int row = 0; row < int(units.size()); ++row) {
        const SeriesUnit& unit = units[size_t(row)];
        const QStringList cells{QString::number(unit.number),
                                unit.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                text_(UnitResultRow(unit.result)), ShortJournalId(unit.journalId)};
        for (int column = 0; column < cells.size(); ++column)
            units_->setItem(row, column, new QTableWidgetItem(cells[column]));
        units_->item(row, 3)->setToolTip(unit.journalId);
    }
}

void TSeriesForm::UnitFinished(const SeriesUnit& unit) {
    ShowCounters();
    ShowUnits();
    units_->scrollToBottom();
    const int resultRow = UnitResultRow(unit.result);
    if (unit.result == UnitResult::Passed)
        return ShowResult([this] { return text_(rows::SeriesOk); }, ResultLook::Passed);
    const ResultLook look =
        unit.result == UnitResult::Failed ? ResultLook::Failed : ResultLook::Neutral;
    if (unit.reason.isEmpty())
        return ShowResult([this, resultRow] { return text_(resultRow); }, look);
    ShowResult(unit.reason.last(), look);
}

void TSeriesForm::SeriesEnded(SeriesEnd reason, const QStringList& lines) {
    ShowRunning();
    ShowCounters();
    ShowMessages(warnings_ + lines);
    if (reason == SeriesEnd::PortFailed || reason == SeriesEnd::NoInterface)
        ShowResult(lines.first(), ResultLook::Failed);
    if (closeWhenEnded_) done(result());
}

// ---------------------------------------------------------------- actions

void TSeriesForm::ChooseFileClick() {
    DialogFolder& folder = context_.dialogs.folder();
    const QString path = context_.dialogs.askOpenName(this, folder.initialPath(source_.file));
    if (path.isEmpty()) return;
    folder.remember(path);
    SeriesSource chosen;
    const SettingsResult loaded =
        LoadSeriesSource(path, context_.controller.editor().texts(), chosen);
    if (!loaded.ok)
        return ShowMessages({loaded.message(context_.controller.editor().texts(), language())});
    fileSource_ = source_ = chosen;
    fromFile_->setText(QDir::toNativeSeparators(path));
    fromFile_->setEnabled(!loop_->Running());
    fromFile_->setChecked(true);
    ShowSource();
    ShowMessages({});
}

void TSeriesForm::ChooseFolderClick() {
    const QString folder = context_.dialogs.askFolder(this, sheetFolder_->text());
    if (folder.isEmpty()) return;
    sheetFolder_->setText(QDir::toNativeSeparators(folder));
    sheets_->setChecked(true);
}

void TSeriesForm::StartClick() {
    if (loop_->Running()) return;
    if (sheets_->isChecked() && sheetFolder_->text().trimmed().isEmpty())
        return ShowMessages({text_(rows::SeriesNoSheetFolder)});
    if (sheets_->isChecked())
        if (const auto refused = SheetFolderRefusal(sheetFolder_->text().trimmed(), text_))
            return ShowMessages({*refused});
    warnings_.clear();
    ClearResult();
    ShowMessages({});
    // The series talks to the meter on a session of its own; the program's port gives way
    // and its failures are not the main window's to report meanwhile.
    if (!portReleased_) {
        context_.controller.SetOperationRunning(true);
        context_.controller.ReleasePort();
        portReleased_ = true;
    }
    SeriesSetup setup{source_.model, context_.controller.editor().session(), verify_->isChecked(),
                      0};
    setup.session.LoadedFileName =
        source_.file.isEmpty() ? setup.session.LoadedFileName : source_.file;
    units_->setRowCount(0);
    const SessionState& session = setup.session;
    station_.setPort({context_.deviceFactory, session.ComPortNumber, session.ComPortName});
    station_.setFile(source_.file);
    const QStringList refused = loop_->Start(setup);
    ShowRunning();
    ShowCounters();
    if (refused.isEmpty()) return;
    const QStringList lines = station_.openProblem().isEmpty() ? refused : station_.openProblem();
    ShowMessages(lines);
    ShowResult(lines.last(), ResultLook::Failed);
}

void TSeriesForm::StopClick() {
    loop_->Stop();
    ShowRunning();
}

// A running series ends only when the operator says so.
bool TSeriesForm::MayStop() {
    return !loop_->Running() || closeWhenEnded_ ||
           context_.dialogs.askYesNo(this, text_(rows::SeriesAskStop));
}

void TSeriesForm::done(int result) {
    if (!MayStop()) return;
    if (loop_->Running()) {
        loop_->Stop();
        if (loop_->Running()) {
            closeWhenEnded_ = true;  // the write frame under way finishes first
            ShowRunning();
            return;
        }
    }
    closeWhenEnded_ = false;
    if (portReleased_) {
        portReleased_ = false;
        context_.controller.SetOperationRunning(false);
        // The lines as the main window's switches say, as after every operation window.
        RunGuarded([this] { context_.controller.HandBackLines(); });
    }
    QDialog::done(result);
}

}  // namespace zmt

#include "moc_SeriesWindow.cpp"
