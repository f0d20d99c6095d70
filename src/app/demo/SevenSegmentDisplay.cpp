#include "app/demo/SevenSegmentDisplay.h"

#include <QPainter>
#include <QPolygonF>

#include <array>

namespace zmt::demo {

namespace {

// Geometry of one digit in its own units; the painter scales it to the widget.
constexpr qreal CellPitch = 72;
constexpr qreal CellHeight = 100;
constexpr qreal Padding = 14;
constexpr qreal Thickness = 10;
constexpr qreal Gap = 1.5;
constexpr qreal Left = 10, Right = 54, Top = 8, Middle = 50, Bottom = 92;
constexpr qreal Slant = -0.07;  // the digits lean to the right like the meter's

const QColor Lit(255, 45, 30);
const QColor Unlit(70, 12, 10);
const QColor Face(18, 4, 4);

QPolygonF HorizontalBar(qreal x0, qreal x1, qreal y) {
    const qreal h = Thickness / 2;
    return QPolygonF(
        {{x0, y}, {x0 + h, y - h}, {x1 - h, y - h}, {x1, y}, {x1 - h, y + h}, {x0 + h, y + h}});
}

QPolygonF VerticalBar(qreal x, qreal y0, qreal y1) {
    const qreal h = Thickness / 2;
    return QPolygonF(
        {{x, y0}, {x + h, y0 + h}, {x + h, y1 - h}, {x, y1}, {x - h, y1 - h}, {x - h, y0 + h}});
}

struct SegmentShape {
    Segment segment;
    QPolygonF shape;
};

const std::array<SegmentShape, 8>& Shapes() {
    static const std::array<SegmentShape, 8> shapes = {{
        {SegA, HorizontalBar(Left + Gap, Right - Gap, Top)},
        {SegB, VerticalBar(Right, Top + Gap, Middle - Gap)},
        {SegC, VerticalBar(Right, Middle + Gap, Bottom - Gap)},
        {SegD, HorizontalBar(Left + Gap, Right - Gap, Bottom)},
        {SegE, VerticalBar(Left, Middle + Gap, Bottom - Gap)},
        {SegF, VerticalBar(Left, Top + Gap, Middle - Gap)},
        {SegG, HorizontalBar(Left + Gap, Right - Gap, Middle)},
        {SignBar, HorizontalBar(Left - 4, (Left + Right) / 2 + 2, Middle)},
    }};
    return shapes;
}

qreal LogicalWidth() {
    return 2 * Padding + DigitCount * CellPitch;
}

qreal LogicalHeight() {
    return 2 * Padding + CellHeight;
}

}  // namespace

SevenSegmentDisplay::SevenSegmentDisplay(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void SevenSegmentDisplay::setCells(const DigitCells& cells) {
    if (cells == cells_) return;
    cells_ = cells;
    update();
}

QSize SevenSegmentDisplay::sizeHint() const {
    return QSize(300, 120);
}

QSize SevenSegmentDisplay::minimumSizeHint() const {
    return QSize(150, 60);
}

void SevenSegmentDisplay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal scale = std::min(width() / LogicalWidth(), height() / LogicalHeight());
    painter.translate((width() - scale * LogicalWidth()) / 2,
                      (height() - scale * LogicalHeight()) / 2);
    painter.scale(scale, scale);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Face);
    painter.drawRoundedRect(QRectF(0, 0, LogicalWidth(), LogicalHeight()), 6, 6);
    painter.translate(Padding + 8, Padding);
    painter.shear(Slant, 0);
    painter.translate(-Slant * CellHeight, 0);
    for (const DigitCell& cell : cells_) {
        paintCell(painter, cell);
        painter.translate(CellPitch, 0);
    }
}

void SevenSegmentDisplay::paintCell(QPainter& painter, const DigitCell& cell) const {
    const std::uint8_t lit = SegmentsOf(cell);
    for (const SegmentShape& shape : Shapes()) {
        // The sign bar has no unlit outline: it only exists beside a leading 1.
        if (shape.segment == SignBar && !(lit & SignBar)) continue;
        painter.setBrush((lit & shape.segment) ? Lit : Unlit);
        painter.drawPolygon(shape.shape);
    }
    painter.setBrush(cell.point ? Lit : Unlit);
    painter.drawEllipse(QPointF(Right + 9, Bottom), 4.5, 4.5);
}

}  // namespace zmt::demo

#include "moc_SevenSegmentDisplay.cpp"
