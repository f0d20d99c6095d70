#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace zmt {

// Positions of the sixteen words of the meter's image.
namespace words {
enum Word : int { w0, w1, w2, w3, w4, w5, w6, w7, w8, w9, w10, w11, w12, w13, w14, w15 };
}

inline constexpr int ImageWordCount = 16;
inline constexpr int ReadWordCount = 32;

using ImageWords = std::array<std::uint16_t, ImageWordCount>;

// The meter's data image and the calibration values of this run. Created once and handed
// to every operation that reads or writes the meter.
struct DeviceState {
    ImageWords DeviceImage{};
    // The words assembled from the answers of the last read; 16..31 are assembled but unused.
    std::array<std::uint16_t, ReadWordCount> ReadWords{};
    // The operator's offset reading in two's complement; 0 until calibrated.
    std::uint16_t OffsetReading = 0;
    // Gain factor, 8192 = 1.0; 0 means no gain calibration in this run.
    std::int32_t GainFactor = 0;
    // Whether the last read of the meter passed its checks, so that DeviceImage holds the
    // meter's own words (the ones a write passes on unchanged).
    bool ImageFromMeter = false;
    // The operator's readings behind OffsetReading and GainFactor, once taken in this run.
    std::optional<std::int64_t> OffsetDisplayReading;
    std::optional<std::int64_t> GainDisplayReading;
};

}  // namespace zmt
