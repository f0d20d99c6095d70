#pragma once

// The process-wide registry that runs a port's notifications on the user-interface thread
// and makes the worker thread wait for them.

#include <cstdint>
#include <exception>
#include <functional>

namespace zmt::link {

inline constexpr int SafeSyncSlotCount = 64;

// Called on the user-interface thread with the index of its slot.
using SafeSyncMethod = std::function<void(int slotIndex)>;
using SafeSyncExceptionHandler = std::function<void(std::exception_ptr error)>;

// Takes the first free slot (disabled) and returns its id, or 0 when all slots are in use.
// The first registration creates the hidden object on the application's thread.
std::uint32_t SafeSyncRegister(SafeSyncMethod method);
void SafeSyncUnregister(std::uint32_t id);
// Disabling releases a worker that waits on the slot at once; calls still queued for it
// do nothing when they come up.
void SafeSyncSetEnabled(std::uint32_t id, bool enabled);
// Runs the slot's method on the user-interface thread and waits up to timeoutMs for it.
// True when the slot is still registered and enabled afterwards (a call that timed out
// may still run later). False at once for an unknown or disabled slot.
bool SafeSyncCall(std::uint32_t id, int timeoutMs);

// Raises `error` on the user-interface thread through the exception handler.
void SafeSyncRaise(std::exception_ptr error);
// What happens to an exception from a method or from SafeSyncRaise on the user-interface
// thread. The default rethrows it, so that the application's event filter shows it.
void SafeSyncSetExceptionHandler(SafeSyncExceptionHandler handler);

// For tests: calls posted to the user-interface thread that have not come up yet, and
// the id the next registration starts searching from.
int SafeSyncPendingCalls();
void SafeSyncSetNextId(std::uint32_t id);

}  // namespace zmt::link
