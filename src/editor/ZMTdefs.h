#pragma once

#include <QWidget>

namespace zmt {

// An empty window, created at start-up with the others and never shown.
class TForm3 : public QWidget {
    Q_OBJECT
  public:
    explicit TForm3(QWidget* parent = nullptr);
};

}  // namespace zmt
