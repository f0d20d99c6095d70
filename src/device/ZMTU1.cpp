#include "device/ZMTU1.h"

#include "common/Beep.h"
#include "common/ErrorDisplay.h"
#include "device/OperationWiring.h"
#include "editor/MaskedEdit.h"
#include "editor/PortController.h"
#include "link/TransferEngine.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>

namespace zmt {

namespace {

QPlainTextEdit* MakeList(QWidget* parent, const char* name, const QRect& geometry) {
    auto* list = new QPlainTextEdit(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setGeometry(geometry);
    list->setReadOnly(true);
    return list;
}

void ShowLines(QPlainTextEdit* list, const QStringList& lines) {
    const QString text = lines.join(QLatin1Char('\n'));
    if (list->toPlainText() != text) list->setPlainText(text);
}

}  // namespace

TForm2::TForm2(Form2Context context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      sequencer_(context.transfer, context.device, context.controller.editor(), MakeHooks(),
                 context.clock) {
    setObjectName(QStringLiteral("Form2"));
    buildControls();
    connectHandlers();
    Render();
}

LegacyHooks TForm2::MakeHooks() {
    LegacyHooks hooks{
        MakeOperationHooks(context_.controller, context_.transfers, ShowErrorMessage)};
    hooks.Beep = Beep;
    return hooks;
}

void TForm2::buildControls() {
    setWindowTitle(QStringLiteral("ZMT digitales Messgerät 48x24"));
    resize(456, 420);
    controls_.build(this, QStringLiteral("Weiter"), QStringLiteral("OK"),
                    FieldMask::ReadingFirstSign);
    controls_.Abbruchbutton->setText(QStringLiteral("Abbruch"));
    controls_.nochmalbutton->setText(QStringLiteral("nochmal"));
    controls_.Fertigbutton->setText(QStringLiteral("fertig"));
    controls_.KalPan->setText(QStringLiteral("Bitte Anzeige am Gerät ablesen:"));
    checkint_ = new QPushButton(QStringLiteral("checkint"), this);
    checkint_->setObjectName(QStringLiteral("checkint"));
    checkint_->setGeometry(8, 280, 100, 28);
    checkint_->hide();
    readdat_ = new QPushButton(QStringLiteral("readdat"), this);
    readdat_->setObjectName(QStringLiteral("readdat"));
    readdat_->setGeometry(116, 280, 100, 28);
    readdat_->hide();
    Memo2_ = MakeList(this, "Memo2", QRect(8, 316, 216, 96));
    Memo3_ = MakeList(this, "Memo3", QRect(232, 316, 216, 96));
    // The window speaks German only, its names too.
    controls_.Info->setAccessibleName(QStringLiteral("Meldungen"));
    Memo2_->setAccessibleName(QStringLiteral("Gelesene Wörter"));
    Memo3_->setAccessibleName(QStringLiteral("Prüfung"));
}

void TForm2::connectHandlers() {
    connect(controls_.weiterbutton, &QPushButton::clicked, this, &TForm2::weiterbuttonClick);
    connect(controls_.Abbruchbutton, &QPushButton::clicked, this, &TForm2::FertigbuttonClick);
    connect(controls_.Fertigbutton, &QPushButton::clicked, this, &TForm2::FertigbuttonClick);
    connect(controls_.nochmalbutton, &QPushButton::clicked, this, &TForm2::FormShow);
    connect(checkint_, &QPushButton::clicked, this, &TForm2::checkintClick);
    connect(&context_.transfers, &link::TransferEngine::exchangeEnded, this,
            &TForm2::TransferEnded);
    connect(&sequencer_, &LegacySequencer::viewChanged, this, &TForm2::Render);
}

void TForm2::Step(const std::function<void()>& step) {
    RunGuarded(step);
    Render();
}

void TForm2::Render() {
    LegacyView& view = sequencer_.view();
    controls_.render(view);
    ShowLines(Memo2_, view.Memo2);
    ShowLines(Memo3_, view.Memo3);
    if (view.Memo3Aqua) {
        QPalette palette = Memo3_->palette();
        palette.setColor(QPalette::Base, Qt::cyan);  // aqua
        Memo3_->setPalette(palette);
    }
}

void TForm2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TForm2::FormShow() {
    closeWhenTransferEnds_ = doneWhenTransferEnds_ = linesHandedBack_ = false;
    Step([this] { sequencer_.Reset(); });
}

void TForm2::weiterbuttonClick() {
    Step([this] { sequencer_.weiterbuttonClick(); });
}

void TForm2::checkintClick() {
    Step([this] { sequencer_.checkintClick(); });
}

void TForm2::FertigbuttonClick() {
    if (sequencer_.AwaitingTransfer()) {
        doneWhenTransferEnds_ = true;
        return;
    }
    doneWhenTransferEnds_ = false;
    Step([this] { sequencer_.FertigbuttonClick(); });
    // The sequencer has handed the lines back; the close must not do it a second time.
    linesHandedBack_ = true;
    close();
}

void TForm2::TransferEnded() {
    Step([this] { sequencer_.TransferEnded(); });
    if (doneWhenTransferEnds_)
        FertigbuttonClick();
    else if (closeWhenTransferEnds_)
        close();
}

void TForm2::closeEvent(QCloseEvent* event) {
    if (sequencer_.AwaitingTransfer()) {
        closeWhenTransferEnds_ = true;
        event->ignore();
        return;
    }
    closeWhenTransferEnds_ = false;
    sequencer_.CancelPendingSteps();
    // Closed otherwise than by "fertig": a restart of the meter may be pending (power off, on
    // again by resettimer); the lines go back to what the main window's switches say, as
    // after the operation window.
    if (!linesHandedBack_) RunGuarded([this] { context_.controller.HandBackLines(); });
    linesHandedBack_ = false;
    event->accept();
}

}  // namespace zmt

#include "moc_ZMTU1.cpp"
