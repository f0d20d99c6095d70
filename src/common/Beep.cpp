#include "common/Beep.h"

#include "common/EventSound.h"

#include <QApplication>

#include <atomic>

namespace zmt {

namespace {
std::atomic<int> beepCounter{0};
std::atomic<int> fallbackCounter{0};

std::atomic<int> passCounter{0};
std::atomic<int> failureCounter{0};

std::shared_ptr<EventSound>& CurrentSound() {
    static std::shared_ptr<EventSound> sound = std::make_shared<EventSound>();
    return sound;
}

std::shared_ptr<EventSound>& ResultSoundOf(bool passed) {
    static std::shared_ptr<EventSound> pass = std::make_shared<EventSound>("complete", "Passed");
    static std::shared_ptr<EventSound> failure =
        std::make_shared<EventSound>("dialog-error", "Failed");
    return passed ? pass : failure;
}

void Play(const std::shared_ptr<EventSound>& sound) {
    if (sound && sound->Play()) return;
    ++fallbackCounter;
    QApplication::beep();
}
}  // namespace

void Beep() {
    ++beepCounter;
    Play(CurrentSound());
}

void ResultSound(bool passed) {
    ++(passed ? passCounter : failureCounter);
    Play(ResultSoundOf(passed));
}

int ResultSoundCount(bool passed) {
    return (passed ? passCounter : failureCounter).load();
}

void SetResultSounds(std::shared_ptr<EventSound> pass, std::shared_ptr<EventSound> failure) {
    ResultSoundOf(true) = std::move(pass);
    ResultSoundOf(false) = std::move(failure);
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
