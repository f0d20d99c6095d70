#include "VirtualMeterWindow.h"

#include "ConfigModel.h"
#include "IndicatorLed.h"
#include "MeterPanelLogic.h"
#include "SevenSegmentDisplay.h"
#include "WheelNeedsFocus.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace zmt::demo {

namespace {

constexpr int SliderSteps = 1000;
const QColor LedRed(255, 40, 30);
const QColor LedGreen(40, 220, 60);
const QColor LedYellow(255, 200, 40);

template <typename W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QHBoxLayout* LedWithLabel(IndicatorLed* led, QLabel* label) {
    auto* row = new QHBoxLayout;
    row->addWidget(led);
    row->addWidget(label, 1);
    return row;
}

QDoubleSpinBox* ErrorSpin(const char* name, double limit, int decimals, const QString& suffix) {
    auto* spin = Named(new QDoubleSpinBox, name);
    spin->setRange(-limit, limit);
    spin->setDecimals(decimals);
    spin->setSuffix(suffix);
    spin->setKeyboardTracking(false);
    return spin;
}

}  // namespace

VirtualMeterWindow::VirtualMeterWindow(DemoBench& bench, QWidget* parent)
    : QWidget(parent, Qt::Window),
      bench_(bench),
      pollTimer_(
          new OneShotTimer(this, QStringLiteral("PollTimer"), PollIntervalMs, bench.clock())) {
    setObjectName(QStringLiteral("VirtualMeter"));
    setWindowTitle(QStringLiteral("Virtual meter ZMT 48x24"));
    auto* column = new QVBoxLayout(this);
    column->addWidget(buildMeterGroup());
    column->addWidget(buildLinesGroup());
    column->addWidget(buildInputGroup());
    column->addWidget(buildErrorGroup());
    countersLabel_ = Named(new QLabel, "Counters");
    column->addWidget(countersLabel_);
    column->addStretch(1);
    connectControls();
    applyMeterType(bench_.knobs().meterType);
    // The only timer of the program that keeps running: it looks again every interval.
    pollTimer_->setHandler([this] { refresh(); });
    refresh();
}

void VirtualMeterWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
    pollTimer_->setEnabled(true);
}

void VirtualMeterWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    pollTimer_->setEnabled(false);
}

QGroupBox* VirtualMeterWindow::buildMeterGroup() {
    meterGroup_ = Named(new QGroupBox, "MeterGroup");
    display_ = Named(new SevenSegmentDisplay, "MeterDisplay");
    limitLed_ = Named(new IndicatorLed(LedRed), "LimitLed");
    contactLabel_ = Named(new QLabel, "ContactState");
    stateLabel_ = Named(new QLabel, "MeterState");
    auto* layout = new QVBoxLayout(meterGroup_);
    layout->addWidget(display_);
    layout->addLayout(LedWithLabel(limitLed_, contactLabel_));
    layout->addWidget(stateLabel_);
    return meterGroup_;
}

QGroupBox* VirtualMeterWindow::buildLinesGroup() {
    auto* group = Named(new QGroupBox(QStringLiteral("Interface lines")), "LinesGroup");
    powerLed_ = Named(new IndicatorLed(LedGreen), "PowerLed");
    signalLed_ = Named(new IndicatorLed(LedYellow), "SignalLed");
    auto* row = new QHBoxLayout(group);
    row->addLayout(LedWithLabel(powerLed_, new QLabel(QStringLiteral("power (DTR)"))));
    row->addLayout(LedWithLabel(signalLed_, new QLabel(QStringLiteral("signal (RTS)"))));
    return group;
}

QGroupBox* VirtualMeterWindow::buildInputGroup() {
    auto* group = Named(new QGroupBox(QStringLiteral("Input signal")), "InputGroup");
    meterType_ = Named(new QComboBox, "MeterType");
    for (const DeviceType& type : DeviceTypes)
        meterType_->addItem(QString::fromLatin1(type.itemText));
    WheelNeedsFocus::Apply(meterType_);
    inputSpin_ = Named(new QDoubleSpinBox, "InputSignal");
    inputSpin_->setKeyboardTracking(false);
    inputSlider_ = Named(new QSlider(Qt::Horizontal), "InputSlider");
    inputSlider_->setRange(0, SliderSteps);
    inputLabel_ = Named(new QLabel, "InputState");
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("Meter type:"), meterType_);
    form->addRow(QStringLiteral("Input:"), inputSpin_);
    form->addRow(QString(), inputSlider_);
    form->addRow(QString(), inputLabel_);
    return group;
}

