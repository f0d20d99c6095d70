#include "link/SignalBoard.h"

namespace zmt::link {

void SignalBoard::set(std::uint32_t bits) {
    {
        std::lock_guard lock(mutex_);
        bits_ |= bits;
    }
    changed_.notify_all();
}

void SignalBoard::reset(std::uint32_t bits) {
    std::lock_guard lock(mutex_);
    bits_ &= ~bits;
}

bool SignalBoard::isSet(std::uint32_t bits) const {
    std::lock_guard lock(mutex_);
    return (bits_ & bits) != 0;
}

std::uint32_t SignalBoard::takeLocked(std::uint32_t mask) {
    const std::uint32_t pending = bits_ & mask;
    if (pending == 0) return 0;
    const std::uint32_t lowest = pending & (~pending + 1);
    bits_ &= ~(lowest & ~manualReset_);
    return lowest;
}

std::uint32_t SignalBoard::waitAny(std::uint32_t mask, int timeoutMs) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                      [&] { return (bits_ & mask) != 0; });
    return takeLocked(mask);
}

bool SignalBoard::waitSet(std::uint32_t mask, int timeoutMs) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return (bits_ & mask) != 0; });
}

std::uint32_t SignalBoard::take(std::uint32_t mask) {
    std::lock_guard lock(mutex_);
    return takeLocked(mask);
}

void CancellableLock::lock() {
    std::unique_lock lock(mutex_);
    released_.wait(lock, [&] { return !held_; });
    held_ = true;
}

void CancellableLock::unlock() {
    {
        std::lock_guard lock(mutex_);
        held_ = false;
    }
    released_.notify_all();
}

bool CancellableLock::lockWhile(const std::atomic<bool>& keepWaiting) {
    std::unique_lock lock(mutex_);
    released_.wait(lock, [&] { return !held_ || !keepWaiting; });
    if (held_ || !keepWaiting) return false;
    held_ = true;
    return true;
}

void CancellableLock::wake() {
    { std::lock_guard lock(mutex_); }
    released_.notify_all();
}

}  // namespace zmt::link
