#pragma once

// Runs the program on a virtual clock as fast as its events allow: everything that is due
// now runs (window events, port notifications, the port's worker threads), and only when
// nothing is left to do at this moment does the clock jump to the next timer or the next
// byte on the simulated wire. A device operation of fifteen seconds takes a moment, and
// every interval is exactly the one the program asked for.

#include "common/Clock.h"
#include "link/SpSafeSync.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace zmt::test {

class VirtualTime {
  public:
    using TimePoint = Clock::TimePoint;

    VirtualClock clock;

    // Something outside the event loop that may still be working now (a worker thread,
    // a simulated wire): the clock waits until it says it is idle.
    void watchIdle(std::function<bool()> idle) { idleChecks_.push_back(std::move(idle)); }
    // Something that has its own next point in time (the simulated wire).
    void watchDeadline(std::function<std::optional<TimePoint>()> next) {
        deadlines_.push_back(std::move(next));
    }
    // Wakes a settle() that waits for the watched work; safe from any thread.
    static void Wake() {
        if (auto* dispatcher = QAbstractEventDispatcher::instance(qApp->thread()))
            dispatcher->wakeUp();
    }

    // Moves time on until `done` holds; false when nothing is left to happen or `limit`
    // of virtual time has passed first.
    bool runUntil(const std::function<bool()>& done,
                  std::chrono::milliseconds limit = std::chrono::minutes(10)) {
        const TimePoint end = clock.now() + limit;
        settle();
        while (!done()) {
            const std::optional<TimePoint> next = nextDeadline();
            if (!next || *next > end) return false;
            clock.advanceTo(std::max(*next, clock.now()));
            settle();
        }
        return true;
    }

    // Lets `span` of virtual time pass, with everything that falls due in it.
    void runFor(std::chrono::milliseconds span) {
        const TimePoint end = clock.now() + span;
        runUntil([&] { return false; }, span);
        clock.advanceTo(end);
        settle();
    }

    // Runs what is due now, until the event loop and every watched thread are idle.
    void settle() {
        for (int round = 0; round < kMaxRounds; ++round) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            if (busy()) {
                waitForWork();
                continue;
            }
            // What the last pass posted, and a notification that was just handed over.
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            if (!busy()) return;
        }
    }

  private:
    static constexpr int kMaxRounds = 100000;

    bool busy() const {
        if (link::SafeSyncPendingCalls() > 0) return true;
        for (const auto& idle : idleChecks_)
            if (!idle()) return true;
        return false;
    }

    std::optional<TimePoint> nextDeadline() const {
        std::optional<TimePoint> next = clock.nextDue();
        for (const auto& source : deadlines_) {
            const auto at = source();
            if (at && (!next || *at < *next)) next = at;
        }
        return next;
    }

    // A worker thread is about to hand something over or to settle down: wait for the
    // event loop to be woken by it (or by a short guard, should a wake-up be lost).
    static void waitForWork() {
        QTimer guard;
        guard.setSingleShot(true);
        guard.start(5);
        QAbstractEventDispatcher::instance()->processEvents(QEventLoop::WaitForMoreEvents);
    }

    std::vector<std::function<bool()>> idleChecks_;
    std::vector<std::function<std::optional<TimePoint>()>> deadlines_;
};

}  // namespace zmt::test
