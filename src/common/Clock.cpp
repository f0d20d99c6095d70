#include "common/Clock.h"

namespace zmt {

namespace {

class MachineClock final : public Clock {
  public:
    TimePoint now() const override { return std::chrono::steady_clock::now(); }
};

}  // namespace

Clock& SteadyClock() {
    static MachineClock clock;
    return clock;
}

VirtualClock::TimerId VirtualClock::schedule(TimePoint due, std::function<void()> callback) {
    std::lock_guard lock(timersMutex_);
    const TimerId id = nextId_++;
    timers_.emplace(Key{due, id}, std::move(callback));
    dueOf_.emplace(id, due);
    return id;
}

void VirtualClock::cancel(TimerId id) {
    std::lock_guard lock(timersMutex_);
    const auto found = dueOf_.find(id);
    if (found == dueOf_.end()) return;
    timers_.erase(Key{found->second, id});
    dueOf_.erase(found);
}

std::optional<Clock::TimePoint> VirtualClock::nextDue() const {
    std::lock_guard lock(timersMutex_);
    if (timers_.empty()) return std::nullopt;
    return timers_.begin()->first.first;
}

void VirtualClock::advanceTo(TimePoint until) {
    while (runNextDue(until)) {
    }
    if (until > now()) moveTo(until);
}

// A timer's callback may set or cancel others, so they are taken one at a time.
bool VirtualClock::runNextDue(TimePoint until) {
    std::function<void()> callback;
    TimePoint due;
    {
        std::lock_guard lock(timersMutex_);
        if (timers_.empty() || timers_.begin()->first.first > until) return false;
        const auto first = timers_.begin();
        due = first->first.first;
        callback = std::move(first->second);
        dueOf_.erase(first->first.second);
        timers_.erase(first);
    }
    if (due > now()) moveTo(due);
    callback();
    return true;
}

void VirtualClock::moveTo(TimePoint point) {
    now_.store(point.time_since_epoch().count());
    std::lock_guard lock(listenersMutex_);
    for (const auto& [id, listener] : listeners_) listener();
}

int VirtualClock::subscribe(Listener listener) {
    std::lock_guard lock(listenersMutex_);
    const int id = nextListener_++;
    listeners_.emplace(id, std::move(listener));
    return id;
}

void VirtualClock::unsubscribe(int id) {
    std::lock_guard lock(listenersMutex_);
    listeners_.erase(id);
}

}  // namespace zmt
