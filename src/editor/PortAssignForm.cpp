#include "editor/PortAssignForm.h"

#include "common/MakeWidget.h"
#include "editor/PortAssignDialogs.h"
#include "editor/PortController.h"
#include "editor/PortTexts.h"
#include "language/HelpLineBinder.h"
#include "link/SpComPort.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace zmt {

namespace {

QString Numbered(const char* name, int number) {
    return QString::fromLatin1(name) + QString::number(number);
}

}  // namespace

TPortAssignForm::TPortAssignForm(PortAssignContext context, QWidget* parent)
    : QDialog(parent),
      context_(context),
      text_(context.controller.editor().texts(), [this] { return languageIndex(); }),
      assignment_(context.controller.ports(), context.controller.editor().texts(),
                  [this] { return languageIndex(); }),
      probe_(new link::InterfaceProbe(context.controller.ports().probePorts, context.clock, this)) {
    setObjectName(QStringLiteral("PortAssign"));
    buildControls();
    connectControls();
    new HelpLineBinder(
        this, context_.controller.editor().texts(),
        {[] { return QString(); }, [] { return QString(); }, [this] { return languageIndex(); }},
        [this](const QString& line) { helpPanel_->setText(line); });
}

TPortAssignForm::~TPortAssignForm() = default;

int TPortAssignForm::languageIndex() const {
    return context_.controller.editor().session().LanguageIndex;
}

// ---------------------------------------------------------------- building

void TPortAssignForm::buildControls() {
    auto* grid = new QGridLayout;
    heading_ = Named(new QLabel(this), QStringLiteral("PortHeading"));
    devicesNote_ = Named(new QLabel(this), QStringLiteral("PortDevicesNote"));
    grid->addWidget(heading_, 0, 0, 1, 4);
    grid->addWidget(devicesNote_, 1, 0, 1, 4);
    buildChoiceRows(grid);
    buildFindControls(grid, 2 + 2 * ComPortCount);
    helpPanel_ = Named(new QLabel(this), QStringLiteral("PortHelpPanel"));
    helpPanel_->setFrameShape(QFrame::Panel);
    helpPanel_->setFrameShadow(QFrame::Sunken);
    helpPanel_->setMinimumHeight(helpPanel_->fontMetrics().height() + 4);
    ok_ = Named(new QPushButton(this), QStringLiteral("PortOk"));
    cancel_ = Named(new QPushButton(this), QStringLiteral("PortCancel"));
    ok_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addWidget(helpPanel_);
    column->addLayout(buttons);
    resize(620, 480);
}

void TPortAssignForm::buildChoiceRows(QGridLayout* grid) {
    for (int number = 1; number <= ComPortCount; ++number) {
        const int row = 2 * number;
        auto* label = Named(new QLabel(ComName(number), this), Numbered("PortLabel", number));
        QComboBox* choice = Named(new QComboBox(this), Numbered("PortChoice", number));
        choice->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        QLabel* target = Named(new QLabel(this), Numbered("PortTarget", number));
        target->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(label, row, 0);
        grid->addWidget(choice, row, 1, 1, 3);
        grid->addWidget(target, row + 1, 1, 1, 3);
        choices_[number - 1] = choice;
        targets_[number - 1] = target;
    }
    grid->setColumnStretch(1, 1);
}

