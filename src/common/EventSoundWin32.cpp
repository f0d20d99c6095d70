#include "common/EventSound.h"

#include <windows.h>

namespace zmt {

// Windows plays its own warning sound, as the user has set it in the sound scheme; the
// event name has no meaning here.
EventSound::EventSound(QByteArray eventId, QByteArray description)
    : eventId_(std::move(eventId)), description_(std::move(description)) {}

EventSound::~EventSound() = default;

bool EventSound::Play() {
    if (failed_) return false;
    // A missing sound device stays missing; asking again at every beep would only cost.
    return ::MessageBeep(MB_ICONEXCLAMATION) != 0 || Fail();
}

bool EventSound::Open() {
    return true;
}

bool EventSound::Fail() {
    failed_ = true;
    return false;
}

}  // namespace zmt
