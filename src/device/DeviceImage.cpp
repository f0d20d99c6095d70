#include "device/DeviceImage.h"

#include "device/ImageLayout.h"
#include "device/ImageWordMath.h"
#include "editor/ConfigEditor.h"
#include "editor/ConfigModel.h"
#include "editor/Numbers.h"

#include <algorithm>
#include <optional>

namespace zmt {

using namespace words;

namespace {

constexpr int FrameDataStart = 33;      // send entry of w0's low byte in a write frame
constexpr int FirstAnswerEntry = 3;     // receive entry of the meter's answer to sent byte 1
constexpr int AnswerStridePerWord = 4;  // two sent bytes per word, two answers per sent byte
constexpr double SpanClamp = 32767;

void FillFrameHeader(TransferState& transfer) {
    transfer.SendBuffer.fill(0);
    transfer.SendBuffer[0] = CommandByte;
}

void FillFrameData(const ImageWords& image, TransferState& transfer) {
    for (int i = 0; i < ImageWordCount; ++i) {
        transfer.SendBuffer[FrameDataStart + 2 * i] = image[i] & 0xFF;
        transfer.SendBuffer[FrameDataStart + 2 * i + 1] = image[i] >> 8;
    }
}

// The span word: display counts per 2000 input counts, scaled to 2048 and clamped so
// that it always fits the meter's signed word.
std::uint16_t SpanWord(const ConfigModel& config) {
    const auto counts = static_cast<std::int64_t>(config.DisplayAtFullScale) - config.DisplayAtZero;
    double span = (static_cast<double>(counts) + 0.5) / 2000 * 2048;
    span = std::clamp(span, -SpanClamp, SpanClamp);
    return Low16(numbers::AddHalfTruncate(span));
}

std::uint16_t FlagsWord(const ConfigModel& config) {
    std::uint16_t flags = 0;
    if (config.polaritaet != PolarityPositiveOnly) flags += FlagBipolar;
    if (config.LimitMode == ModeInverted) flags += FlagInvertedContact;
    return flags;
}

// A limit threshold in the meter's raw units: shifted by the zero word, divided by the
// span word and the gain, then offset by the operator's zero reading and half the range.
std::uint16_t ThresholdWord(const QString& limitText, const DeviceState& device) {
    const ImageWords& image = device.DeviceImage;
    double x = static_cast<double>(numbers::ParseInteger(limitText)) + AsSigned16(image[w1]);
    if (image[w3] != 0) x = x * 2048 / image[w3];
    // The meter's firmware scales its gain by 8196, not 8192.
    if (device.GainFactor > 0) x = x * 8196 / device.GainFactor;
    x = AsSigned16(device.OffsetReading) + x + 2048;
    return Low16(numbers::AddHalfTruncate(x));
}

// The real of a scaling text, or nothing when it is not a number the meter's words can
// carry (such a value stops the guarded scaling group).
std::optional<double> ScalingValue(const QString& text) {
    long double value = 0;
    if (!numbers::TryParseReal(text, value) || !FitsWordArithmetic(value)) return std::nullopt;
    return static_cast<double>(value);
}

// w9..w12 as one guarded group: a text that is not a number stops it at that word.
void SetScalingWords(ImageWords& image, const ConfigModel& config) {
    struct ScalingWord {
        Word word;
        const QString& text;
        bool isInput;  // inputs carry two decimals and are rounded; displays are truncated
    };
    const ScalingWord group[] = {{w9, config.Skalin1, true},
                                 {w10, config.Skalin2, true},
                                 {w11, config.Skalout1, false},
                                 {w12, config.Skalout2, false}};
    for (const auto& entry : group) {
        const auto value = ScalingValue(entry.text);
        if (!value) return;
        image[entry.word] = entry.isInput
                                ? Low16(numbers::AddHalfTruncate(*value * 100 + OffsetWordBias))
                                : Low16(static_cast<std::int64_t>(*value + OffsetWordBias));
    }
}

std::uint16_t EnteredLimitWord(const QString& limitText) {
    return Low16(static_cast<std::int64_t>(numbers::ParseInteger(limitText)) + OffsetWordBias);
}

QString ReadBackInput(std::uint16_t word) {
    return numbers::FormatGeneral(InputOfWord(word));
}

QString ReadBackDisplay(std::uint16_t word) {
    return QString::number(DisplayOfWord(word));
}

QString LimitModeOf(std::uint16_t flags, std::uint16_t onWord) {
    if (onWord == UnusedContactOnWord) return ModeUnused;
    return (flags & FlagInvertedContact) ? ModeInverted : ModeNormal;
}

// The stale texts are replaced right after the radio's own evaluation, so a text that
// could not be evaluated there must not stop the meter's values from being taken over.
void CheckRadioBeforeTakeOver(int code, int previousCode, ConfigEditor& editor, Effects& fx) {
    try {
        CheckDecimalPointRadio(code, previousCode, editor, fx);
    } catch (const ConversionError&) {
    }
}

}  // namespace

void BuildSendBuffer(const DeviceState& device, TransferState& transfer) {
    FillFrameHeader(transfer);
    FillFrameData(device.DeviceImage, transfer);
    transfer.ReceiveBuffer[0] = 0;
    transfer.ReceiveBuffer[1] = 0;
}

void PrepareReadFrame(const DeviceState& device, TransferState& transfer) {
    BuildSendBuffer(device, transfer);
    transfer.SendCount = ReadFrameSendCount;
    transfer.ExpectedCount = ReadFrameExpectedCount;
}

void PrepareWriteFrame(const DeviceState& device, TransferState& transfer) {
    BuildSendBuffer(device, transfer);
    transfer.SendCount = WriteFrameSendCount;
    transfer.ExpectedCount = WriteFrameExpectedCount;
}

void TakeReceivedData(DeviceState& device, const TransferState& transfer) {
    for (int i = 0; i < ReadWordCount; ++i) {
        const int lowEntry = FirstAnswerEntry + AnswerStridePerWord * i;
        device.ReadWords[i] =
            Low16(transfer.received(lowEntry) + 256 * transfer.received(lowEntry + 2));
    }
    std::copy_n(device.ReadWords.begin(), ImageWordCount, device.DeviceImage.begin());
    device.ImageFromMeter = CheckExchange(transfer) == ExchangeCheck::Passed;
}

void ConfigToImage(DeviceState& device, const ConfigModel& config) {
    ImageWords& image = device.DeviceImage;
    image[w1] = Low16(-static_cast<std::int64_t>(config.DisplayAtZero));
    image[w3] = SpanWord(config);
    image[w4] = FlagsWord(config);
    image[w5] = Low16(config.DecimalPoint);
    image[w6] = ThresholdWord(config.RelaisOn, device);
    image[w7] = ThresholdWord(config.RelaisOff, device);
    SetScalingWords(image, config);
    image[w13] = EnteredLimitWord(config.RelaisOn);
    image[w14] = EnteredLimitWord(config.RelaisOff);
    if (config.LimitMode == ModeUnused) {
        image[w6] = UnusedContactOnWord;
        image[w7] = UnusedContactOffWord;
    }
    image[w15] = WrittenByProgramMark;
}

void ImageToConfig(const DeviceState& device, ConfigEditor& editor, Effects& fx) {
    const auto& r = device.ReadWords;
    ConfigModel& model = editor.model();
    const int code = r[w5] & 0xFF;
    const int previousCode = model.DecimalPoint;
    model.DecimalPoint = code;
    CheckRadioBeforeTakeOver(code, previousCode, editor, fx);
    model.polaritaet = (r[w4] & FlagBipolar) ? PolaritySigned : PolarityPositiveOnly;
    model.LimitMode = LimitModeOf(r[w4], r[w6]);
    model.setField(Field::Skalin1, ReadBackInput(r[w9]));
    model.setField(Field::Skalin2, ReadBackInput(r[w10]));
    model.setField(Field::Skalout1, ReadBackDisplay(r[w11]));
    model.setField(Field::Skalout2, ReadBackDisplay(r[w12]));
    model.setField(Field::RelaisOn, ReadBackDisplay(r[w13]));
    model.setField(Field::RelaisOff, ReadBackDisplay(r[w14]));
    editor.Recalculate(fx);
}

ImageWords InitialCalibrationImage() {
    return {0, 0, 8192, 2048, FlagBipolar, 0, 8192, 0, 0, 0, 0, 0, 0, 0, 0, 0};
}

ExchangeCheck CheckExchange(const TransferState& transfer, CountTolerance tolerance) {
    const std::uint16_t command = transfer.SendBuffer[0];
    if (transfer.received(0) != command) return ExchangeCheck::InterfaceMissing;
    if (transfer.received(1) != command) return ExchangeCheck::ConnectionFailed;
    const std::int64_t surplus =
        static_cast<std::int64_t>(transfer.ReceiveCount) - transfer.ExpectedCount;
    const bool complete = surplus == 0 || (surplus == 1 && tolerance == CountTolerance::OneExtra);
    return complete ? ExchangeCheck::Passed : ExchangeCheck::DataIncomplete;
}

void CheckDecimalPointRadio(int code, int previousCode, ConfigEditor& editor, Effects& fx) {
    if (code < 0 || code > HighestDecimalPointCode) {
        editor.model().DecimalPoint = code;
        return;
    }
    if (code != previousCode) editor.DecimalPointChosen(code, fx);
}

}  // namespace zmt