void TPortAssignForm::buildFindControls(QGridLayout* grid, int row) {
    refresh_ = Named(new QPushButton(this), QStringLiteral("PortRefresh"));
    find_ = Named(new QPushButton(this), QStringLiteral("PortFind"));
    findAsLabel_ = Named(new QLabel(this), QStringLiteral("PortFindAsLabel"));
    findAs_ = Named(new QComboBox(this), QStringLiteral("PortFindAs"));
    for (int number = 1; number <= ComPortCount; ++number) findAs_->addItem(ComName(number));
    grid->addWidget(refresh_, row, 0);
    grid->addWidget(find_, row, 1);
    grid->addWidget(findAsLabel_, row, 2, Qt::AlignRight);
    grid->addWidget(findAs_, row, 3);
    progress_ = Named(new QProgressBar(this), QStringLiteral("PortFindProgress"));
    stopSearch_ = Named(new QPushButton(this), QStringLiteral("PortStopSearch"));
    findLog_ = Named(new QPlainTextEdit(this), QStringLiteral("PortFindLog"));
    findLog_->setReadOnly(true);
    findLog_->setLineWrapMode(QPlainTextEdit::NoWrap);
    grid->addWidget(progress_, row + 1, 0, 1, 3);
    grid->addWidget(stopSearch_, row + 1, 3);
    grid->addWidget(findLog_, row + 2, 0, 1, 4);
    SetSearching(false);
}

void TPortAssignForm::connectControls() {
    for (int number = 1; number <= ComPortCount; ++number) {
        connect(choices_[number - 1], &QComboBox::activated, this,
                [this, number](int index) { ChoiceChanged(number, index); });
    }
    connect(refresh_, &QPushButton::clicked, this, &TPortAssignForm::RefreshClick);
    connect(find_, &QPushButton::clicked, this, &TPortAssignForm::FindClick);
    connect(stopSearch_, &QPushButton::clicked, this, &TPortAssignForm::StopSearchClick);
    connect(ok_, &QPushButton::clicked, this, &TPortAssignForm::accept);
    connect(cancel_, &QPushButton::clicked, this, &TPortAssignForm::reject);
    connect(probe_, &link::InterfaceProbe::probing, this, &TPortAssignForm::ProbeAdvanced);
    connect(probe_, &link::InterfaceProbe::probed, this, &TPortAssignForm::ProbeReported);
    connect(probe_, &link::InterfaceProbe::finished, this, &TPortAssignForm::ProbeFinished);
}

void TPortAssignForm::ApplyLanguage() {
    const std::pair<QWidget*, int> captions[] = {{heading_, rows::PortAssignHeading},
                                                 {refresh_, rows::PortRefreshButton},
                                                 {find_, rows::PortFindButton},
                                                 {findAsLabel_, rows::PortFindAssignAs},
                                                 {stopSearch_, rows::PortStopSearchButton},
                                                 {ok_, rows::PortOkButton},
                                                 {cancel_, rows::PortCancelButton}};
    for (const auto& [control, row] : captions) {
        if (auto* label = qobject_cast<QLabel*>(control)) label->setText(text_(row));
        if (auto* button = qobject_cast<QPushButton*>(control)) button->setText(text_(row));
    }
    setWindowTitle(text_(rows::PortAssignTitle));
    findLog_->setAccessibleName(text_(rows::NamePortFindLog));
    helpPanel_->setAccessibleName(text_(rows::NameHelpLine));
}

// ---------------------------------------------------------------- showing

// Every opening starts afresh: the language of the moment, the devices and bindings now.
void TPortAssignForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        portWasOpen_ = context_.controller.port().IsOpen();
        portReleased_ = false;
        findLog_->clear();
        progress_->reset();
        findAs_->setCurrentIndex(
            std::clamp(context_.controller.session().ComPortNumber, 1, ComPortCount) - 1);
        ApplyLanguage();
        helpPanel_->clear();
        assignment_.start();
        ShowRows();
    }
    QDialog::showEvent(event);
}

void TPortAssignForm::ShowRows() {
    devicesNote_->setText(assignment_.devicesNote());
    for (int number = 1; number <= ComPortCount; ++number) ShowRow(number);
}

void TPortAssignForm::ShowRow(int number) {
    QComboBox* choice = choices_[number - 1];
    const QSignalBlocker quiet(choice);
    choice->clear();
    for (const PortAssignment::Choice& offered : assignment_.choices(number)) {
        choice->addItem(offered.text);
        choice->setItemData(choice->count() - 1, offered.details, Qt::ToolTipRole);
    }
    choice->setCurrentIndex(assignment_.chosen(number));
    targets_[number - 1]->setText(QStringLiteral("\u2192 ") + assignment_.targetText(number));
}

