#include "MeterPanelLogic.h"

#include <algorithm>
#include <cmath>

namespace zmt::demo {

QString MeterStateText(const MeterSnapshot& shot) {
    const QString port = QStringLiteral("COM%1").arg(shot.comNumber);
    if (!shot.attached) return port + QStringLiteral(": not opened by the program");
    if (!shot.powered) return port + QStringLiteral(": meter off (no power on DTR)");
    if (!shot.ready) return port + QStringLiteral(": meter starting");
    return port + QStringLiteral(": meter running");
}

QString InputText(const MeterSnapshot& shot, const QString& unit, int decimals) {
    const QString value = QString::number(shot.input, 'f', decimals) + u' ' + unit;
    if (shot.calibrationSignal)
        return QStringLiteral("Calibration signal %1 at the input (RTS on)").arg(value);
    return QStringLiteral("%1 at the input").arg(value);
}

QString ContactText(const MeterSnapshot& shot) {
    switch (shot.contact) {
        case sim::ContactState::Closed:
            return QStringLiteral("limit contact closed");
        case sim::ContactState::NotUsed:
            return QStringLiteral("limit contact not used");
        case sim::ContactState::Open:
            break;
    }
    return QStringLiteral("limit contact open");
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
