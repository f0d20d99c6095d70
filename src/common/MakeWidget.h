#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

namespace zmt {

// A child control as the window layouts place them: named like the control (so that tests
// and the help line find it) and at its fixed position.
template <class Widget>
Widget* MakeWidget(QWidget* parent, const char* name, const QRect& geometry) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

// A control that a layout places, named like the control.
template <class Widget>
Widget* Named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}
template <class Widget>
Widget* Named(Widget* widget, const char* name) {
    return Named(widget, QString::fromLatin1(name));
}

}  // namespace zmt
