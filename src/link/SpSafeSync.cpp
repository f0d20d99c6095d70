#include "link/SpSafeSync.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QThread>

#include <array>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

namespace zmt::link {
namespace {

struct Slot {
    bool enabled = false;
    SafeSyncMethod method;
    std::uint32_t id = 0;
};

struct PendingCall {
    std::uint32_t id = 0;
    bool done = false;
};

const QEvent::Type CallEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type RaiseEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class SafeSyncObject;

// Everything below is guarded by `mutex`, which is never held while a method runs.
struct Registry {
    std::mutex mutex;
    std::condition_variable callFinished;
    std::array<Slot, SafeSyncSlotCount> table;
    std::uint32_t nextId = 1;
    std::deque<std::shared_ptr<PendingCall>> calls;
    std::deque<std::exception_ptr> raised;
    SafeSyncExceptionHandler exceptionHandler;
    SafeSyncObject* hidden = nullptr;

    Slot* find(std::uint32_t id) {
        if (id == 0) return nullptr;
        for (auto& slot : table)
            if (slot.method && slot.id == id) return &slot;
        return nullptr;
    }
    bool usable(std::uint32_t id) {
        const Slot* slot = find(id);
        return slot && slot->enabled;
    }
    std::uint32_t takeId() {
        const std::uint32_t id = nextId++;
        if (nextId == 0) nextId = 1;
        return id;
    }
};

Registry& registry() {
    static Registry instance;
    return instance;
}

void handleException(std::exception_ptr error) {
    SafeSyncExceptionHandler handler;
    {
        std::lock_guard lock(registry().mutex);
        handler = registry().exceptionHandler;
    }
    if (handler)
        handler(error);
    else
        std::rethrow_exception(error);
}

// Marks a call finished when the method returns or throws, so that its worker goes on.
struct FinishCall {
    std::shared_ptr<PendingCall> call;
    ~FinishCall() {
        if (!call) return;
        {
            std::lock_guard lock(registry().mutex);
            call->done = true;
        }
        registry().callFinished.notify_all();
    }
};

// Lives on the user-interface thread; each posted event runs one pending call.
class SafeSyncObject : public QObject {
  public:
    bool event(QEvent* e) override {
        // The worker made `e` before it released the mutex; taking it here orders that
        // before this thread reads the event (Qt's own queue lock is invisible to sanitizers).
        { std::lock_guard lock(registry().mutex); }
        if (e->type() == CallEvent) return runNextCall(), true;
        if (e->type() == RaiseEvent) return raiseNext(), true;
        return QObject::event(e);
    }

  private:
    void runNextCall() {
        FinishCall finish;
        SafeSyncMethod method;
        int index = 0;
        {
            Registry& r = registry();
            std::lock_guard lock(r.mutex);
            if (r.calls.empty()) return;
            finish.call = r.calls.front();
            r.calls.pop_front();
            if (Slot* slot = r.find(finish.call->id); slot && slot->enabled) {
                method = slot->method;
                index = static_cast<int>(slot - r.table.data());
            }
        }
        if (!method) return;
        try {
            method(index);
        } catch (...) {
            handleException(std::current_exception());
        }
    }

    void raiseNext() {
        std::exception_ptr error;
        {
            std::lock_guard lock(registry().mutex);
            if (registry().raised.empty()) return;
            error = registry().raised.front();
            registry().raised.pop_front();
        }
        handleException(error);
    }
};

// Creates the hidden object on the application's thread; the caller holds the mutex.
SafeSyncObject* hiddenObjectLocked() {
    Registry& r = registry();
    if (!r.hidden) {
        r.hidden = new SafeSyncObject;
        if (auto* app = QCoreApplication::instance(); app && app->thread() != r.hidden->thread())
            r.hidden->moveToThread(app->thread());
    }
    return r.hidden;
}

bool onHiddenObjectThread(SafeSyncObject* hidden) {
    return hidden && QThread::currentThread() == hidden->thread();
}

// A call from the user-interface thread itself cannot wait for that thread: run it here.
bool callDirectly(std::unique_lock<std::mutex>& lock, Slot& slot) {
    Registry& r = registry();
    const std::uint32_t id = slot.id;
    SafeSyncMethod method = slot.method;
    const int index = static_cast<int>(&slot - r.table.data());
    lock.unlock();
    try {
        method(index);
    } catch (...) {
        handleException(std::current_exception());
    }
    lock.lock();
    return r.usable(id);
}

}  // namespace

std::uint32_t SafeSyncRegister(SafeSyncMethod method) {
    if (!method) return 0;
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    hiddenObjectLocked();
    for (auto& slot : r.table) {
        if (slot.method) continue;
        slot = Slot{false, std::move(method), r.takeId()};
        return slot.id;
    }
    return 0;
}

void SafeSyncUnregister(std::uint32_t id) {
    Registry& r = registry();
    {
        std::lock_guard lock(r.mutex);
        if (Slot* slot = r.find(id)) *slot = Slot{};
    }
    r.callFinished.notify_all();
}

void SafeSyncSetEnabled(std::uint32_t id, bool enabled) {
    Registry& r = registry();
    {
        std::lock_guard lock(r.mutex);
        if (Slot* slot = r.find(id)) slot->enabled = enabled;
    }
    r.callFinished.notify_all();
}

bool SafeSyncCall(std::uint32_t id, int timeoutMs) {
    Registry& r = registry();
    std::unique_lock lock(r.mutex);
    Slot* slot = r.find(id);
    if (!slot || !slot->enabled) return false;
    SafeSyncObject* hidden = hiddenObjectLocked();
    if (onHiddenObjectThread(hidden)) return callDirectly(lock, *slot);
    auto call = std::make_shared<PendingCall>(PendingCall{id, false});
    // Made before the call is queued, so that the queue's mutex orders it before its use.
    auto* wake = new QEvent(CallEvent);
    r.calls.push_back(call);
    lock.unlock();
    QCoreApplication::postEvent(hidden, wake);
    lock.lock();
    r.callFinished.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                            [&] { return call->done || !r.usable(id); });
    return r.usable(id);
}

void SafeSyncRaise(std::exception_ptr error) {
    Registry& r = registry();
    std::unique_lock lock(r.mutex);
    SafeSyncObject* hidden = hiddenObjectLocked();
    auto* wake = new QEvent(RaiseEvent);
    r.raised.push_back(std::move(error));
    lock.unlock();
    QCoreApplication::postEvent(hidden, wake);
}

void SafeSyncSetExceptionHandler(SafeSyncExceptionHandler handler) {
    std::lock_guard lock(registry().mutex);
    registry().exceptionHandler = std::move(handler);
}

int SafeSyncPendingCalls() {
    std::lock_guard lock(registry().mutex);
    return static_cast<int>(registry().calls.size());
}

void SafeSyncSetNextId(std::uint32_t id) {
    std::lock_guard lock(registry().mutex);
    registry().nextId = id == 0 ? 1 : id;
}

}  // namespace zmt::link
