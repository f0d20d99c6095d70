#pragma once

#include "sim/MeterImage.h"

#include <cstdint>
#include <optional>

namespace zmt::sim {

// The meter's side of a frame: the command byte, then 32 bytes answered with the stored
// image, then (in a write frame) 32 bytes that become the new stored image.
class MeterProtocol {
  public:
    struct Answer {
        std::optional<std::uint8_t> byte;  // nothing: the meter stays silent
        bool toCommand = false;            // the answer to the command byte
        bool endsPart = false;             // the last answer of the read or the write part
        bool stored = false;               // this byte completed a new image
    };

    // Handles one byte that reached the meter; a completed write replaces `stored`.
    Answer receive(std::uint8_t byte, ImageWords& stored);
    // Back to waiting for a command byte; an unfinished write is dropped.
    void reset();
    bool inFrame() const { return phase_ != Phase::Idle; }

  private:
    enum class Phase { Idle, Reading, Writing };

    Answer answerRead(const ImageWords& stored);
    Answer takeWrite(std::uint8_t byte, ImageWords& stored);

    Phase phase_ = Phase::Idle;
    int index_ = 0;
    ImageWords incoming_{};
};

}  // namespace zmt::sim
