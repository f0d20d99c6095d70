#pragma once

#include <QDialog>

#include <functional>

class QRadioButton;

namespace zmt {

// The first-start window: asks for the serial port the programming interface is attached
// to. German only. Its button hands the choice to `onChoice`; closing the window without
// the button chooses COM1, so that the next start finds a complete settings file.
class TComPreSelect : public QDialog {
    Q_OBJECT
  public:
    using ChoiceHandler = std::function<void(int comNumber)>;

    explicit TComPreSelect(ChoiceHandler onChoice, QWidget* parent = nullptr);

    void okbuttonClick();
    // Closing by the title bar or Escape.
    void reject() override;

  private:
    void buildMemo();
    void Choose(int comNumber);

    ChoiceHandler onChoice_;
    QRadioButton* pre1_ = nullptr;
    QRadioButton* pre2_ = nullptr;
};

}  // namespace zmt
