#pragma once

#include <QString>

class QWidget;

namespace zmt {

// The questions and notes of the port assignment window. The window asks through this seam
// so that tests answer without a dialog.
class PortAssignDialogs {
  public:
    virtual ~PortAssignDialogs() = default;
    // Yes or No; true for Yes.
    virtual bool confirm(QWidget* parent, const QString& question) = 0;
    virtual void inform(QWidget* parent, const QString& message) = 0;
};

// Message boxes with the window's title.
class QtPortAssignDialogs : public PortAssignDialogs {
  public:
    bool confirm(QWidget* parent, const QString& question) override;
    void inform(QWidget* parent, const QString& message) override;
};

}  // namespace zmt
