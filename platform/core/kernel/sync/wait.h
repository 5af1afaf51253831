// Waiting on kernel objects: one poll() over the objects' descriptors and any extra
// descriptors (a thread's message queue), so that nothing spins.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "kernel/handles.h"

namespace handheld::kernel {

// Waits until one object (waitAll false) or every object (waitAll true) is signalled, or one
// of extraFds polls readable, or the time-out (INFINITE for none) passes. Returns
// WAIT_OBJECT_0 + i for object i (wait-all: WAIT_OBJECT_0 once it has every signal),
// WAIT_OBJECT_0 + objects.size() + j for extra descriptor j (left unread), WAIT_TIMEOUT, or
// WAIT_FAILED with the last error set. Signalled objects are checked in index order; extra
// descriptors after them.
//
// Wait-all takes the signals of all objects or of none: it polls until every object is
// signalled, then takes the signals under a process-wide lock and gives back those it took if
// another waiter took one first, and waits again. Within the process this is exact. A waiter
// in another process sharing a named event is not bound by the lock, so it may briefly see an
// auto-reset event taken and then set again while a wait-all here backs off.
DWORD waitForObjects(std::span<const std::shared_ptr<KernelObject>> objects,
                     std::span<const int> extraFds, bool waitAll, DWORD milliseconds);

// The lock under which a wait for all objects takes their signals; a pulse that releases such
// a wait takes them under it too.
std::unique_lock<std::mutex> lockWaitAll();
// Under that lock: takes the signals of every object but `except`, all or none.
bool takeAllSignals(std::span<const std::shared_ptr<KernelObject>> objects, size_t except = SIZE_MAX);
// Gives back what takeAllSignals took.
void restoreAllSignals(std::span<const std::shared_ptr<KernelObject>> objects, size_t except);

// The objects the handles name, resolving GetCurrentThread(); false with ERROR_INVALID_HANDLE
// when a handle is bad or names an object that cannot be waited on.
bool resolveWaitHandles(std::span<const HANDLE> handles,
                        std::vector<std::shared_ptr<KernelObject>>& objects);

}  // namespace handheld::kernel
