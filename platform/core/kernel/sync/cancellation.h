// Keeps host thread cancellation (TerminateThread) out of a few steps that must not stop half
// way, such as taking several signals at once.
#pragma once

#include <pthread.h>

namespace handheld::kernel {

class CancellationBlocker {
 public:
  CancellationBlocker() { pthread_setcancelstate(PTHREAD_CANCEL_DISABLE, &previous_); }
  ~CancellationBlocker() { pthread_setcancelstate(previous_, nullptr); }
  CancellationBlocker(const CancellationBlocker&) = delete;
  CancellationBlocker& operator=(const CancellationBlocker&) = delete;

 private:
  int previous_ = PTHREAD_CANCEL_ENABLE;
};

}  // namespace handheld::kernel
