#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

namespace zmt {

// A timer with the semantics the windows were designed around: it is either enabled or
// not. Enabling a running timer keeps its running interval; disabling and enabling again
// restarts it. The handler decides itself whether to disable the timer at its tick (all
// timers of this program do so, which makes them one-shot).
class OneShotTimer : public QObject {
    Q_OBJECT
public:
    OneShotTimer(QObject* parent, const QString& name, int intervalMs);

    void setEnabled(bool enabled);
    bool enabled() const { return timer_.isActive(); }
    void setInterval(int ms);
    int interval() const { return timer_.interval(); }
    void setHandler(std::function<void()> handler) { handler_ = std::move(handler); }

signals:
    void fired();

private:
    void tick();

    QTimer timer_;
    std::function<void()> handler_;
};

}  // namespace zmt
