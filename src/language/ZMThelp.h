#pragma once

#include "language/HelpWindow.h"

namespace zmt {

// The English help window.
class TZMTHelpEng : public HelpWindow {
    Q_OBJECT
  public:
    explicit TZMTHelpEng(QWidget* parent = nullptr);
};

}  // namespace zmt
