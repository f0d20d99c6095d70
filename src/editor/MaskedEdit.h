#pragma once

#include <QLineEdit>

namespace zmt {

// What a masked entry field of the main window admits.
enum class FieldMask {
    AnyCharacter,    // "!ccccc;1; ": any character, the locale's separator and sign included
    DigitsAndSigns,  // "!####9;1; ": digits, blanks, plus and minus
    // The operator's reading of the display, position by position; unfilled positions are
    // leading blanks.
    ReadingLastDigit,   // "!####9;1; ": a digit or a sign in the first four, a digit in the last
    ReadingFirstSign,   // "!#9999;1; ": a digit or a sign in the first, a digit in the others
};

// Whether a reading mask admits `text`, its characters counted from the first position;
// the other masks are not positional and admit what their validator lets through.
bool ReadingMaskAdmits(FieldMask mask, const QString& text);

// A five-character entry field whose text is held right-aligned and blank-padded ("   20").
// Entering the field shows the text without its padding, selected, so that typing replaces
// it; leaving it for another control of the window reports exited(). Losing the focus to
// another window or a menu is no exit: the user has not left the field.
class MaskedEdit : public QLineEdit {
    Q_OBJECT
  public:
    MaskedEdit(const QString& name, FieldMask mask, QWidget* parent);

    static constexpr int Width = 5;

    // Shows a text held padded ("   20"). The field being edited shows it unpadded and
    // selected, so that the next key replaces it: padded, the five places would be full and
    // every key refused. Text that only differs by its padding is left alone, so that a
    // field being typed into keeps its cursor.
    void ShowText(const QString& padded);
    // The field that has the focus in its window, or gets it back with the window.
    bool IsEdited() const;

  signals:
    void exited();

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// True for a focus change that leaves the control within the window.
bool IsExitReason(Qt::FocusReason reason);

}  // namespace zmt
