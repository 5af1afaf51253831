// One lock guards every window, class and message queue of the process. It is never held
// while a window procedure runs or while the process waits for the device server.
#pragma once

#include <mutex>

namespace handheld::user {

std::mutex& userLock();
using UserGuard = std::unique_lock<std::mutex>;

}  // namespace handheld::user
