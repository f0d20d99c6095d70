#include "app/demo/MeterPanelLogic.h"

#include <algorithm>
#include <cmath>

namespace zmt::demo {

QString MeterStateText(const MeterSnapshot& shot, const MeterWording& wording) {
    const int row = !shot.attached  ? rows::MeterPortNotOpened
                    : !shot.plugged ? rows::MeterNotPluggedIn
                    : !shot.powered ? rows::MeterOff
                    : !shot.ready   ? rows::MeterStarting
                                    : rows::MeterRunning;
    return wording(row).arg(shot.comNumber);
}

QString InputText(const MeterSnapshot& shot, const QString& unit, int decimals,
                  const MeterWording& wording) {
    const QString value = QString::number(shot.input, 'f', decimals) + u' ' + unit;
    const int row = shot.calibrationSignal ? rows::MeterCalibrationSignal : rows::MeterInputValue;
    return wording(row).arg(value);
}

QString ContactText(const MeterSnapshot& shot, const MeterWording& wording) {
    switch (shot.contact) {
        case sim::ContactState::Closed:
            return wording(rows::MeterContactClosed);
        case sim::ContactState::NotUsed:
            return wording(rows::MeterContactNotUsed);
        case sim::ContactState::Open:
            break;
    }
    return wording(rows::MeterContactOpen);
}

InputRange InputRangeFor(double fullScale) {
    // Four significant digits for every range: 1 V in 0.0001 V steps, 100 mA in 0.01 mA.
    const int magnitude = static_cast<int>(std::floor(std::log10(fullScale)));
    InputRange range;
    range.decimals = std::clamp(4 - magnitude, 1, 4);
    range.minimum = -fullScale;
    range.maximum = 1.5 * fullScale;
    range.step = fullScale / 100;
    return range;
}

double CarryInput(double input, double oldFullScale, double newFullScale) {
    if (oldFullScale == 0) return 0;
    return input / oldFullScale * newFullScale;
}

}  // namespace zmt::demo
