#include "editor/MaskedEdit.h"

#include <QFocusEvent>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QTimer>

namespace zmt {

namespace {

bool IsSign(QChar c) {
    return c == u'+' || c == u'-';
}

// Every prefix of an admitted text is admitted, so typing never needs an intermediate state.
class ReadingValidator : public QValidator {
  public:
    ReadingValidator(FieldMask mask, QObject* parent) : QValidator(parent), mask_(mask) {}
    State validate(QString& input, int&) const override {
        return ReadingMaskAdmits(mask_, input) ? Acceptable : Invalid;
    }

  private:
    FieldMask mask_;
};

}  // namespace

bool ReadingMaskAdmits(FieldMask mask, const QString& text) {
    if (text.size() > MaskedEdit::Width) return false;
    qsizetype position = 0;
    while (position < text.size() && text[position] == u' ') ++position;
    for (; position < text.size(); ++position) {
        const QChar c = text[position];
        const bool signPosition =
            mask == FieldMask::ReadingLastDigit ? position < MaskedEdit::Width - 1 : position == 0;
        if (!c.isDigit() && !(signPosition && IsSign(c))) return false;
    }
    return true;
}

MaskedEdit::MaskedEdit(const QString& name, FieldMask mask, QWidget* parent) : QLineEdit(parent) {
    setObjectName(name);
    setMaxLength(Width);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (mask == FieldMask::DigitsAndSigns) {
        static const QRegularExpression digitsAndSigns(QStringLiteral("[0-9+\\- ]*"));
        setValidator(new QRegularExpressionValidator(digitsAndSigns, this));
    } else if (mask != FieldMask::AnyCharacter) {
        setValidator(new ReadingValidator(mask, this));
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
