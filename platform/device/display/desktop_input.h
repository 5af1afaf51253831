// What the desktop window's thread hands the server: input (already in device terms), the
// window being closed, and captures of what it shows. A queue behind a mutex with an eventfd
// that wakes the server's loop; the server drains it on its own thread.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <variant>
#include <vector>

#include "display/input_router.h"
#include "gdi/surface.h"
#include "os/unique_fd.h"

namespace handheld::device {

struct DesktopStylus {
  StylusAction action;
  POINT point;  // screen pixels
};
// A keyboard key or a button of the device frame, by virtual-key code (left and right
// shift, control and alt keep their sides).
struct DesktopKey {
  uint8_t key;
  bool down;
};
struct DesktopClosed {};
struct DesktopCaptured {
  uint64_t requestId;
  std::shared_ptr<gdi::Surface> image;  // null when the window could not be read
};
using DesktopEvent = std::variant<DesktopStylus, DesktopKey, DesktopClosed, DesktopCaptured>;

class DesktopInputQueue {
 public:
  DesktopInputQueue();
  DesktopInputQueue(const DesktopInputQueue&) = delete;
  DesktopInputQueue& operator=(const DesktopInputQueue&) = delete;

  // Readable while events wait.
  int fd() const { return wake_.get(); }
  bool valid() const { return wake_.valid(); }
  // Any thread.
  void push(DesktopEvent event);
  // The server's thread: everything queued so far, in order.
  std::vector<DesktopEvent> takeAll();

 private:
  os::UniqueFd wake_;
  std::mutex mutex_;
  std::vector<DesktopEvent> events_;
};

}  // namespace handheld::device
