#include "app/demo/IndicatorLed.h"

#include <QPainter>

namespace zmt::demo {

IndicatorLed::IndicatorLed(QColor litColor, QWidget* parent)
    : QWidget(parent), litColor_(litColor) {
    setFixedSize(sizeHint());
}

void IndicatorLed::setLit(bool lit) {
    if (lit == lit_) return;
    lit_ = lit;
    update();
}

void IndicatorLed::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 40, 40), 1.5));
    painter.setBrush(lit_ ? litColor_ : litColor_.darker(400));
    const qreal inset = 2;
    painter.drawEllipse(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}

}  // namespace zmt::demo

#include "moc_IndicatorLed.cpp"
