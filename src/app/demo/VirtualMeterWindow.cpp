#include "app/demo/VirtualMeterWindow.h"

#include "app/demo/IndicatorLed.h"
#include "app/demo/SevenSegmentDisplay.h"
#include "common/MakeWidget.h"
#include "common/WheelNeedsFocus.h"
#include "language/AddedRows.h"

#include <QCheckBox>
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

// The captions that change with the language only; the rest change with the meter too.
struct CaptionRow {
    const char* control;
    int row;
};

constexpr CaptionRow kCaptions[] = {
    {"LinesGroup", rows::MeterLinesGroup},    {"PowerLabel", rows::MeterPowerLine},
    {"SignalLabel", rows::MeterSignalLine},   {"InputGroup", rows::MeterInputGroup},
    {"MeterTypeLabel", rows::MeterTypeLabel}, {"InputLabel", rows::MeterInputLabel},
    {"ErrorGroup", rows::MeterErrorGroup},    {"OffsetErrorLabel", rows::MeterOffsetError},
    {"GainErrorLabel", rows::MeterGainError}, {"MeterPlugged", rows::MeterPluggedIn},
};

void SetCaption(QObject* control, const QString& caption) {
    if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(caption);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(caption);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(caption);
}

QHBoxLayout* LedWithLabel(IndicatorLed* led, QLabel* label) {
    auto* row = new QHBoxLayout;
    row->addWidget(led);
    row->addWidget(label, 1);
    return row;
}

QDoubleSpinBox* ErrorSpin(const char* name, double limit, int decimals) {
    auto* spin = Named(new QDoubleSpinBox, name);
    spin->setRange(-limit, limit);
    spin->setDecimals(decimals);
    spin->setKeyboardTracking(false);
    return spin;
}

}  // namespace

VirtualMeterWindow::VirtualMeterWindow(DemoBench& bench, const LanguageText& texts,
                                       const SessionState& session, QWidget* parent)
    : QWidget(parent, Qt::Window),
      bench_(bench),
      texts_(texts),
      session_(session),
      pollTimer_(
          new OneShotTimer(this, QStringLiteral("PollTimer"), PollIntervalMs, bench.clock())) {
    setObjectName(QStringLiteral("VirtualMeter"));
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
    auto* group = Named(new QGroupBox, "LinesGroup");
    powerLed_ = Named(new IndicatorLed(LedGreen), "PowerLed");
    signalLed_ = Named(new IndicatorLed(LedYellow), "SignalLed");
    auto* row = new QHBoxLayout(group);
    row->addLayout(LedWithLabel(powerLed_, Named(new QLabel, "PowerLabel")));
    row->addLayout(LedWithLabel(signalLed_, Named(new QLabel, "SignalLabel")));
    plugged_ = Named(new QCheckBox, "MeterPlugged");
    plugged_->setChecked(bench_.knobs().meterPlugged);
    row->addWidget(plugged_);
    return group;
}

QGroupBox* VirtualMeterWindow::buildInputGroup() {
    auto* group = Named(new QGroupBox, "InputGroup");
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
    form->addRow(Named(new QLabel, "MeterTypeLabel"), meterType_);
    form->addRow(Named(new QLabel, "InputLabel"), inputSpin_);
    form->addRow(QString(), inputSlider_);
    form->addRow(QString(), inputLabel_);
    return group;
}

QGroupBox* VirtualMeterWindow::buildErrorGroup() {
    auto* group = Named(new QGroupBox, "ErrorGroup");
    offsetSpin_ = ErrorSpin("OffsetError", 500, 1);
    gainSpin_ = ErrorSpin("GainError", 20, 2);
    gainSpin_->setSuffix(QStringLiteral(" %"));
    gainSpin_->setSingleStep(0.1);
    auto* form = new QFormLayout(group);
    form->addRow(Named(new QLabel, "OffsetErrorLabel"), offsetSpin_);
    form->addRow(Named(new QLabel, "GainErrorLabel"), gainSpin_);
    return group;
}

void VirtualMeterWindow::connectControls() {
    connect(meterType_, &QComboBox::currentIndexChanged, this, &VirtualMeterWindow::applyMeterType);
    connect(inputSpin_, &QDoubleSpinBox::valueChanged, this, &VirtualMeterWindow::setInputFromSpin);
    connect(inputSlider_, &QSlider::valueChanged, this, &VirtualMeterWindow::setInputFromSlider);
    connect(plugged_, &QCheckBox::toggled, this, [this](bool plugged) {
        bench_.setMeterPlugged(plugged);
        refresh();
    });
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
    applyLanguage();
    showSnapshot(bench_.observe());
}

void VirtualMeterWindow::applyLanguage() {
    if (session_.LanguageIndex == shownLanguage_) return;
    shownLanguage_ = session_.LanguageIndex;
    const MeterWording words = wording();
    setWindowTitle(words(rows::MeterWindowTitle));
    for (const CaptionRow& caption : kCaptions)
        SetCaption(findChild<QObject*>(QString::fromLatin1(caption.control)), words(caption.row));
    offsetSpin_->setSuffix(u' ' + words(rows::MeterDigits));
    // What a screen reader calls the controls and lights whose caption stands apart.
    const std::pair<QWidget*, int> names[] = {
        {display_, rows::NameMeterDisplay},    {limitLed_, rows::NameLimitLed},
        {powerLed_, rows::MeterPowerLine},     {signalLed_, rows::MeterSignalLine},
        {inputSpin_, rows::MeterInputLabel},   {inputSlider_, rows::NameInputSlider},
        {offsetSpin_, rows::MeterOffsetError}, {gainSpin_, rows::MeterGainError}};
    for (const auto& [control, row] : names) control->setAccessibleName(words(row));
}

void VirtualMeterWindow::showSnapshot(const MeterSnapshot& shot) {
    shown_ = shot;
    const MeterWording words = wording();
    meterGroup_->setTitle(words(rows::MeterOnPort).arg(shot.comNumber));
    display_->setCells(CellsForText(shot.displayText.value_or(std::string())));
    limitLed_->setLit(shot.powered && shot.contact == sim::ContactState::Closed);
    contactLabel_->setText(ContactText(shot, words));
    stateLabel_->setText(MeterStateText(shot, words));
    powerLed_->setLit(shot.dtr);
    signalLed_->setLit(shot.rts);
    inputLabel_->setText(
        InputText(shot, bench_.unit(), InputRangeFor(bench_.fullScale()).decimals, words));
    countersLabel_->setText(words(rows::MeterCounters).arg(shot.powerUps).arg(shot.imagesStored));
}

}  // namespace zmt::demo

#include "moc_VirtualMeterWindow.cpp"
