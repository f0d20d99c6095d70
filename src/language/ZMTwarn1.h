#pragma once

#include <QDialog>

namespace zmt {

// The warning window. It is created with the other windows and stays hidden: nothing in
// the program opens it or changes its text.
class Twarn : public QDialog {
    Q_OBJECT
  public:
    explicit Twarn(QWidget* parent = nullptr);

    void Button1Click();
};

}  // namespace zmt
