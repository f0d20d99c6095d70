#include "common/OneShotTimer.h"

namespace zmt {

OneShotTimer::OneShotTimer(QObject* parent, const QString& name, int intervalMs, Clock& clock)
    : QObject(parent), intervalMs_(intervalMs), virtual_(clock.virtualClock()) {
    setObjectName(name);
    timer_.setInterval(intervalMs);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &OneShotTimer::tick);
}

OneShotTimer::~OneShotTimer() {
    cancelVirtual();
}

bool OneShotTimer::enabled() const {
    return virtual_ ? virtualActive_ : timer_.isActive();
}

void OneShotTimer::setEnabled(bool enabled) {
    if (enabled == this->enabled()) return;  // a running timer keeps its phase
    if (virtual_) {
        virtualActive_ = enabled;
        enabled ? scheduleVirtual() : cancelVirtual();
    } else if (enabled) {
        timer_.start();
    } else {
        timer_.stop();
    }
}

void OneShotTimer::setInterval(int ms) {
    // As with the original timers, a new interval restarts a running timer.
    intervalMs_ = ms;
    timer_.setInterval(ms);
    if (virtual_ && virtualActive_) {
        cancelVirtual();
        scheduleVirtual();
    }
}

void OneShotTimer::scheduleVirtual() {
    scheduled_ = virtual_->schedule(virtual_->now() + std::chrono::milliseconds(intervalMs_),
                                    [this] { virtualTick(); });
}

void OneShotTimer::cancelVirtual() {
    if (!virtual_ || scheduled_ == 0) return;
    virtual_->cancel(scheduled_);
    scheduled_ = 0;
}

// A handler that leaves the timer enabled gets the next tick one interval later, as the
// event loop's timer would give it.
void OneShotTimer::virtualTick() {
    scheduled_ = 0;
    tick();
    if (virtualActive_ && scheduled_ == 0) scheduleVirtual();
}

void OneShotTimer::tick() {
    if (handler_) handler_();
    emit fired();
}

}  // namespace zmt

#include "moc_OneShotTimer.cpp"
