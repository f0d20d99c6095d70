#include "language/AuxWindowParts.h"

#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

namespace zmt {

namespace {

QFont FontOf(const QWidget* widget, const TextStyle& style) {
    QFont font = widget->font();
    if (!style.family.isEmpty()) font.setFamily(style.family);
    font.setPixelSize(style.pixelHeight);
    font.setBold(style.bold);
    return font;
}

void SetTextColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

}  // namespace

QSize ClientSizeForOuter(QSize outer) {
    return outer - kClassicFrame;
}

void SetBackground(QWidget* widget, const QColor& colour) {
    widget->setAutoFillBackground(true);
    SetTextColour(widget, QPalette::Window, colour);
}

QLabel* AddLabel(QWidget* parent, const QString& name, QPoint position, const TextStyle& style,
                 const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(FontOf(label, style));
    SetTextColour(label, QPalette::WindowText, style.colour);
    label->move(position);
    label->adjustSize();
    return label;
}

QPlainTextEdit* AddMemo(QWidget* parent, const QString& name, const QRect& geometry,
                        const QColor& background, const TextStyle& style,
                        const QStringList& lines) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(name);
    memo->setGeometry(geometry);
    memo->setFont(FontOf(memo, style));
    SetTextColour(memo, QPalette::Base, background);
    SetTextColour(memo, QPalette::Text, style.colour);
    memo->setPlainText(lines.join(QLatin1Char('\n')));
    memo->setReadOnly(true);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);  // long lines wrap instead
    return memo;
}

QPushButton* AddButton(QWidget* parent, const QString& name, const QRect& geometry,
                       const QString& caption, bool bold) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    QFont font = button->font();
    font.setBold(bold);
    button->setFont(font);
    return button;
}

}  // namespace zmt
