#pragma once

#include "app/demo/DigitCells.h"

#include <QColor>
#include <QWidget>

namespace zmt::demo {

// The meter's four red digits with their points, drawn like the real display: unlit
// segments stay faintly visible, all of them dark red while the meter has no power.
class SevenSegmentDisplay : public QWidget {
    Q_OBJECT
  public:
    explicit SevenSegmentDisplay(QWidget* parent = nullptr);

    void setCells(const DigitCells& cells);
    const DigitCells& cells() const { return cells_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void paintCell(QPainter& painter, const DigitCell& cell) const;

    DigitCells cells_{};
};

}  // namespace zmt::demo