QGroupBox* VirtualMeterWindow::buildErrorGroup() {
    auto* group =
        Named(new QGroupBox(QStringLiteral("Errors of the meter (for calibrating)")), "ErrorGroup");
    offsetSpin_ = ErrorSpin("OffsetError", 500, 1, QStringLiteral(" digits"));
    gainSpin_ = ErrorSpin("GainError", 20, 2, QStringLiteral(" %"));
    gainSpin_->setSingleStep(0.1);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("Offset error:"), offsetSpin_);
    form->addRow(QStringLiteral("Gain error:"), gainSpin_);
    return group;
}

void VirtualMeterWindow::connectControls() {
    connect(meterType_, &QComboBox::currentIndexChanged, this, &VirtualMeterWindow::applyMeterType);
    connect(inputSpin_, &QDoubleSpinBox::valueChanged, this, &VirtualMeterWindow::setInputFromSpin);
    connect(inputSlider_, &QSlider::valueChanged, this, &VirtualMeterWindow::setInputFromSlider);
    connect(offsetSpin_, &QDoubleSpinBox::valueChanged, this,
            [this](double counts) { bench_.setOffsetError(counts); });
    connect(gainSpin_, &QDoubleSpinBox::valueChanged, this,
            [this](double percent) { bench_.setGainError(1 + percent / 100); });
}

void VirtualMeterWindow::applyMeterType(int index) {
    const double oldFullScale = bench_.fullScale();
    bench_.setMeterType(index);
    {
        const QSignalBlocker blockType(meterType_);
        meterType_->setCurrentIndex(bench_.knobs().meterType);
    }
    bench_.setInput(CarryInput(bench_.knobs().input, oldFullScale, bench_.fullScale()));
    applyInputRange();
    refresh();
}

// Puts range, unit and the current input on the spin box and the slider without
// feeding their change signals back into the bench.
void VirtualMeterWindow::applyInputRange() {
    const InputRange range = InputRangeFor(bench_.fullScale());
    const QSignalBlocker blockSpin(inputSpin_);
    const QSignalBlocker blockSlider(inputSlider_);
    inputSpin_->setDecimals(range.decimals);
    inputSpin_->setRange(range.minimum, range.maximum);
    inputSpin_->setSingleStep(range.step);
    inputSpin_->setSuffix(u' ' + bench_.unit());
    inputSpin_->setValue(bench_.knobs().input);
    const double fraction = (inputSpin_->value() - range.minimum) / (range.maximum - range.minimum);
    inputSlider_->setValue(static_cast<int>(std::lround(fraction * SliderSteps)));
}

void VirtualMeterWindow::setInputFromSpin(double input) {
    bench_.setInput(input);
    applyInputRange();
    refresh();
}

void VirtualMeterWindow::setInputFromSlider(int position) {
    const InputRange range = InputRangeFor(bench_.fullScale());
    const double input =
        range.minimum + (range.maximum - range.minimum) * position / double(SliderSteps);
    // The slider moves in coarse steps; the input takes the spin box's resolution.
    const double resolution = std::pow(10.0, -range.decimals);
    bench_.setInput(std::round(input / resolution) * resolution);
    applyInputRange();
    refresh();
}

void VirtualMeterWindow::refresh() {
    showSnapshot(bench_.observe());
}

void VirtualMeterWindow::showSnapshot(const MeterSnapshot& shot) {
    shown_ = shot;
    meterGroup_->setTitle(QStringLiteral("Meter on COM%1").arg(shot.comNumber));
    display_->setCells(CellsForText(shot.displayText.value_or(std::string())));
    limitLed_->setLit(shot.powered && shot.contact == sim::ContactState::Closed);
    contactLabel_->setText(ContactText(shot));
    stateLabel_->setText(MeterStateText(shot));
    powerLed_->setLit(shot.dtr);
    signalLed_->setLit(shot.rts);
    inputLabel_->setText(
        InputText(shot, bench_.unit(), InputRangeFor(bench_.fullScale()).decimals));
    countersLabel_->setText(QStringLiteral("power-ups: %1, configurations stored: %2")
                                .arg(shot.powerUps)
                                .arg(shot.imagesStored));
}

}  // namespace zmt::demo
