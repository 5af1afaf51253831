// The device's screen and raw input: the screen mode and its metrics in the info page, the
// compositor and its framebuffer, the backend (headless or a desktop window), the key-state
// table, and the automation requests for screenshots, pixels, screen modes, stylus gestures,
// keys, hardware buttons and text.
//
// The window service meets it at three points: it answers SceneSource (the visible top-level
// windows and their surfaces), it implements InputRouter (where input goes), and it tells of
// changes: sceneChanged() when windows move, show, hide, restack or get a new surface, and
// damage() when a client reports drawing. On a screen mode change it hears
// onScreenModeChange and posts WM_SETTINGCHANGE with SETTINGCHANGE_RESET to every top-level
// window.
#pragma once

#include <windef.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "display/compositor.h"
#include "display/desktop_input.h"
#include "display/display_backend.h"
#include "display/input_router.h"
#include "display/input_script.h"
#include "display/key_state.h"
#include "display/scene.h"
#include "info_page.h"
#include "ipc/screen_modes.h"
#include "server.h"

namespace handheld::device {

struct DisplayOptions {
  bool headless = true;
  std::string screen = "qvga";
  int scale = 0;  // the desktop window's scale; 0: DeviceFrame::defaultScale
};

class DisplayService {
 public:
  DisplayService(Server& server, InfoPage& info, DisplayOptions options);
  ~DisplayService();
  DisplayService(const DisplayService&) = delete;
  DisplayService& operator=(const DisplayService&) = delete;

  // Publishes the screen metrics and opens the backend; false with a reason a person can act
  // on (an unknown mode, no desktop display).
  bool start(std::string& error);

  void connectWindows(const SceneSource* scene, InputRouter* router);
  // After a screen mode change, once the new metrics are in the info page.
  void onScreenModeChange(std::function<void()> f) { modeChanged_ = std::move(f); }
  // The desktop window was closed.
  void onClosed(std::function<void()> f) { closed_ = std::move(f); }
  void sceneChanged();
  void damage(const RECT& screenRect);

  const ipc::ScreenMode& mode() const { return mode_; }
  const char* backendName() const { return backend_ ? backend_->name() : "headless"; }

 private:
  void registerRequests();
  void publishMetrics();
  void changeMode(const ipc::ScreenMode& mode);
  void scheduleFrame();
  void composeNow();
  bool onScreen(int32_t x, int32_t y) const;

  void perform(const ScriptStep& step);
  void routeStylus(StylusAction action, POINT point);
  void keyEvent(uint8_t key, bool down);
  void routeCharacter(char16_t character);
  void takeDesktopInput();
  void finishCapture(const DesktopCaptured& captured);

  Server& server_;
  InfoPage& info_;
  DisplayOptions options_;
  ipc::ScreenMode mode_;
  KeyStateTable keys_;
  Compositor compositor_;
  DesktopInputQueue desktop_;
  std::unique_ptr<DisplayBackend> backend_;
  ScriptRunner scripts_;
  const SceneSource* scene_ = nullptr;
  InputRouter* router_ = nullptr;
  std::function<void()> modeChanged_;
  std::function<void()> closed_;
  EventLoop::TimerId frameTimer_ = 0;
  EventLoop::Clock::time_point lastFrame_{};
  std::unordered_map<uint64_t, Responder<ipc::ScreenCapture>> captures_;
  uint64_t nextCapture_ = 1;
  bool watchingDesktop_ = false;
};

}  // namespace handheld::device
