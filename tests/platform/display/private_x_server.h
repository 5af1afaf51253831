// A private X server (Xvfb) for the length of a test, so desktop-window tests neither need
// nor disturb the user's display.
#pragma once

#include <sys/types.h>

#include <string>

namespace handheld::testing {

class PrivateXServer {
 public:
  // Starts Xvfb on a free display number and points DISPLAY at it; running() says whether
  // that worked (Xvfb may not be installed).
  PrivateXServer();
  ~PrivateXServer();
  PrivateXServer(const PrivateXServer&) = delete;
  PrivateXServer& operator=(const PrivateXServer&) = delete;

  bool running() const { return pid_ > 0; }
  const std::string& display() const { return display_; }
  // Asks a top-level window to close as a window manager does (WM_DELETE_WINDOW); false
  // when there is no window with that title.
  bool closeWindowTitled(const std::string& title) const;

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// The skip message when there is no Xvfb.
inline constexpr const char* kNoXvfb =
    "Xvfb is not installed (scripts/install-deps installs it): the desktop window is not tested";

}  // namespace handheld::testing
