#pragma once

#include "app/demo/DemoBench.h"
#include "app/demo/MeterPanelLogic.h"
#include "common/OneShotTimer.h"
#include "editor/ConfigModel.h"
#include "language/LanguageText.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QSlider;

namespace zmt::demo {

class IndicatorLed;
class SevenSegmentDisplay;

// The demo's bench window: the simulated meter's display and limit LED, the interface's
// power (DTR) and signal (RTS) lines as the program drives them, and the knobs for the
// meter's type, its input signal and its own offset and gain errors. It looks at the
// simulation ten times a second, on the bench's clock; the program's own windows never
// know it is there. Its texts come from the program's language table in the language of
// the main window, which it looks up at each look, so a switch there reaches it too.
class VirtualMeterWindow : public QWidget {
    Q_OBJECT
  public:
    VirtualMeterWindow(DemoBench& bench, const LanguageText& texts, const SessionState& session,
                       QWidget* parent = nullptr);

    // Shows the simulation as it is now, in the current language; the poll timer calls it.
    void refresh();
    const MeterSnapshot& lastSnapshot() const { return shown_; }

    static constexpr int PollIntervalMs = 100;

  protected:
    // Polls only while the window is on screen.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QGroupBox* buildMeterGroup();
    QGroupBox* buildLinesGroup();
    QGroupBox* buildInputGroup();
    QGroupBox* buildErrorGroup();
    void connectControls();
    void applyMeterType(int index);
    void applyInputRange();
    void setInputFromSpin(double input);
    void setInputFromSlider(int position);
    void showSnapshot(const MeterSnapshot& shot);
    void applyLanguage();
    MeterWording wording() const { return {texts_, session_.LanguageIndex}; }

    DemoBench& bench_;
    const LanguageText& texts_;
    const SessionState& session_;
    int shownLanguage_ = -1;  // the language the captions are in; none yet
    MeterSnapshot shown_;
    OneShotTimer* pollTimer_;

    QGroupBox* meterGroup_ = nullptr;
    SevenSegmentDisplay* display_ = nullptr;
    IndicatorLed* limitLed_ = nullptr;
    QLabel* contactLabel_ = nullptr;
    QLabel* stateLabel_ = nullptr;
    IndicatorLed* powerLed_ = nullptr;
    IndicatorLed* signalLed_ = nullptr;
    QCheckBox* plugged_ = nullptr;
    QComboBox* meterType_ = nullptr;
    QDoubleSpinBox* inputSpin_ = nullptr;
    QSlider* inputSlider_ = nullptr;
    QLabel* inputLabel_ = nullptr;
    QDoubleSpinBox* offsetSpin_ = nullptr;
    QDoubleSpinBox* gainSpin_ = nullptr;
    QLabel* countersLabel_ = nullptr;
};

}  // namespace zmt::demo
