#include "Beep.h"

#include <QApplication>

#include <atomic>

namespace zmt {

namespace {
std::atomic<int> beepCounter{0};
}

void Beep() {
    ++beepCounter;
    QApplication::beep();
}

int BeepCount() { return beepCounter.load(); }

}  // namespace zmt
