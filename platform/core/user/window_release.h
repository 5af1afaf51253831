// The last step of a window's life.
#pragma once

#include "user/window.h"

namespace handheld::user {

// Under the lock: takes a window out of the process for good - its table entry, its place
// in its parent's list, its class's count, and its queue's messages, timers and references.
void forgetWindow(Window& window);

}  // namespace handheld::user
