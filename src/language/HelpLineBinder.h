#pragma once

#include "language/HelpLine.h"
#include "language/LanguageText.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QWidget;

namespace zmt {

// Drives the main window's context help line from the pointer and the focus.
//
// Construct it once the window's controls exist:
//
//     new HelpLineBinder(this, languageText, {polarityGetter, limitModeGetter,
//                        languageGetter}, [this](const QString& t) { HelpPanel->setText(t); });
//
// It becomes a child of `root` and watches `root` and every widget of the same window
// (controls added later are picked up when they are first polished); dialogs and pop-up
// menus parented to the window are other windows and are left alone. It switches mouse
// tracking on for the widgets it watches so that a plain pointer movement is reported.
//
// A control is known by its object name. A widget without a usable name (empty, or an
// internal "qt_..." part of a composite control such as a memo's viewport) stands for its
// first named ancestor; so the window itself should be named "Form1", a container that
// must count as the window's background should stay unnamed, and a widget that must leave
// the line alone (the menu bar, for instance) should carry a name that has no binding.
//
// Focus regained because the window was reactivated or a menu closed is not a focus entry
// into a control and leaves the line as it was. The binder never consumes an event.
class HelpLineBinder : public QObject {
    Q_OBJECT
  public:
    struct StateSources {
        std::function<QString()> polarityCaption;  // the caption of `polaritaet`
        std::function<QString()> limitMode;        // `LimitMode`
        std::function<int()> languageIndex;        // `LanguageIndex`
    };
    using HelpLineSetter = std::function<void(const QString&)>;

    // `texts` must outlive the binder.
    HelpLineBinder(QWidget* root, const LanguageText& texts, StateSources sources,
                   HelpLineSetter setHelpLine);

    // Name that stands for `widget` in the help table (see above).
    static QString ControlNameOf(const QWidget* widget);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void watchTree(QWidget* top);
    void watch(QWidget* widget);
    bool belongsToRootWindow(const QWidget* widget) const;
    void showHelpFor(HelpEvent helpEvent, const QWidget* control);

    QPointer<QWidget> root_;
    const LanguageText& texts_;
    StateSources sources_;
    HelpLineSetter setHelpLine_;
};

// True when `receiver` is the deepest widget under `localPos` (its own coordinates), i.e.
// the widget that got the mouse event first rather than a parent it was passed on to.
bool IsDeepestUnderPointer(const QWidget* receiver, const QPoint& localPos);

// True for a focus gain that means the user (or the program) entered the control.
bool IsFocusEntry(Qt::FocusReason reason);

}  // namespace zmt
