#include "link/SpComPortCore.h"

#include <sys/resource.h>
#include <unistd.h>

#include <array>

namespace zmt::link {
namespace {

// Nice values for the thread priorities; raising one needs the right to, else it is kept.
constexpr std::array<int, 7> NiceOfPriority{19, 10, 5, 0, -5, -10, -15};

}  // namespace

void TSpComPortCoreThread::Run() {
    systemThreadId_ = static_cast<int>(::gettid());
    try {
        Execute();
    } catch (...) {
        HandleException(std::current_exception());
    }
}

void TSpComPortCoreThread::SetPriority(TThreadPriority priority) {
    if (const int id = systemThreadId_; id > 0)
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(id), NiceOfPriority.at(priority));
}

}  // namespace zmt::link
