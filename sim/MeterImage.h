#pragma once

#include <array>
#include <cstdint>

namespace zmt::sim {

// The meter's sixteen parameter words, w0 first.
inline constexpr int ImageWordCount = 16;
using ImageWords = std::array<std::uint16_t, ImageWordCount>;

// On the wire each word travels low byte first, word 0 first: 32 bytes.
inline constexpr int ImageByteCount = 2 * ImageWordCount;

// The byte that opens every frame; the meter answers it with itself.
inline constexpr std::uint8_t CommandByte = 0xA6;

// Word positions the meter interprets.
namespace word {
inline constexpr int Offset = 0;     // the meter's own reading at zero input, signed
inline constexpr int Zero = 1;       // negated display value at input 0, signed
inline constexpr int Gain = 2;       // gain factor, 8192 = 1.0, signed
inline constexpr int Span = 3;       // display span per 2000 counts, scaled to 2048, signed
inline constexpr int Flags = 4;      // bit 7 bipolar display, bit 6 inverted contact
inline constexpr int Point = 5;      // decimal point code
inline constexpr int ContactOn = 6;  // raw units with the 2048 bias; 5000 = contact not used
inline constexpr int ContactOff = 7;
}  // namespace word

inline constexpr std::uint16_t BipolarFlag = 0x80;
inline constexpr std::uint16_t InvertedContactFlag = 0x40;
inline constexpr std::uint16_t ContactUnusedWord = 5000;

// Byte `index` (0..31) of the image in wire order.
inline std::uint8_t ImageByte(const ImageWords& image, int index) {
    const std::uint16_t w = image[static_cast<std::size_t>(index / 2)];
    return static_cast<std::uint8_t>(index % 2 == 0 ? w & 0xFF : w >> 8);
}

// Replaces byte `index` (0..31) of the image in wire order.
inline void SetImageByte(ImageWords& image, int index, std::uint8_t value) {
    std::uint16_t& w = image[static_cast<std::size_t>(index / 2)];
    w = index % 2 == 0 ? static_cast<std::uint16_t>((w & 0xFF00) | value)
                       : static_cast<std::uint16_t>((w & 0x00FF) | (value << 8));
}

// A word read as a signed 16-bit number (two's complement).
inline std::int32_t SignedWord(std::uint16_t w) {
    return static_cast<std::int16_t>(w);
}

// The mark that the configuration program writes into the last word.
inline constexpr std::uint16_t ProgramMark = 1;

// What a meter holds when it leaves the factory, set up there with the configuration
// program: no offset, unity gain, 0..2000 counts shown as 0..2000 without a decimal point,
// bipolar, limit contact not used.
inline ImageWords FactoryImage() {
    return {0,     0,     8192,  2048,  BipolarFlag, 4,     ContactUnusedWord, 4500, 0,
            10000, 12000, 10000, 12000, 12000,       12000, ProgramMark};
}

// What a new meter whose memory was never written, or an erased one, answers with.
inline ImageWords ErasedImage() {
    ImageWords image;
    image.fill(0xFFFF);
    return image;
}

}  // namespace zmt::sim
