#pragma once

#include "language/HelpWindow.h"

namespace zmt {

// The German help window.
class TZMTHelpDeu : public HelpWindow {
    Q_OBJECT
  public:
    explicit TZMTHelpDeu(QWidget* parent = nullptr);
};

}  // namespace zmt
