#include "display/display_service.h"

#include <sys/epoll.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstring>

#include "display/device_frame.h"
#include "display/sdl_backend.h"
#include "input/us_keyboard.h"
#include "winerror.h"

namespace handheld::device {

namespace {

// The desktop window is refreshed at most this often; damage in between is gathered.
constexpr auto kFrameInterval = std::chrono::milliseconds(16);

// GetTickCount's clock, so that message times compare with what programs read.
uint32_t tickCount() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

ipc::Bytes pixelBytes(const gdi::Surface& surface) {
  static_assert(std::endian::native == std::endian::little, "pixels travel little-endian");
  ipc::Bytes bytes(static_cast<size_t>(surface.width()) * 4 * static_cast<size_t>(surface.height()));
  const size_t row = static_cast<size_t>(surface.width()) * 4;
  for (int y = 0; y < surface.height(); ++y)
    std::memcpy(bytes.data() + row * static_cast<size_t>(y), surface.row(y), row);
  return bytes;
}

}  // namespace

DisplayService::DisplayService(Server& server, InfoPage& info, DisplayOptions options)
    : server_(server),
      info_(info),
      options_(std::move(options)),
      mode_(ipc::kScreenModes.front()),
      keys_(info.page()),
      compositor_(mode_.width, mode_.height),
      scripts_(server.loop(), [this](const ScriptStep& step) { perform(step); }) {
  registerRequests();
}

DisplayService::~DisplayService() {
  if (frameTimer_) server_.loop().cancelTimer(frameTimer_);
  if (watchingDesktop_) server_.loop().unwatch(desktop_.fd());
  backend_.reset();  // ends the desktop window's thread before the queue it feeds goes
}

bool DisplayService::start(std::string& error) {
  auto mode = ipc::findScreenMode(options_.screen);
  if (!mode) {
    error = "unknown screen mode '" + options_.screen + "' (" + ipc::screenModeNames() + ")";
    return false;
  }
  mode_ = *mode;
  publishMetrics();
  compositor_.resize(mode_.width, mode_.height);
  if (options_.headless) {
    backend_ = std::make_unique<HeadlessBackend>();
    return true;
  }
  if (!desktop_.valid()) {
    error = "cannot create the desktop input queue";
    return false;
  }
  backend_ = openSdlBackend(mode_.width, mode_.height, options_.scale, desktop_, error);
  if (!backend_) {
    error += ". To run the device without a window: `handheld-ctl start --headless` or "
             "`handheld-device --headless`";
    return false;
  }
  watchingDesktop_ = server_.loop().watch(desktop_.fd(), EPOLLIN, [this](uint32_t) { takeDesktopInput(); });
  composeNow();
  return true;
}

void DisplayService::connectWindows(const SceneSource* scene, InputRouter* router) {
  scene_ = scene;
  router_ = router;
  sceneChanged();
}

void DisplayService::sceneChanged() { scheduleFrame(); }

void DisplayService::damage(const RECT& screenRect) {
  compositor_.damage(screenRect);
  scheduleFrame();
}

void DisplayService::publishMetrics() {
  ipc::writeSettings(info_.page(), [&](ipc::DeviceSettingsBlock& s) {
    s.screenWidth = mode_.width;
    s.screenHeight = mode_.height;
    s.dpi = mode_.dpi;
    s.border = mode_.border;
    s.smallIcon = mode_.smallIcon;
  });
}

void DisplayService::changeMode(const ipc::ScreenMode& mode) {
  mode_ = mode;
  publishMetrics();
  compositor_.resize(mode_.width, mode_.height);
  if (backend_ && backend_->showsFrames()) composeNow();
  server_.log().write("screen mode " + std::string(mode_.name));
  if (modeChanged_) modeChanged_();
}

// A watched screen gets frames as damage comes, at most one per frame interval; a headless
// one is composed when someone asks for it.
void DisplayService::scheduleFrame() {
  if (!backend_ || !backend_->showsFrames() || frameTimer_) return;
  auto due = std::max(EventLoop::Clock::now(), lastFrame_ + kFrameInterval);
  frameTimer_ = server_.loop().addTimer(due, [this] {
    frameTimer_ = 0;
    composeNow();
  });
}

void DisplayService::composeNow() {
  auto rects = compositor_.compose(scene_ ? scene_->visibleLayers() : std::vector<SceneLayer>{});
  lastFrame_ = EventLoop::Clock::now();
  if (!rects.empty() && backend_) backend_->present(compositor_.framebuffer(), rects);
}

bool DisplayService::onScreen(int32_t x, int32_t y) const {
  return x >= 0 && y >= 0 && x < mode_.width && y < mode_.height;
}

void DisplayService::registerRequests() {
  server_.onRequest<ipc::ScreenModeSet>([this](Connection&, ipc::ScreenModeSet::Request& r) {
    auto mode = ipc::findScreenMode(r.mode);
    if (!mode) return ipc::ScreenModeSet::Reply{ERROR_INVALID_PARAMETER};
    if (mode->name != mode_.name) changeMode(*mode);
    return ipc::ScreenModeSet::Reply{0};
  });

  server_.onAsyncRequest<ipc::ScreenCapture>(
      [this](Connection&, ipc::ScreenCapture::Request& r, Responder<ipc::ScreenCapture> responder) {
        composeNow();
        if (r.source == ipc::CaptureSource::Framebuffer) {
          const auto& screen = compositor_.framebuffer();
          return responder.send({0, screen.width(), screen.height(), pixelBytes(screen)});
        }
        const bool desktopSource =
            r.source == ipc::CaptureSource::DesktopScreen || r.source == ipc::CaptureSource::DesktopWindow;
        const uint64_t id = nextCapture_++;
        if (!desktopSource || !backend_->capture(r.source, id))
          return responder.send({static_cast<uint32_t>(desktopSource ? ERROR_NOT_SUPPORTED : ERROR_INVALID_PARAMETER), 0, 0, {}});
        captures_.emplace(id, std::move(responder));
      });

  server_.onRequest<ipc::ScreenPixel>([this](Connection&, ipc::ScreenPixel::Request& r) {
    ipc::ScreenPixel::Reply reply{0, 0, mode_.width, mode_.height};
    if (!onScreen(r.x, r.y)) {
      reply.error = ERROR_INVALID_PARAMETER;
      return reply;
    }
    composeNow();
    reply.color = compositor_.framebuffer().pixel(r.x, r.y);
    return reply;
  });

  // Input a client asked for is its own: when it goes, so does the rest of its input.
  server_.onDisconnect([this](Connection& c) { scripts_.cancel(c.id()); });

  server_.onAsyncRequest<ipc::StylusGesture>(
      [this](Connection& c, ipc::StylusGesture::Request& r, Responder<ipc::StylusGesture> responder) {
        const POINT from{r.x1, r.y1}, to{r.x2, r.y2};
        InputScript script;
        bool valid = onScreen(r.x1, r.y1) && r.durationMs <= ipc::kMaxGestureMs;
        switch (r.kind) {
          case ipc::GestureKind::Tap: script = tapScript(from); break;
          case ipc::GestureKind::Hold: script = holdScript(from, r.durationMs); break;
          case ipc::GestureKind::Drag:
            valid = valid && onScreen(r.x2, r.y2);
            script = dragScript(from, to, r.durationMs);
            break;
          default: valid = false; break;
        }
        if (!valid) return responder.send({ERROR_INVALID_PARAMETER, mode_.width, mode_.height});
        scripts_.run(c.id(), std::move(script),
                     [this, responder] { responder.send({0, mode_.width, mode_.height}); });
      });

  server_.onAsyncRequest<ipc::KeyAction>(
      [this](Connection& c, ipc::KeyAction::Request& r, Responder<ipc::KeyAction> responder) {
        const bool validMotion = r.motion == ipc::KeyMotion::Down || r.motion == ipc::KeyMotion::Up ||
                                 r.motion == ipc::KeyMotion::Press;
        if (r.key == 0 || r.key > 254 || !validMotion || (r.hardwareButton && !isHardwareButton(r.key)))
          return responder.send({ERROR_INVALID_PARAMETER});
        scripts_.run(c.id(), keyScript(static_cast<uint8_t>(r.key), r.motion), [responder] { responder.send({0}); });
      });

  server_.onAsyncRequest<ipc::TypeText>(
      [this](Connection& c, ipc::TypeText::Request& r, Responder<ipc::TypeText> responder) {
        if (r.text.size() > ipc::kMaxTypedText) return responder.send({ERROR_INVALID_PARAMETER});
        scripts_.run(c.id(), textScript(r.text), [responder] { responder.send({0}); });
      });
}

void DisplayService::perform(const ScriptStep& step) {
  if (auto* stylus = std::get_if<StylusStep>(&step.action)) routeStylus(stylus->action, stylus->point);
  else if (auto* key = std::get_if<KeyStep>(&step.action)) keyEvent(key->key, key->down);
  else if (auto* character = std::get_if<CharacterStep>(&step.action)) routeCharacter(character->character);
}

void DisplayService::routeStylus(StylusAction action, POINT point) {
  // A gesture queued before a change to a smaller screen stays on the screen.
  point.x = std::clamp<LONG>(point.x, 0, mode_.width - 1);
  point.y = std::clamp<LONG>(point.y, 0, mode_.height - 1);
  if (router_) router_->stylus({action, point, tickCount()});
}

// The key state is in place before anyone hears of the key, so a program handling it (or
// any other) sees it held.
void DisplayService::keyEvent(uint8_t key, bool down) {
  bool repeat = false;
  if (down) repeat = keys_.press(key);
  else keys_.release(key);
  const uint8_t routed = commonKey(key);
  char16_t character = 0;
  if (down)
    character = input::characterForKey(
        routed, {keys_.down(VK_SHIFT), keys_.toggled(VK_CAPITAL), keys_.down(VK_CONTROL)});
  if (isHardwareButton(routed) && backend_) {
    uint32_t held = 0;
    for (uint32_t button = kFirstHardwareButton; button <= kLastHardwareButton; ++button)
      if (keys_.down(static_cast<uint8_t>(button))) held |= 1u << (button - kFirstHardwareButton);
    backend_->showButtons(held);
  }
  if (router_) router_->key({routed, down, repeat, character, tickCount()});
}

void DisplayService::routeCharacter(char16_t character) {
  if (router_) router_->key({0, true, false, character, tickCount()});
}

void DisplayService::takeDesktopInput() {
  for (auto& event : desktop_.takeAll()) {
    if (auto* stylus = std::get_if<DesktopStylus>(&event)) routeStylus(stylus->action, stylus->point);
    else if (auto* key = std::get_if<DesktopKey>(&event)) keyEvent(key->key, key->down);
    else if (std::holds_alternative<DesktopClosed>(event)) {
      if (closed_) closed_();
    } else if (auto* captured = std::get_if<DesktopCaptured>(&event)) {
      finishCapture(*captured);
    }
  }
}

void DisplayService::finishCapture(const DesktopCaptured& captured) {
  auto it = captures_.find(captured.requestId);
  if (it == captures_.end()) return;
  auto responder = std::move(it->second);
  captures_.erase(it);
  if (!captured.image) return responder.send({ERROR_GEN_FAILURE, 0, 0, {}});
  responder.send({0, captured.image->width(), captured.image->height(), pixelBytes(*captured.image)});
}

}  // namespace handheld::device
