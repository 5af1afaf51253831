#include "user/messages.h"

#include "kernel/sync/wait.h"

namespace handheld::user {

DWORD millisecondsUntil(std::optional<Clock::time_point> deadline) {
  if (!deadline) return INFINITE;
  auto left = *deadline - Clock::now();
  if (left <= Clock::duration::zero()) return 0;
  auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
  return ms >= INFINITE ? INFINITE - 1 : static_cast<DWORD>(ms);
}

void waitOnQueue(const ThreadQueue& queue, std::optional<Clock::time_point> deadline) {
  DWORD ms = millisecondsUntil(deadline);
  if (ms == 0) return;
  const int fd = queue.wakeFd();
  kernel::waitForObjects({}, std::span<const int>(&fd, 1), false, ms);
}

}  // namespace handheld::user
