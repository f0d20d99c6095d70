#include "editor/ZMT1Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace zmt {

namespace {

constexpr QSize kModeSize(44, 22);
constexpr QSize kContactSize(26, 26);
constexpr QSize kDisplaySize(164, 46);
constexpr QSize kLogoSize(72, 104);

QPixmap Canvas(QSize size, QColor fill = Qt::transparent) {
    QPixmap pixmap(size);
    pixmap.fill(fill);
    return pixmap;
}

// A contact characteristic: display value to the right, contact state upwards.
void DrawCharacteristic(QPainter& p, bool closedAbove) {
    p.setPen(QPen(Qt::darkGray, 1));
    p.drawLine(4, 18, 40, 18);
    p.drawLine(4, 18, 4, 3);
    p.setPen(QPen(QColor(0, 128, 0), 2));
    const int low = 16, high = 6, step = 22;
    p.drawLine(5, closedAbove ? low : high, step, closedAbove ? low : high);
    p.drawLine(step, low, step, high);
    p.drawLine(step, closedAbove ? high : low, 39, closedAbove ? high : low);
}

void DrawNotUsed(QPainter& p) {
    p.setPen(QPen(Qt::darkGray, 1));
    p.drawLine(4, 18, 40, 18);
    p.drawLine(4, 18, 4, 3);
    p.setPen(QPen(Qt::red, 2));
    p.drawLine(14, 4, 32, 17);
    p.drawLine(14, 17, 32, 4);
}

void DrawLed(QPainter& p, QColor centre, QColor rim) {
    QRadialGradient glow(QPointF(11, 11), 12);
    glow.setColorAt(0, centre);
    glow.setColorAt(1, rim);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(glow);
    p.drawEllipse(QRectF(2, 2, 22, 22));
}

QPixmap ModePicture(Glyph glyph) {
    QPixmap pixmap = Canvas(kModeSize);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (glyph == Glyph::gwno)
        DrawNotUsed(p);
    else
        DrawCharacteristic(p, glyph == Glyph::gwnorm);
    return pixmap;
}

QPixmap ContactPicture(Glyph glyph) {
    QPixmap pixmap = Canvas(kContactSize);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (glyph == Glyph::kontaktonbild) DrawLed(p, QColor(255, 230, 200), QColor(230, 0, 0));
    if (glyph == Glyph::kontaktoffbild) DrawLed(p, QColor(120, 30, 30), QColor(60, 0, 0));
    if (glyph == Glyph::kontaktnobild) {
        DrawLed(p, QColor(220, 220, 220), QColor(150, 150, 150));
        p.setPen(QPen(Qt::darkGray, 2));
        p.drawLine(8, 8, 18, 18);
        p.drawLine(8, 18, 18, 8);
    }
    return pixmap;
}

// The seven segments of one digit in a cell of width w and height h.
QList<QRectF> Segments(qreal x, qreal y, qreal w, qreal h) {
    const qreal t = 4, half = h / 2;
    return {QRectF(x + t, y, w - 2 * t, t),
            QRectF(x + w - t, y + t, t, half - t),
            QRectF(x + w - t, y + half, t, half - t),
            QRectF(x + t, y + h - t, w - 2 * t, t),
            QRectF(x, y + half, t, half - t),
            QRectF(x, y + t, t, half - t),
            QRectF(x + t, y + half - t / 2, w - 2 * t, t)};
}

}  // namespace

QPixmap GlyphPicture(Glyph glyph) {
    switch (glyph) {
        case Glyph::gwnorm:
        case Glyph::gwinv:
        case Glyph::gwno:
            return ModePicture(glyph);
        case Glyph::kontaktonbild:
        case Glyph::kontaktoffbild:
        case Glyph::kontaktnobild:
            return ContactPicture(glyph);
        case Glyph::None:
            break;
    }
    return {};
}

QPixmap DisplayPicture() {
    QPixmap pixmap = Canvas(kDisplaySize, QColor(20, 20, 20));
    QPainter p(&pixmap);
    const QColor lit(255, 40, 20);
    // Digit cells sit so that each decimal point lies above its radio button.
    for (int digit = 0; digit < 4; ++digit) {
        const qreal x = 12 + digit * 38;
        for (const QRectF& segment : Segments(x, 6, 22, 34)) p.fillRect(segment, lit);
        p.fillRect(QRectF(x + 26, 36, 5, 5), lit);
    }
    return pixmap;
}

QPixmap LogoPicture() {
    QPixmap pixmap = Canvas(kLogoSize);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, kLogoSize.height());
    background.setColorAt(0, QColor(0, 60, 140));
    background.setColorAt(1, QColor(0, 20, 60));
    p.setBrush(background);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(1, 1, kLogoSize.width() - 2, kLogoSize.height() - 2), 8, 8);
    p.setPen(Qt::white);
    QFont title = p.font();
    title.setBold(true);
    title.setPixelSize(22);
    p.setFont(title);
    p.drawText(QRect(0, 14, kLogoSize.width(), 30), Qt::AlignCenter, QStringLiteral("ZMT"));
    QFont small = title;
    small.setPixelSize(12);
    p.setFont(small);
    p.setPen(QColor(255, 210, 0));
    p.drawText(QRect(0, 50, kLogoSize.width(), 20), Qt::AlignCenter, QStringLiteral("48x24"));
    p.setPen(QColor(180, 200, 230));
    p.drawText(QRect(0, 72, kLogoSize.width(), 20), Qt::AlignCenter, QStringLiteral("digital"));
    return pixmap;
}

}  // namespace zmt
