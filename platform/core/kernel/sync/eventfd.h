// A new non-blocking eventfd for the signalled state of a kernel object.
#pragma once

#include "os/unique_fd.h"

namespace handheld::kernel {

// Counter starts at initialCount; invalid with the last error set when the host has no
// descriptor left.
os::UniqueFd newEventFd(unsigned initialCount);
// Adds one to the counter, making it poll readable.
void raiseEventFd(int fd);
// Takes the whole counter, leaving it unreadable; nothing when it is zero already.
void drainEventFd(int fd);

}  // namespace handheld::kernel
