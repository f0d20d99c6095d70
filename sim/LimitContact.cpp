#include "sim/LimitContact.h"

namespace zmt::sim {

const char* ContactStateName(ContactState state) {
    switch (state) {
        case ContactState::Open:
            return "open";
        case ContactState::Closed:
            return "closed";
        case ContactState::NotUsed:
            return "not used";
    }
    return "?";
}

ContactState LimitContact::update(const ImageWords& image, double raw) {
    if (image[word::ContactOn] == ContactUnusedWord) return ContactState::NotUsed;
    const double biased = raw + RawBias;
    const double on = SignedWord(image[word::ContactOn]);
    const double off = SignedWord(image[word::ContactOff]);
    const bool inverted = (image[word::Flags] & InvertedContactFlag) != 0;
    const bool reachesOn = inverted ? biased <= on : biased >= on;
    const bool reachesOff = inverted ? biased >= off : biased <= off;
    if (reachesOn)
        closed_ = true;
    else if (reachesOff)
        closed_ = false;
    return state(image);
}

ContactState LimitContact::state(const ImageWords& image) const {
    if (image[word::ContactOn] == ContactUnusedWord) return ContactState::NotUsed;
    return closed_ ? ContactState::Closed : ContactState::Open;
}

}  // namespace zmt::sim
