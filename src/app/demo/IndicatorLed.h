#pragma once

#include <QColor>
#include <QWidget>

namespace zmt::demo {

// A round lamp: the limit LED of the meter and the interface's line indicators.
class IndicatorLed : public QWidget {
    Q_OBJECT
  public:
    explicit IndicatorLed(QColor litColor, QWidget* parent = nullptr);

    void setLit(bool lit);
    bool isLit() const { return lit_; }

    QSize sizeHint() const override { return QSize(18, 18); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor litColor_;
    bool lit_ = false;
};

}  // namespace zmt::demo
