#include "cli/StdioConsole.h"

#include <QTimer>
#include <QWinEventNotifier>

#include <windows.h>

#include <atomic>

namespace zmt::cli {

// The console of a real run on Windows: UTF-8 output, the progress line in place where the
// console takes terminal sequences, standard input as the event loop sees it arrive (a
// console's input handle signals it; a pipe is looked at every 100 ms; a file is read at
// once), and Ctrl-C counted through an event that the console's control handler sets.

namespace {

constexpr int kPipeLookMs = 100;

HANDLE interruptEvent = nullptr;
std::atomic<int> interruptsSeen{0};

// Runs on a thread of the system's: only counts and signals.
BOOL WINAPI OnControl(DWORD type) {
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
    ++interruptsSeen;
    if (interruptEvent) ::SetEvent(interruptEvent);
    return TRUE;
}

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode);
}

// The console draws "\r" and "\033[K" in place only with terminal processing on.
bool TakesTerminalSequences(HANDLE handle) {
    DWORD mode = 0;
    if (!IsConsole(handle) || !::GetConsoleMode(handle, &mode)) return false;
    return ::SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

HANDLE Input() {
    return ::GetStdHandle(STD_INPUT_HANDLE);
}

}  // namespace

StdioConsole::StdioConsole(bool quiet)
    : statusAllowed_(!quiet && TakesTerminalSequences(::GetStdHandle(STD_ERROR_HANDLE))),
      inputIsTerminal_(IsConsole(Input())) {
    ::SetConsoleOutputCP(CP_UTF8);
    ::SetConsoleCP(CP_UTF8);  // typed lines arrive as UTF-8, as a pipe's do
    if (inputIsTerminal_) {
        auto* notifier = new QWinEventNotifier(Input(), this);
        connect(notifier, &QWinEventNotifier::activated, this, &StdioConsole::ReadInput);
    } else if (::GetFileType(Input()) == FILE_TYPE_PIPE) {
        auto* look = new QTimer(this);
        connect(look, &QTimer::timeout, this, &StdioConsole::ReadInput);
        look->start(kPipeLookMs);
    } else {
        ReadInput();
    }
    interruptEvent = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (interruptEvent) {
        auto* notifier = new QWinEventNotifier(interruptEvent, this);
        connect(notifier, &QWinEventNotifier::activated, this, &StdioConsole::TakeInterrupt);
        ::SetConsoleCtrlHandler(OnControl, TRUE);
    }
}

StdioConsole::~StdioConsole() {
    ClearStatus();
    ::SetConsoleCtrlHandler(OnControl, FALSE);
    for (auto* notifier : findChildren<QWinEventNotifier*>()) notifier->setEnabled(false);
    if (interruptEvent) ::CloseHandle(interruptEvent);
    interruptEvent = nullptr;
}

// Takes what waits without blocking: a console's pending events, a pipe's bytes, a file whole.
void StdioConsole::ReadInput() {
    if (inputEnded_) return;
    const HANDLE input = Input();
    DWORD waiting = 0;
    if (inputIsTerminal_) {
        INPUT_RECORD record;
        DWORD events = 0;
        // Key presses without a finished line are left to the console's own line editing.
        if (!::PeekConsoleInputW(input, &record, 1, &events) || events == 0) return;
        waiting = 256;
    } else if (::GetFileType(input) == FILE_TYPE_PIPE) {
        // A pipe whose writer has gone fails the look; the read below then ends the input.
        if (!::PeekNamedPipe(input, nullptr, 0, nullptr, &waiting, nullptr)) waiting = 1;
        if (waiting == 0) return;
    } else {
        waiting = 1 << 20;
    }
    char buffer[4096];
    DWORD got = 0;
    do {
        if (!::ReadFile(input, buffer, std::min<DWORD>(waiting, sizeof buffer), &got, nullptr) ||
            got == 0) {
            inputEnded_ = true;
            for (auto* notifier : findChildren<QWinEventNotifier*>())
                if (notifier->handle() == input) notifier->setEnabled(false);
            for (auto* look : findChildren<QTimer*>()) look->stop();
            return;
        }
        pending_.append(buffer, qsizetype(got));
    } while (!inputIsTerminal_ && ::GetFileType(input) == FILE_TYPE_DISK);
}

// The console's input code page is UTF-8 (set at the start), as the bytes of a pipe are.
QString StdioConsole::InputText(const QByteArray& bytes) {
    return QString::fromUtf8(bytes);
}

void StdioConsole::TakeInterrupt() {
    interrupts_ = interruptsSeen;
}

}  // namespace zmt::cli

#include "moc_StdioConsole.cpp"
