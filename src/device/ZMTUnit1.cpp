#include "device/ZMTUnit1.h"

#include "common/ErrorDisplay.h"
#include "device/OperationWiring.h"
#include "editor/MaskedEdit.h"
#include "editor/PortController.h"
#include "language/OriginalRows.h"
#include "link/TransferEngine.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>

namespace zmt {

TProgramForm::TProgramForm(ProgramFormContext context, QWidget* parent)
    : QDialog(parent),
      context_(context),
      sequencer_(context.transfer, context.device, context.controller.editor(), MakeHooks(),
                 context.clock) {
    setObjectName(QStringLiteral("ProgramForm"));
    buildControls();
    connectHandlers();
}

OperationHooks TProgramForm::MakeHooks() {
    return MakeOperationHooks(context_.controller, context_.transfers, ShowErrorMessage);
}

void TProgramForm::buildControls() {
    setWindowTitle(QStringLiteral("ZMT digital display 48x24"));
    resize(456, 284);
    controls_.build(this, QStringLiteral("o.k."), QStringLiteral("o.k."),
                    FieldMask::ReadingLastDigit);
    Memo1_ = new QPlainTextEdit(this);
    Memo1_->setObjectName(QStringLiteral("Memo1"));
    Memo1_->setGeometry(8, 280, 440, 60);
    Memo1_->setReadOnly(true);
    Memo1_->hide();
    for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
}

void TProgramForm::connectHandlers() {
    connect(controls_.weiterbutton, &QPushButton::clicked, this, &TProgramForm::weiterbuttonClick);
    connect(controls_.Abbruchbutton, &QPushButton::clicked, this, &TProgramForm::FertigbuttonClick);
    connect(controls_.Fertigbutton, &QPushButton::clicked, this, &TProgramForm::FertigbuttonClick);
    connect(controls_.nochmalbutton, &QPushButton::clicked, this, &TProgramForm::FormShow);
    connect(controls_.OKButton, &QPushButton::clicked, this, &TProgramForm::OKButtonClick);
    connect(controls_.Anzeige, &MaskedEdit::exited, this, [this] {
        if (!controls_.rendering()) AnzeigeExit();
    });
    controls_.Anzeige->installEventFilter(this);
    connect(&context_.transfers, &link::TransferEngine::exchangeEnded, this,
            &TProgramForm::TransferEnded);
    connect(&sequencer_, &OperationSequencer::viewChanged, this, &TProgramForm::Render);
}

void TProgramForm::Step(const std::function<void()>& step) {
    RunGuarded(step);
    Render();
}

void TProgramForm::Render() {
    controls_.render(sequencer_.view());
    const QString memo = sequencer_.Memo1().join(QLatin1Char('\n'));
    if (Memo1_->toPlainText() != memo) Memo1_->setPlainText(memo);
}

void TProgramForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    // The window judges its exchanges itself: port failures stay out of the main window.
    context_.controller.SetOperationRunning(true);
    FormShow();
}

void TProgramForm::FormShow() {
    closeWhenTransferEnds_ = false;
    Step([this] { sequencer_.initform(ModeOfSession(context_.controller.session())); });
    const Texts& text = context_.controller.editor().wording();
    controls_.Abbruchbutton->setText(text(rows::Cancel));
    controls_.nochmalbutton->setText(text(rows::Repeat));
    controls_.Fertigbutton->setText(text(rows::Ready));
    controls_.KalPan->setText(text(rows::ReadDisplayedValue));
    controls_.Info->setAccessibleName(text(rows::NameOperationMessages));
}

void TProgramForm::weiterbuttonClick() {
    Step([this] { sequencer_.weiterbuttonClick(); });
}

void TProgramForm::AnzeigeExit() {
    Step([this] { sequencer_.AnzeigeExit(controls_.Anzeige->text()); });
}

void TProgramForm::OKButtonClick() {
    Step([this] { sequencer_.OKButtonClick(); });
}

void TProgramForm::FertigbuttonClick() {
    close();
}

void TProgramForm::TransferEnded() {
    Step([this] { sequencer_.TransferEnded(); });
    if (closeWhenTransferEnds_) close();
}

// ENTER confirms the reading; it must not reach the dialog's default button.
bool TProgramForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == controls_.Anzeige && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            AnzeigeExit();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Every way of closing comes here (close box, Escape, Abbruch and fertig).
void TProgramForm::done(int result) {
    if (sequencer_.AwaitingTransfer()) {
        closeWhenTransferEnds_ = true;
        return;
    }
    closeWhenTransferEnds_ = false;
    RunGuarded([this] { FormClose(); });
    QDialog::done(result);
}

// The interface lines go back to what the main window's switches say.
void TProgramForm::FormClose() {
    sequencer_.CancelPendingSteps();
    context_.controller.HandBackLines();
    context_.controller.SetOperationRunning(false);
}

}  // namespace zmt

#include "moc_ZMTUnit1.cpp"
