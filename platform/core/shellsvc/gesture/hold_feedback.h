// The hold feedback: a ring of dots around the stylus that fills up as the hold time runs,
// drawn straight into the window under the stylus and painted over when the watch ends.
#pragma once

#include <windows.h>

namespace handheld::shellsvc {

class HoldFeedback {
 public:
  // The ring has this many dots; one more shows at each step of the hold time.
  static constexpr int kDots = 8;

  // `at` in the window's client coordinates. A disabled feedback draws nothing.
  HoldFeedback(HWND window, POINT at, bool enabled);
  ~HoldFeedback();
  HoldFeedback(const HoldFeedback&) = delete;
  HoldFeedback& operator=(const HoldFeedback&) = delete;

  // Shows dots 0 .. shown - 1.
  void show(int shown);
  // The area the ring covers, in client coordinates.
  RECT area() const;

 private:
  HWND window_;
  POINT at_;
  bool enabled_;
  int drawn_ = 0;
  int unit_;
};

}  // namespace handheld::shellsvc
