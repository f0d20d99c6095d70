#pragma once

#include "device/DeviceState.h"

#include <QString>

#include <vector>

namespace zmt {

class LanguageText;
struct ConfigModel;

// One thing in which the meter differs from the configuration, in the user's terms.
struct ImageDifference {
    int what;       // the language table row that names it
    QString file;   // what writing the configuration would give
    QString meter;  // what the meter holds
};

// The image that writing `config` would send to a meter that holds `device.DeviceImage`:
// the words computed from the configuration with the run's calibration values, and the
// meter's own calibration and reserved words passed through.
ImageWords ImageToWrite(const ConfigModel& config, const DeviceState& device);

// The differences between the image a write would send and the meter's, word by word.
// The words a write passes through from the meter (offset w0, gain w2, reserved w8) are
// not compared. `unit` is the unit of the configuration's device type ("mA", "V").
std::vector<ImageDifference> CompareImages(const ImageWords& expected, const ImageWords& meter,
                                           const QString& unit);

// Where a decimal point code puts the point on the four digits, in brackets so that the
// point after the last digit stands out: "[00,00]", "[0000,]", "[0000]" for none.
QString DecimalPointPattern(int code);

// "input (1): file 4 mA, meter 0 mA"
QString DifferenceText(const ImageDifference& difference, const LanguageText& texts,
                       int languageIndex);

}  // namespace zmt
