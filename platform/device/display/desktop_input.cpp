#include "display/desktop_input.h"

#include <sys/eventfd.h>
#include <unistd.h>

namespace handheld::device {

DesktopInputQueue::DesktopInputQueue() : wake_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

void DesktopInputQueue::push(DesktopEvent event) {
  bool first;
  {
    std::lock_guard lock(mutex_);
    first = events_.empty();
    events_.push_back(std::move(event));
  }
  if (first) {
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(wake_.get(), &one, sizeof one);
  }
}

std::vector<DesktopEvent> DesktopInputQueue::takeAll() {
  uint64_t count;
  [[maybe_unused]] ssize_t n = ::read(wake_.get(), &count, sizeof count);
  std::lock_guard lock(mutex_);
  return std::exchange(events_, {});
}

}  // namespace handheld::device
