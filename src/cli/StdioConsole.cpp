#include "cli/StdioConsole.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <csignal>

namespace zmt::cli {

namespace {

int interruptPipe[2] = {-1, -1};

// A terminal closed or a service manager's stop ends the command as Ctrl-C does: the frame
// in flight finishes and the lines go low, instead of dying with the meter half written.
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Only what is safe in a signal handler: one byte into the pipe.
void OnInterrupt(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(interruptPipe[1], &byte, 1);
}

}  // namespace

StdioConsole::StdioConsole(bool quiet)
    : statusAllowed_(!quiet && ::isatty(STDERR_FILENO)), inputIsTerminal_(::isatty(STDIN_FILENO)) {
    input_ = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(input_, &QSocketNotifier::activated, this, &StdioConsole::ReadInput);
    if (::pipe2(interruptPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        interrupt_ = new QSocketNotifier(interruptPipe[0], QSocketNotifier::Read, this);
        connect(interrupt_, &QSocketNotifier::activated, this, &StdioConsole::TakeInterrupt);
        for (const int stop : kStopSignals) std::signal(stop, OnInterrupt);
    }
}

StdioConsole::~StdioConsole() {
    ClearStatus();
    for (const int stop : kStopSignals) std::signal(stop, SIG_DFL);
    for (int& fd : interruptPipe) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

void StdioConsole::ReadInput() {
    char buffer[256];
    const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (got > 0) {
        pending_.append(buffer, got);
        return;
    }
    if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
        inputEnded_ = true;
        input_->setEnabled(false);  // an ended input would report itself for ever
    }
}

// Typed input in the terminal's own encoding.
QString StdioConsole::InputText(const QByteArray& bytes) {
    return QString::fromLocal8Bit(bytes);
}

void StdioConsole::TakeInterrupt() {
    char bytes[16];
    while (::read(interruptPipe[0], bytes, sizeof bytes) > 0) ++interrupts_;
}

}  // namespace zmt::cli

#include "moc_StdioConsole.cpp"
