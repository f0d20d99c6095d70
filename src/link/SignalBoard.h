#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace zmt::link {

// A few signals that one thread waits on together, in the manner of auto-reset and
// manual-reset events. Built on std::mutex and std::condition_variable so that the
// thread sanitizer sees every hand-over.
class SignalBoard {
  public:
    // Bits in `manualReset` stay set after a wait took them; the others reset.
    explicit SignalBoard(std::uint32_t manualReset = 0) : manualReset_(manualReset) {}

    void set(std::uint32_t bits);
    void reset(std::uint32_t bits);
    bool isSet(std::uint32_t bits) const;
    // Waits up to timeoutMs for any bit of `mask`; returns the lowest one set (taking it
    // unless it is manual-reset), 0 after the time-out.
    std::uint32_t waitAny(std::uint32_t mask, int timeoutMs);
    // Waits up to timeoutMs for any bit of `mask` without taking it.
    bool waitSet(std::uint32_t mask, int timeoutMs);
    // Takes the lowest bit of `mask` that is set without waiting; 0 when none is.
    std::uint32_t take(std::uint32_t mask);

  private:
    std::uint32_t takeLocked(std::uint32_t mask);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::uint32_t bits_ = 0;
    const std::uint32_t manualReset_;
};

// A lock whose waiters can give up: lockWhile() stops waiting as soon as its condition
// turns false and wake() is called. Used where a thread must not queue behind a closing port.
class CancellableLock {
  public:
    void lock();
    void unlock();
    // Takes the lock unless `keepWaiting` turns false first; true when it took the lock.
    bool lockWhile(const std::atomic<bool>& keepWaiting);
    // Makes waiters look at their condition again.
    void wake();

  private:
    std::mutex mutex_;
    std::condition_variable released_;
    bool held_ = false;
};

}  // namespace zmt::link
