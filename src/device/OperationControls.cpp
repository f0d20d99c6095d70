#include "device/OperationControls.h"
#include "common/MakeWidget.h"

#include "editor/MaskedEdit.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <array>
#include <utility>

namespace zmt {

namespace {

void SetBold(QWidget* widget) {
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
}

void SetBackground(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

const QColor kLime(0, 255, 0);
const QColor kTaskYellow(255, 255, 128);
const QColor kWarningYellow(255, 255, 0);

// A warning line lies on yellow across the whole width, however often it wraps.
void MarkWarningLines(QPlainTextEdit& info, const QList<int>& lines) {
    for (QTextBlock block = info.document()->begin(); block.isValid(); block = block.next()) {
        const QBrush wanted =
            lines.contains(block.blockNumber()) ? QBrush(kWarningYellow) : QBrush();
        QTextBlockFormat format = block.blockFormat();
        if (format.background() == wanted) continue;
        format.setBackground(wanted);
        QTextCursor(block).setBlockFormat(format);
    }
}

}  // namespace

QColor InfoBackground(InfoColour colour, const QWidget& window) {
    switch (colour) {
        case InfoColour::White:
            return Qt::white;
        case InfoColour::Lime:
            return kLime;
        case InfoColour::Yellow:
            return QColor(Qt::yellow);
        case InfoColour::Red:
            return Qt::red;
        case InfoColour::Window:
            break;
    }
    return window.palette().color(QPalette::Window);
}

void OperationControls::build(QWidget* window, const QString& weiterCaption,
                              const QString& okCaption, FieldMask readingMask) {
    buildTaskPanel(window);
    Info = MakeWidget<QPlainTextEdit>(window, "Info", QRect(8, 72, 440, 120));
    Info->setReadOnly(true);
    Info->setUndoRedoEnabled(false);  // the marks of warning lines are no edits
    Info->setFocusPolicy(Qt::NoFocus);
    buildReadingEntry(window, okCaption, readingMask);
    buildButtons(window, weiterCaption);
}

void OperationControls::buildTaskPanel(QWidget* window) {
    taskpanel = MakeWidget<QFrame>(window, "taskpanel", QRect(8, 8, 440, 56));
    taskpanel->setFrameShape(QFrame::Panel);
    taskpanel->setFrameShadow(QFrame::Raised);
    taskpanel->setAutoFillBackground(true);
    SetBackground(taskpanel, QPalette::Window, kTaskYellow);
    tasklabel = MakeWidget<QLabel>(taskpanel, "tasklabel", QRect(8, 4, 424, 22));
    Label1 = MakeWidget<QLabel>(taskpanel, "Label1", QRect(8, 28, 424, 22));
    SetBold(tasklabel);
    SetBold(Label1);
}

void OperationControls::buildReadingEntry(QWidget* window, const QString& okCaption,
                                          FieldMask readingMask) {
    KalPan = MakeWidget<QLabel>(window, "KalPan", QRect(8, 200, 260, 32));
    KalPan->setFrameShape(QFrame::Panel);
    KalPan->setFrameShadow(QFrame::Raised);
    KalPan->setAlignment(Qt::AlignCenter);
    Anzeige = new MaskedEdit(QStringLiteral("Anzeige"), readingMask, window);
    Anzeige->setGeometry(276, 204, 72, 25);
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::Monospace);
    Anzeige->setFont(fixed);
    Anzeige->setText(QStringLiteral(" 0000"));
    OKButton = MakeWidget<QPushButton>(window, "OKButton", QRect(356, 204, 75, 25));
    OKButton->setText(okCaption);
    KalPan->hide();
    Anzeige->hide();
    OKButton->hide();
}

void OperationControls::buildButtons(QWidget* window, const QString& weiterCaption) {
    weiterbutton = MakeWidget<QPushButton>(window, "weiterbutton", QRect(8, 244, 100, 28));
    Abbruchbutton = MakeWidget<QPushButton>(window, "Abbruchbutton", QRect(116, 244, 100, 28));
    nochmalbutton = MakeWidget<QPushButton>(window, "nochmalbutton", QRect(224, 244, 100, 28));
    Fertigbutton = MakeWidget<QPushButton>(window, "Fertigbutton", QRect(332, 244, 100, 28));
    weiterbutton->setText(weiterCaption);
    nochmalbutton->hide();
}

void OperationControls::render(OperationView& view) {
    rendering_ = true;
    taskpanel->setVisible(view.taskpanel);
    tasklabel->setText(view.tasklabel);
    Label1->setText(view.Label1);
    renderInfo(view);
    KalPan->setVisible(view.KalPan);
    Anzeige->setVisible(view.Anzeige);
    renderButtons(view);
    takeRequests(view);
    rendering_ = false;
}

void OperationControls::renderInfo(const OperationView& view) {
    const QString text = view.Info.join(QLatin1Char('\n'));
    if (Info->toPlainText() != text) Info->setPlainText(text);
    SetBackground(Info, QPalette::Base, InfoBackground(view.infoColour, *Info->window()));
    MarkWarningLines(*Info, view.warningLines);
}

void OperationControls::renderButtons(const OperationView& view) {
    const std::array<std::pair<QPushButton*, const ButtonView*>, 5> buttons{{
        {weiterbutton, &view.weiterbutton},
        {Abbruchbutton, &view.Abbruchbutton},
        {OKButton, &view.OKButton},
        {nochmalbutton, &view.nochmalbutton},
        {Fertigbutton, &view.Fertigbutton},
    }};
    for (const auto& [button, state] : buttons) {
        button->setVisible(state->visible);
        button->setEnabled(state->enabled);
    }
}

void OperationControls::takeRequests(OperationView& view) {
    if (auto text = std::exchange(view.anzeigeTextRequest, std::nullopt)) Anzeige->setText(*text);
    if (auto target = std::exchange(view.focusRequest, std::nullopt)) {
        QWidget* widget = focusWidget(*target);
        if (widget->isVisibleTo(widget->window()) && widget->isEnabled())
            widget->setFocus(Qt::OtherFocusReason);
    }
}

QWidget* OperationControls::focusWidget(FocusTarget target) const {
    switch (target) {
        case FocusTarget::weiterbutton:
            return weiterbutton;
        case FocusTarget::nochmalbutton:
            return nochmalbutton;
        case FocusTarget::Fertigbutton:
            return Fertigbutton;
        case FocusTarget::Anzeige:
            return Anzeige;
        case FocusTarget::OKButton:
            break;
    }
    return OKButton;
}

}  // namespace zmt
