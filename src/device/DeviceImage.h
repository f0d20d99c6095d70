#pragma once

#include "device/DeviceState.h"
#include "device/ImageLayout.h"
#include "link/interface/TransferState.h"

#include <cstdint>

namespace zmt {

class ConfigEditor;
class Effects;
struct ConfigModel;

// Command byte that opens every exchange with the meter.
inline constexpr std::uint8_t CommandByte = 0xA6;

// A read sends the command and 32 zero bytes; a write continues with the 32 image bytes.
inline constexpr int ReadFrameSendCount = 33;
inline constexpr int ReadFrameExpectedCount = 66;
inline constexpr int WriteFrameSendCount = 65;
inline constexpr int WriteFrameExpectedCount = 130;

// Meter's marker for an unused limit contact, and the OFF word written with it.
inline constexpr std::uint16_t UnusedContactOnWord = 5000;
inline constexpr std::uint16_t UnusedContactOffWord = 4500;

// Fills SendBuffer with the write frame of the current image (entries 0..64; entries past
// the frame are cleared) and clears receive entries 0 and 1, so that an exchange in which
// nothing arrives fails the first check. SendCount and ExpectedCount are left to the caller.
void BuildSendBuffer(const DeviceState& device, TransferState& transfer);

// BuildSendBuffer plus the counts of a read (33/66) or of a write (65/130).
void PrepareReadFrame(const DeviceState& device, TransferState& transfer);
void PrepareWriteFrame(const DeviceState& device, TransferState& transfer);

// Assembles ReadWords from the meter's answers and copies words 0..15 into DeviceImage,
// noting in ImageFromMeter whether the exchange passed its checks. Reads only inside the
// receive buffer, whatever ReceiveCount says.
void TakeReceivedData(DeviceState& device, const TransferState& transfer);

// Recomputes w1, w3..w7, w9..w15 from the configuration and the run's calibration values;
// w0, w2 and w8 stay. A limit text that is not an integer raises ConversionError, leaving
// the words computed before it; a scaling text that is not a number silently stops the
// scaling words at that word.
void ConfigToImage(DeviceState& device, const ConfigModel& config);

// Writes ReadWords back into the editor's configuration (decimal point radio, polarity,
// limit mode, scaling and limit texts), then runs Recalculate, which may raise
// ConversionError for a field that is not read back (the test input).
void ImageToConfig(const DeviceState& device, ConfigEditor& editor, Effects& fx);

// The image written first by a calibrate-and-write operation: no offset, unity gain,
// a 2000-count span, bipolar display, thresholds 8192 and 0.
ImageWords InitialCalibrationImage();

// Which of the three exchange checks failed, in the order they are made.
enum class ExchangeCheck {
    Passed,
    InterfaceMissing,  // no echo of the command byte
    ConnectionFailed,  // echo, but the meter did not answer the command byte
    DataIncomplete,    // the meter answered, but the count of bytes is wrong
};

// How many received bytes the data check accepts besides ExpectedCount.
enum class CountTolerance { OneExtra, Exact };

ExchangeCheck CheckExchange(const TransferState& transfer,
                            CountTolerance tolerance = CountTolerance::OneExtra);

// The decimal point radio buttons as the image sets them. The window shows the radio of
// DecimalPoint as checked (none for a code above 4), so the radio checked before is the
// one of `previousCode`. Checking a radio runs its rule (DecimalPointChosen) only when the
// check changes; a code above 4 unchecks them all and only sets DecimalPoint.
void CheckDecimalPointRadio(int code, int previousCode, ConfigEditor& editor, Effects& fx);

}  // namespace zmt
