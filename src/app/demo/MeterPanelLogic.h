#pragma once

#include "app/demo/DemoBench.h"
#include "language/Texts.h"

#include <QString>

namespace zmt::demo {

// The virtual meter window's texts and control ranges, kept apart from its widgets.

// The program's language table in the language its main window shows.
using MeterWording = Texts;

// What the technician would notice about the meter: off, starting up or running.
QString MeterStateText(const MeterSnapshot& shot, const MeterWording& wording);

// "12.500 mA at the input" or, with RTS on, the calibration signal that replaces it.
QString InputText(const MeterSnapshot& shot, const QString& unit, int decimals,
                  const MeterWording& wording);

QString ContactText(const MeterSnapshot& shot, const MeterWording& wording);

// The input control's range for a meter type: below zero for a bipolar display and
// beyond full scale for an overload.
struct InputRange {
    double minimum = 0;
    double maximum = 0;
    double step = 0;
    int decimals = 0;
};

InputRange InputRangeFor(double fullScale);

// The input that keeps the same fraction of full scale when the meter type changes, so
// the display stays where it was.
double CarryInput(double input, double oldFullScale, double newFullScale);

}  // namespace zmt::demo
