#pragma once

#include "language/LanguageText.h"

#include <QWidget>

namespace zmt {

// An empty window without controls, created at start-up with the others and never shown.
class TFS : public QWidget {
    Q_OBJECT
  public:
    explicit TFS(QWidget* parent = nullptr);
};

}  // namespace zmt
