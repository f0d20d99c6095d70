#pragma once

#include <QObject>

class QWidget;

namespace zmt {

// Makes a control take the mouse wheel only while it has the focus: scrolling over a window
// must not change a choice that the user is not working on (a device type, with the input
// value it sets). The control still takes the focus by click and Tab.
class WheelNeedsFocus : public QObject {
    Q_OBJECT
  public:
    static void Apply(QWidget* control);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    using QObject::QObject;
};

}  // namespace zmt
