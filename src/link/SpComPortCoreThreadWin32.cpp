#include "link/SpComPortCore.h"

#include <windows.h>

#include <array>

namespace zmt::link {
namespace {

constexpr std::array<int, 7> WindowsPriorityOf{
    THREAD_PRIORITY_IDLE,         THREAD_PRIORITY_LOWEST,       THREAD_PRIORITY_BELOW_NORMAL,
    THREAD_PRIORITY_NORMAL,       THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST,
    THREAD_PRIORITY_TIME_CRITICAL};

}  // namespace

void TSpComPortCoreThread::Run() {
    systemThreadId_ = static_cast<int>(::GetCurrentThreadId());
    try {
        Execute();
    } catch (...) {
        HandleException(std::current_exception());
    }
}

// A priority the user may not set is kept as it was.
void TSpComPortCoreThread::SetPriority(TThreadPriority priority) {
    const int id = systemThreadId_;
    if (id <= 0) return;
    HANDLE thread = ::OpenThread(THREAD_SET_INFORMATION, FALSE, static_cast<DWORD>(id));
    if (!thread) return;
    ::SetThreadPriority(thread, WindowsPriorityOf.at(priority));
    ::CloseHandle(thread);
}

}  // namespace zmt::link
