#include "sim/MeterProtocol.h"

namespace zmt::sim {

MeterProtocol::Answer MeterProtocol::receive(std::uint8_t byte, ImageWords& stored) {
    switch (phase_) {
        case Phase::Idle:
            if (byte != CommandByte) return {};
            phase_ = Phase::Reading;
            index_ = 0;
            return {CommandByte, true, false, false};
        case Phase::Reading:
            return answerRead(stored);
        case Phase::Writing:
            return takeWrite(byte, stored);
    }
    return {};
}

void MeterProtocol::reset() {
    phase_ = Phase::Idle;
    index_ = 0;
}

MeterProtocol::Answer MeterProtocol::answerRead(const ImageWords& stored) {
    Answer answer{ImageByte(stored, index_), false, false, false};
    if (++index_ == ImageByteCount) {
        phase_ = Phase::Writing;
        index_ = 0;
        incoming_ = stored;
        answer.endsPart = true;
    }
    return answer;
}

MeterProtocol::Answer MeterProtocol::takeWrite(std::uint8_t byte, ImageWords& stored) {
    SetImageByte(incoming_, index_, byte);
    // The meter acknowledges each image byte with the byte it took.
    Answer answer{byte, false, false, false};
    if (++index_ == ImageByteCount) {
        stored = incoming_;
        reset();
        answer.endsPart = true;
        answer.stored = true;
    }
    return answer;
}

}  // namespace zmt::sim
