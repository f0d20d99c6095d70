#pragma once

// The controls that both operation windows share, and how a view is drawn on them.

#include "device/OperationView.h"

#include <QColor>
#include <QString>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace zmt {

enum class FieldMask;
class MaskedEdit;

class OperationControls {
  public:
    // Builds the controls on `window`, each named as in the form; `readingMask` is the
    // mask of the operator's reading, which differs between the two windows.
    void build(QWidget* window, const QString& weiterCaption, const QString& okCaption,
               FieldMask readingMask);

    // Shows `view`; its focus and entry text requests are taken and cleared. Focus moves
    // made here are not the operator's: rendering() is true meanwhile.
    void render(OperationView& view);
    bool rendering() const { return rendering_; }

    QFrame* taskpanel = nullptr;
    QLabel* tasklabel = nullptr;
    QLabel* Label1 = nullptr;
    QPlainTextEdit* Info = nullptr;
    QLabel* KalPan = nullptr;
    MaskedEdit* Anzeige = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* weiterbutton = nullptr;
    QPushButton* Abbruchbutton = nullptr;
    QPushButton* nochmalbutton = nullptr;
    QPushButton* Fertigbutton = nullptr;

  private:
    void buildTaskPanel(QWidget* window);
    void buildReadingEntry(QWidget* window, const QString& okCaption, FieldMask readingMask);
    void buildButtons(QWidget* window, const QString& weiterCaption);
    void renderInfo(const OperationView& view);
    void renderButtons(const OperationView& view);
    void takeRequests(OperationView& view);
    QWidget* focusWidget(FocusTarget target) const;

    bool rendering_ = false;
};

// The background of Info for a colour of the view.
QColor InfoBackground(InfoColour colour, const QWidget& window);

}  // namespace zmt
