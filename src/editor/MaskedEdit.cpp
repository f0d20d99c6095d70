#include "MaskedEdit.h"

#include <QFocusEvent>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QTimer>

namespace zmt {

MaskedEdit::MaskedEdit(const QString& name, FieldMask mask, QWidget* parent) : QLineEdit(parent) {
    setObjectName(name);
    setMaxLength(Width);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (mask == FieldMask::DigitsAndSigns) {
        static const QRegularExpression digitsAndSigns(QStringLiteral("[0-9+\\- ]*"));
        setValidator(new QRegularExpressionValidator(digitsAndSigns, this));
    }
}

bool IsExitReason(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

void MaskedEdit::ShowText(const QString& padded) {
    if (!IsEdited()) {
        if (text() != padded) setText(padded);
        return;
    }
    if (text().trimmed() == padded.trimmed()) return;
    setText(padded.trimmed());
    selectAll();
}

bool MaskedEdit::IsEdited() const {
    return window()->focusWidget() == this;
}

void MaskedEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // The padding blanks would fill all five places and block typing.
    const QString unpadded = text().trimmed();
    if (text() != unpadded) setText(unpadded);
    if (!IsExitReason(event->reason())) return;  // back from a menu or another window
    // QLineEdit places the cursor after a mouse press that follows this event.
    QTimer::singleShot(0, this, &QLineEdit::selectAll);
}

void MaskedEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (IsExitReason(event->reason())) emit exited();
}

}  // namespace zmt

#include "moc_MaskedEdit.cpp"
