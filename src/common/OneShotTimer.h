#pragma once

#include "common/Clock.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace zmt {

// A timer with the semantics the windows were designed around: it is either enabled or
// not. Enabling a running timer keeps its running interval; disabling and enabling again
// restarts it. The handler decides itself whether to disable the timer at its tick (all
// timers of this program do so, which makes them one-shot).
//
// On the machine's clock it is a QTimer of the event loop; on a virtual clock it is one of
// the clock's timers, run when the clock is moved past it.
class OneShotTimer : public QObject {
    Q_OBJECT
  public:
    OneShotTimer(QObject* parent, const QString& name, int intervalMs, Clock& clock);
    ~OneShotTimer() override;

    void setEnabled(bool enabled);
    bool enabled() const;
    void setInterval(int ms);
    int interval() const { return intervalMs_; }
    void setHandler(std::function<void()> handler) { handler_ = std::move(handler); }

  signals:
    void fired();

  private:
    void tick();
    void scheduleVirtual();
    void cancelVirtual();
    void virtualTick();

    int intervalMs_;
    VirtualClock* virtual_;
    QTimer timer_;
    bool virtualActive_ = false;
    VirtualClock::TimerId scheduled_ = 0;
    std::function<void()> handler_;
};

}  // namespace zmt
