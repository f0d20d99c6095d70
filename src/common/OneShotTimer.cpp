#include "OneShotTimer.h"

namespace zmt {

OneShotTimer::OneShotTimer(QObject* parent, const QString& name, int intervalMs)
    : QObject(parent) {
    setObjectName(name);
    timer_.setInterval(intervalMs);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &OneShotTimer::tick);
}

void OneShotTimer::setEnabled(bool enabled) {
    if (enabled == timer_.isActive()) return;  // a running timer keeps its phase
    if (enabled)
        timer_.start();
    else
        timer_.stop();
}

void OneShotTimer::setInterval(int ms) {
    // As with the original timers, a new interval restarts a running timer.
    timer_.setInterval(ms);
}

void OneShotTimer::tick() {
    if (handler_) handler_();
    emit fired();
}

}  // namespace zmt
