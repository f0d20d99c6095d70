#pragma once

#include "common/Clock.h"
#include "editor/PortAssignment.h"
#include "link/InterfaceProbe.h"

#include <QDialog>

#include <array>
#include <vector>

class QComboBox;
class QGridLayout;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace zmt {

class PortAssignDialogs;
class PortController;

struct PortAssignContext {
    PortController& controller;  // the port, its lines and the port setup
    Clock& clock;
    PortAssignDialogs& dialogs;
};

// The port assignment window: for COM1..COM4 the device each opens, chosen among the
// machine's serial devices or the standard device; a button to list the devices again and
// one to search them for the programming interface. OK binds what changed, Cancel changes
// nothing. The window shows PortAssignment and forwards to it; the search runs in steps of
// the event loop, so the window answers throughout.
class TPortAssignForm : public QDialog {
    Q_OBJECT
  public:
    explicit TPortAssignForm(PortAssignContext context, QWidget* parent = nullptr);
    ~TPortAssignForm() override;

    PortAssignment& assignment() { return assignment_; }
    link::InterfaceProbe& probe() { return *probe_; }

    void RefreshClick();
    void FindClick();
    void StopSearchClick();
    // OK: binds what changed; on a refusal the window stays open and says why.
    void accept() override;
    // Cancel, Escape or the title bar: nothing changes.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    void buildChoiceRows(QGridLayout* grid);
    void buildFindControls(QGridLayout* grid, int row);
    void connectControls();
    void ApplyLanguage();
    int languageIndex() const;

    void ShowRows();
    void ShowRow(int number);
    void ChoiceChanged(int number, int index);
    void SetSearching(bool searching);
    void ProbeAdvanced(int index, int count);
    void ProbeReported(const link::ProbeResult& result);
    void ProbeFinished(bool cancelled);
    void OfferFound(const std::vector<link::PortEntry>& found);
    void Leave(bool retargeted);

    PortAssignContext context_;
    Texts text_;
    PortAssignment assignment_;
    link::InterfaceProbe* probe_;
    bool portWasOpen_ = false;
    bool portReleased_ = false;

    QLabel* heading_ = nullptr;
    QLabel* devicesNote_ = nullptr;
    std::array<QComboBox*, ComPortCount> choices_{};
    std::array<QLabel*, ComPortCount> targets_{};
    QPushButton* refresh_ = nullptr;
    QPushButton* find_ = nullptr;
    QLabel* findAsLabel_ = nullptr;
    QComboBox* findAs_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* stopSearch_ = nullptr;
    QPlainTextEdit* findLog_ = nullptr;
    QLabel* helpPanel_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace zmt
