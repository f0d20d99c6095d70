#pragma once

#include <QDialog>

namespace zmt {

// The about box: program name, version, the maker's web site and support address. Its
// content is the same in both languages and never changes.
class TZMT1about : public QDialog {
    Q_OBJECT
  public:
    explicit TZMT1about(QWidget* parent = nullptr);

    void backClick();

  private:
    void buildPanel();
};

}  // namespace zmt
