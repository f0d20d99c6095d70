#pragma once

#include "device/DeviceImage.h"

#include <cstdint>

namespace zmt {

class ConfigEditor;
class Effects;

// The older reading of the image used by the legacy calibration window: decimal point,
// a zero-based scaling from the zero word and the square of the gain word over w7.
// Polarity, limit mode and limit values are not taken over. A w7 of 0 is replaced by
// 32768 in the image first. Ends with Recalculate, which may raise ConversionError.
void LegacyImageToConfig(DeviceState& device, ConfigEditor& editor, Effects& fx);

// The display value at full scale in the older interpretation, before the zero word.
std::int64_t LegacyFullScaleValue(std::uint16_t gainWord, std::uint16_t w7);

}  // namespace zmt
