// Calls into a Today item library run in the shell's own process. A fault (SIGSEGV, SIGBUS,
// SIGILL, SIGFPE) raised by such a call on this thread ends the call instead of the shell: the
// handler jumps back to the guard, which reports it, and the caller never calls that library
// again. A fault inside libhandheld itself is not caught: the platform may hold its locks
// there, and a shell that went on would hang on them later, so that fault stays fatal.
#pragma once

#include <type_traits>

namespace handheld::shell {

// Runs `call`; false when it faulted (the signal number in *signal when given) or let an
// exception out (signal 0). Guards nest.
// The frames skipped by a fault are the library's own (and the platform functions that called
// back into it without holding a lock), so only the library's state is lost.
bool guardedCall(void (*call)(void* context), void* context, int* signal = nullptr);

// The same for any callable, without allocating (it runs for every message to an item).
template <class Call>
bool guardedCall(Call&& call, int* signal = nullptr) {
  using Stored = std::remove_reference_t<Call>;
  return guardedCall([](void* context) { (*static_cast<Stored*>(context))(); }, static_cast<void*>(&call), signal);
}

}  // namespace handheld::shell
