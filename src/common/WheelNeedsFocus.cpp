#include "common/WheelNeedsFocus.h"

#include <QEvent>
#include <QWidget>

namespace zmt {

void WheelNeedsFocus::Apply(QWidget* control) {
    control->setFocusPolicy(Qt::StrongFocus);  // no focus by the wheel either
    control->installEventFilter(new WheelNeedsFocus(control));
}

bool WheelNeedsFocus::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel) return false;
    const auto* control = qobject_cast<QWidget*>(watched);
    return control && !control->hasFocus();
}

}  // namespace zmt

#include "moc_WheelNeedsFocus.cpp"
