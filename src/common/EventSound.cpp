#include "common/EventSound.h"

#include <canberra.h>

namespace zmt {

EventSound::EventSound(QByteArray eventId, QByteArray description)
    : eventId_(std::move(eventId)), description_(std::move(description)) {}

EventSound::~EventSound() {
    if (context_) ca_context_destroy(context_);
}

bool EventSound::Play() {
    if (failed_ || (!context_ && !Open())) return false;
    const int played = ca_context_play(context_, 0, CA_PROP_EVENT_ID, eventId_.constData(),
                                       CA_PROP_EVENT_DESCRIPTION, description_.constData(),
                                       CA_PROP_CANBERRA_CACHE_CONTROL, "permanent", nullptr);
    // A missing sound or device stays missing; asking again at every beep would only cost.
    return played == CA_SUCCESS || Fail();
}

// The context opens at the first beep, so that a run without one never touches the driver.
bool EventSound::Open() {
    if (ca_context_create(&context_) != CA_SUCCESS) return Fail();
    ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, "ZMT 48x24", CA_PROP_APPLICATION_ID,
                            "com.example.zmt4824", CA_PROP_APPLICATION_ICON_NAME,
                            "com.example.zmt4824", nullptr);
    return ca_context_open(context_) == CA_SUCCESS || Fail();
}

bool EventSound::Fail() {
    failed_ = true;
    if (context_) ca_context_destroy(context_);
    context_ = nullptr;
    return false;
}

}  // namespace zmt