void TPortAssignForm::ChoiceChanged(int number, int index) {
    assignment_.choose(number, index);
}

// ---------------------------------------------------------------- buttons

void TPortAssignForm::RefreshClick() {
    assignment_.refresh();
    ShowRows();
}

void TPortAssignForm::accept() {
    probe_->cancel();
    std::vector<int> retargeted;
    QStringList problems;
    const bool applied = assignment_.apply(retargeted, problems);
    ShowRows();
    if (!applied) return context_.dialogs.inform(this, problems.join('\n'));
    const int open = context_.controller.session().ComPortNumber;
    Leave(std::find(retargeted.begin(), retargeted.end(), open) != retargeted.end());
    QDialog::accept();
}

void TPortAssignForm::reject() {
    probe_->cancel();
    Leave(false);
    QDialog::reject();
}

// The port opens again as it was, on the device its COM number reaches now, so that power
// and signal follow the new device.
void TPortAssignForm::Leave(bool retargeted) {
    if (!portWasOpen_ || (!portReleased_ && !retargeted)) return;
    SessionState& s = context_.controller.session();
    context_.controller.SetPortLines(s.ComPortName, s.PowerOn, s.SignalOn, true);
}

// ---------------------------------------------------------------- the search

void TPortAssignForm::FindClick() {
    const QString question = assignment_.findQuestion();
    if (question.isEmpty()) return context_.dialogs.inform(this, text_(rows::PortFindNothingFree));
    if (!context_.dialogs.confirm(this, question)) return;
    // The program's own port may sit on one of the devices; the meter stays unpowered.
    context_.controller.ReleasePort();
    portReleased_ = true;
    findLog_->clear();
    SetSearching(true);
    probe_->start(assignment_.devices());
}

void TPortAssignForm::StopSearchClick() {
    probe_->cancel();
}

void TPortAssignForm::SetSearching(bool searching) {
    for (QWidget* control : {static_cast<QWidget*>(refresh_), static_cast<QWidget*>(find_),
                             static_cast<QWidget*>(findAs_)})
        control->setEnabled(!searching);
    for (QComboBox* choice : choices_) choice->setEnabled(!searching);
    stopSearch_->setEnabled(searching);
}

void TPortAssignForm::ProbeAdvanced(int index, int count) {
    progress_->setRange(0, count);
    progress_->setValue(index);
    const QString device = probe_->devices().at(index).devicePath;
    progress_->setFormat(text_(rows::PortFindProgress).arg(device).arg(index + 1).arg(count));
}

void TPortAssignForm::ProbeReported(const link::ProbeResult& result) {
    findLog_->appendPlainText(result.entry.devicePath + QStringLiteral(": ") +
                              DescribeProbeOutcome(result.outcome,
                                                   context_.controller.editor().texts(),
                                                   languageIndex()));
}

void TPortAssignForm::ProbeFinished(bool cancelled) {
    SetSearching(false);
    if (cancelled) return findLog_->appendPlainText(text_(rows::PortFindCancelled));
    progress_->setValue(progress_->maximum());
    progress_->setFormat(QStringLiteral("%p%"));
    OfferFound(probe_->found());
}

void TPortAssignForm::OfferFound(const std::vector<link::PortEntry>& found) {
    if (found.empty()) return context_.dialogs.inform(this, text_(rows::PortFindNone));
    const int number = findAs_->currentIndex() + 1;
    const QString offer = text_(rows::PortFindOffer).arg(found.front().devicePath).arg(number);
    if (!context_.dialogs.confirm(this, offer)) return;
    assignment_.chooseDevice(number, found.front());
    ShowRow(number);
}

}  // namespace zmt

#include "moc_PortAssignForm.cpp"
