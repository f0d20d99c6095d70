#include "Beep.h"

#include "EventSound.h"

#include <QApplication>

#include <atomic>

namespace zmt {

namespace {
std::atomic<int> beepCounter{0};
std::atomic<int> fallbackCounter{0};

std::shared_ptr<EventSound>& CurrentSound() {
    static std::shared_ptr<EventSound> sound = std::make_shared<EventSound>();
    return sound;
}
}  // namespace

void Beep() {
    ++beepCounter;
    const std::shared_ptr<EventSound>& sound = CurrentSound();
    if (sound && sound->Play()) return;
    ++fallbackCounter;
    QApplication::beep();
}

int BeepCount() {
    return beepCounter.load();
}

int FallbackBeepCount() {
    return fallbackCounter.load();
}

std::shared_ptr<EventSound> SetBeepSound(std::shared_ptr<EventSound> sound) {
    CurrentSound().swap(sound);
    return sound;
}

}  // namespace zmt
