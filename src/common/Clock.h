#pragma once

// Where the program takes its time from: the machine's steady clock, or a virtual clock
// that a test moves on, so that a device operation of fifteen seconds runs in a moment
// with every timer value as it is.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

namespace zmt {

class VirtualClock;

class Clock {
  public:
    using TimePoint = std::chrono::steady_clock::time_point;
    using Duration = std::chrono::steady_clock::duration;

    virtual ~Clock() = default;
    virtual TimePoint now() const = 0;
    // The virtual clock behind this one, which runs the program's timers itself; null for
    // the machine's clock, whose timers run in the event loop.
    virtual VirtualClock* virtualClock() { return nullptr; }
};

// The machine's steady clock. It has no state, so one instance serves everyone.
Clock& SteadyClock();

// Time that moves only when told to. Timers are callbacks due at a point in time; moving
// the clock runs the ones it passes, each at its own time and in the order they fall due
// (in the order they were set for the same time). Listeners learn of every move, so that
// a thread waiting for a point in time can look again.
//
// now() may be read from any thread; timers are set, cancelled and run on the thread that
// moves the clock.
class VirtualClock final : public Clock {
  public:
    using TimerId = std::uint64_t;
    using Listener = std::function<void()>;

    TimePoint now() const override { return TimePoint(Duration(now_.load())); }
    VirtualClock* virtualClock() override { return this; }

    TimerId schedule(TimePoint due, std::function<void()> callback);
    void cancel(TimerId id);
    std::optional<TimePoint> nextDue() const;

    // Runs every timer due up to `until` (the clock standing at each one's time), then
    // stands at `until`. A point in the past leaves the time as it is.
    void advanceTo(TimePoint until);
    void advanceBy(Duration span) { advanceTo(now() + span); }

    int subscribe(Listener listener);
    void unsubscribe(int id);

  private:
    using Key = std::pair<TimePoint, TimerId>;

    void moveTo(TimePoint point);
    bool runNextDue(TimePoint until);

    // Starts well away from zero, so that "now minus a while" stays a valid time.
    std::atomic<Duration::rep> now_{
        std::chrono::duration_cast<Duration>(std::chrono::hours(1)).count()};
    mutable std::mutex timersMutex_;
    std::map<Key, std::function<void()>> timers_;
    std::map<TimerId, TimePoint> dueOf_;
    TimerId nextId_ = 1;
    std::mutex listenersMutex_;
    std::map<int, Listener> listeners_;
    int nextListener_ = 1;
};

}  // namespace zmt
