#include "device/LegacyImage.h"

#include "editor/ConfigEditor.h"
#include "editor/ConfigModel.h"
#include "editor/Numbers.h"

namespace zmt {

using namespace words;

namespace {

constexpr double WordScale = 32768;
// The older firmware's correction of the reference, applied to the full-scale value.
constexpr double ReferenceCorrection = 1.0003;
constexpr double FullScaleCounts = 2000;

}  // namespace

std::int64_t LegacyFullScaleValue(std::uint16_t gainWord, std::uint16_t w7) {
    const double gain = gainWord / WordScale;
    return numbers::RoundHalfEven(gain * gain / (w7 / WordScale) * FullScaleCounts /
                                  ReferenceCorrection);
}

void LegacyImageToConfig(DeviceState& device, ConfigEditor& editor, Effects& fx) {
    const auto& r = device.ReadWords;
    ConfigModel& model = editor.model();
    const int code = r[w5] & 0xFF;
    const int previousCode = model.DecimalPoint;
    model.DecimalPoint = code;
    model.setField(Field::Skalin1, QStringLiteral("0"));
    model.setField(Field::Skalin2, numbers::FormatGeneral(model.RangeFullScale));
    model.setField(Field::Skalout1, QString::number(-static_cast<std::int64_t>(r[w1])));
    if (device.DeviceImage[w7] == 0) device.DeviceImage[w7] = 32768;
    const std::int64_t fullScale =
        LegacyFullScaleValue(device.DeviceImage[w2], device.DeviceImage[w7]);
    model.setField(Field::Skalout2, QString::number(fullScale - r[w1]));
    CheckDecimalPointRadio(code, previousCode, editor, fx);
    editor.Recalculate(fx);
}

}  // namespace zmt
