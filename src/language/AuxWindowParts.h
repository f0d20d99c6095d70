#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace zmt {

// Building blocks shared by the small fixed-content windows (about box, help windows,
// warning window). Positions and sizes are in pixels of the window's client area.

inline const QColor kFormGrey{0xF0, 0xF0, 0xF0};
inline const QColor kYellow{0xFF, 0xFF, 0x00};
inline const QColor kSilver{0xC0, 0xC0, 0xC0};
inline const QColor kNavy{0x00, 0x00, 0x80};
inline const QColor kRed{0xFF, 0x00, 0x00};

// The window sizes were designed as outer sizes with a classic frame: 4 pixels on each side
// and a 22 pixel caption. The client area is what remains.
inline constexpr QSize kClassicFrame{8, 30};
QSize ClientSizeForOuter(QSize outer);

struct TextStyle {
    QColor colour;
    int pixelHeight = 13;
    bool bold = false;
    QString family;  // empty: the application font's family
};

void SetBackground(QWidget* widget, const QColor& colour);

QLabel* AddLabel(QWidget* parent, const QString& name, QPoint position, const TextStyle& style,
                 const QString& text);

// A read-only memo holding `lines`, one per line; long lines wrap, no horizontal bar.
QPlainTextEdit* AddMemo(QWidget* parent, const QString& name, const QRect& geometry,
                        const QColor& background, const TextStyle& style, const QStringList& lines);

QPushButton* AddButton(QWidget* parent, const QString& name, const QRect& geometry,
                       const QString& caption, bool bold = false);

}  // namespace zmt
