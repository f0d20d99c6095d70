#pragma once

// An in-memory device behind the port: it records what the core asks of it and can be
// told to refuse any step of an open.

#include "link/interface/PlatformDevice.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace zmt::link::test {

struct FakeDeviceLog {
    std::mutex mutex;
    int opens = 0;
    int lastNumber = 0;
    std::vector<LineFunction> lines;
    std::vector<CommState> states;  // every record applied
    std::vector<std::uint8_t> written;
    bool refuseTimeouts = false, refuseQueues = false, refuseMask = false, refuseState = false;
    bool takeNothing = false;  // write() takes no byte while claiming to be writable
    int writeCalls = 0;
};

class FakeDevice : public PlatformDevice {
  public:
    explicit FakeDevice(std::shared_ptr<FakeDeviceLog> log) : log_(std::move(log)) {}

    OpenResult open(int number) override {
        std::lock_guard lock(log_->mutex);
        ++log_->opens;
        log_->lastNumber = number;
        open_ = true;
        return {};
    }
    bool isOpen() const override { return open_; }
    bool setTimeouts() override {
        return !locked([&] { return log_->refuseTimeouts; });
    }
    bool setQueueSizes(int, int) override {
        return !locked([&] { return log_->refuseQueues; });
    }
    bool setEventMask(std::uint32_t mask) override {
        if (mask == 0) cancelWait();
        return !locked([&] { return log_->refuseMask; });
    }
    bool setCommState(const CommState& state) override {
        std::lock_guard lock(log_->mutex);
        if (log_->refuseState) return false;
        log_->states.push_back(state);
        return true;
    }
    bool getCommState(CommState& state) override {
        state = CommState{};
        state.BaudRate = 1234;  // what the driver still holds
        return true;
    }
    bool lineFunction(LineFunction function) override {
        std::lock_guard lock(log_->mutex);
        log_->lines.push_back(function);
        return true;
    }
    bool status(CommStatus& status) override {
        status = CommStatus{};
        return true;
    }
    int read(std::uint8_t*, int) override { return 0; }
    int write(const std::uint8_t* buffer, int count) override {
        std::lock_guard lock(log_->mutex);
        ++log_->writeCalls;
        if (log_->takeNothing) return 0;
        log_->written.insert(log_->written.end(), buffer, buffer + count);
        return count;
    }
    bool purge(std::uint32_t) override { return true; }
    WaitResult waitEvent(int timeoutMs, std::uint32_t& mask) override {
        mask = 0;
        std::unique_lock lock(waitMutex_);
        woken_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return cancelled_; });
        const bool cancelled = std::exchange(cancelled_, false);
        return cancelled ? WaitResult::Cancelled : WaitResult::TimedOut;
    }
    void cancelWait() override {
        {
            std::lock_guard lock(waitMutex_);
            cancelled_ = true;
        }
        woken_.notify_all();
    }
    void close() override { open_ = false; }

  private:
    template <typename F>
    bool locked(F f) {
        std::lock_guard lock(log_->mutex);
        return f();
    }

    std::shared_ptr<FakeDeviceLog> log_;
    std::atomic<bool> open_{false};
    std::mutex waitMutex_;
    std::condition_variable woken_;
    bool cancelled_ = false;
};

inline PlatformDeviceFactory FakeFactory(std::shared_ptr<FakeDeviceLog> log) {
    return [log] { return std::make_unique<FakeDevice>(log); };
}

}  // namespace zmt::link::test
