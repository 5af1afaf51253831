#include "display/sdl_backend.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <SDL.h>
#include <windows.h>

#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>

#include "display/desktop_keys.h"
#include "display/device_frame.h"
#include "display/key_state.h"

namespace handheld::device {

namespace {

struct Colour {
  uint8_t r, g, b;
};
constexpr Colour kBody{0x2b, 0x2e, 0x33};
constexpr Colour kBezel{0x10, 0x11, 0x13};
constexpr Colour kButton{0x4a, 0x4f, 0x57};
constexpr Colour kButtonHeld{0x8c, 0x93, 0x9c};
constexpr Colour kMark{0xc8, 0xcc, 0xd2};
constexpr Colour kRecord{0xa0, 0x2a, 0x2a};
constexpr Colour kRecordHeld{0xe8, 0x48, 0x48};
constexpr int kBezelWidth = 4;
// Past this many separate rectangles the next upload is the whole screen.
constexpr size_t kMaxDirtyRects = 64;

SDL_Rect sdlRect(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

class SdlBackend final : public DisplayBackend {
 public:
  SdlBackend(int scale, DesktopInputQueue& input) : requestedScale_(scale), input_(input) {}
  ~SdlBackend() override;

  bool open(int width, int height, std::string& error);

  const char* name() const override { return "sdl"; }
  bool showsFrames() const override { return true; }
  void present(const gdi::Surface& framebuffer, const std::vector<RECT>& rects) override;
  void showButtons(uint32_t mask) override;
  bool capture(ipc::CaptureSource source, uint64_t requestId) override;

 private:
  // Marks a wake as due (mutex_ held); true when the caller must push the wake event.
  bool wakeDue();
  void pushWake();

  // The SDL thread.
  void run(int width, int height);
  bool createWindow(int width, int height, std::string& error);
  bool fitScreen(int width, int height);
  void handle(const SDL_Event& event);
  void takeWork();
  void render();
  void drawButton(const FrameButton& button, bool held);
  void fill(const SDL_Rect& rect, Colour colour);
  std::shared_ptr<gdi::Surface> readBack(ipc::CaptureSource source);
  int scaleFor(int width, int height) const {
    return requestedScale_ ? requestedScale_ : DeviceFrame::defaultScale(width, height);
  }

  const int requestedScale_;
  DesktopInputQueue& input_;
  std::thread thread_;

  // Shared between the server's thread and the SDL thread.
  std::mutex mutex_;
  std::condition_variable startChanged_;
  enum class Start { Pending, Ready, Failed } start_ = Start::Pending;
  std::string startError_;
  std::vector<uint32_t> frame_;
  int frameWidth_ = 0;
  int frameHeight_ = 0;
  bool fullUpload_ = false;
  std::vector<RECT> dirty_;
  uint32_t buttons_ = 0;
  std::vector<std::pair<ipc::CaptureSource, uint64_t>> captureRequests_;
  bool quit_ = false;
  bool wakePending_ = false;
  uint32_t wakeEvent_ = 0;

  // The SDL thread's own.
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  std::optional<DeviceFrame> layout_;
  uint32_t shownButtons_ = 0;
  bool stylusDown_ = false;
  uint8_t clickedButton_ = 0;
  bool quitting_ = false;
};

SdlBackend::~SdlBackend() {
  if (!thread_.joinable()) return;
  bool wake;
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
    wake = wakeDue();
  }
  if (wake) pushWake();
  thread_.join();
}

bool SdlBackend::open(int width, int height, std::string& error) {
  frameWidth_ = width;
  frameHeight_ = height;
  frame_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  thread_ = std::thread([this, width, height] { run(width, height); });
  std::unique_lock lock(mutex_);
  startChanged_.wait(lock, [this] { return start_ != Start::Pending; });
  if (start_ == Start::Ready) return true;
  error = startError_;
  lock.unlock();
  thread_.join();
  return false;
}

bool SdlBackend::wakeDue() {
  if (wakePending_) return false;
  wakePending_ = true;
  return true;
}

void SdlBackend::pushWake() {
  SDL_Event event{};
  event.type = wakeEvent_;
  SDL_PushEvent(&event);
}

void SdlBackend::present(const gdi::Surface& framebuffer, const std::vector<RECT>& rects) {
  bool wake;
  {
    std::lock_guard lock(mutex_);
    const size_t width = static_cast<size_t>(framebuffer.width());
    if (framebuffer.width() != frameWidth_ || framebuffer.height() != frameHeight_) {
      frameWidth_ = framebuffer.width();
      frameHeight_ = framebuffer.height();
      frame_.assign(width * static_cast<size_t>(frameHeight_), 0);
      fullUpload_ = true;
    }
    for (const RECT& r : rects) {
      for (int y = r.top; y < r.bottom; ++y)
        std::memcpy(&frame_[width * static_cast<size_t>(y) + static_cast<size_t>(r.left)],
                    framebuffer.xrgbRow(y) + r.left, static_cast<size_t>(r.right - r.left) * 4);
      if (!fullUpload_) dirty_.push_back(r);
    }
    if (dirty_.size() > kMaxDirtyRects) fullUpload_ = true;
    if (fullUpload_) dirty_.clear();
    wake = wakeDue();
  }
  if (wake) pushWake();
}

void SdlBackend::showButtons(uint32_t mask) {
  bool wake;
  {
    std::lock_guard lock(mutex_);
    buttons_ = mask;
    wake = wakeDue();
  }
  if (wake) pushWake();
}

bool SdlBackend::capture(ipc::CaptureSource source, uint64_t requestId) {
  bool wake;
  {
    std::lock_guard lock(mutex_);
    captureRequests_.emplace_back(source, requestId);
    wake = wakeDue();
  }
  if (wake) pushWake();
  return true;
}

void SdlBackend::run(int width, int height) {
  std::string error;
  const bool ready = createWindow(width, height, error);
  {
    std::lock_guard lock(mutex_);
    start_ = ready ? Start::Ready : Start::Failed;
    startError_ = error;
  }
  startChanged_.notify_all();
  if (ready) {
    SDL_Event event;
    // Sleeps until the desktop or the server has something; nothing here polls.
    while (!quitting_ && SDL_WaitEvent(&event)) handle(event);
  }
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  SDL_Quit();
}

bool SdlBackend::createWindow(int width, int height, std::string& error) {
#if defined(__SANITIZE_ADDRESS__)
  // SDL opens the desktop's D-Bus connection here and keeps it for the life of the process;
  // sanitizer builds must not take it for a leak.
  __lsan::ScopedDisabler desktopConnectionLivesForever;
#endif
  // The server takes SIGINT and SIGTERM through its own signalfd.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    error = std::string("cannot open a desktop window: ") + SDL_GetError();
    return false;
  }
  wakeEvent_ = SDL_RegisterEvents(1);
  layout_.emplace(width, height, scaleFor(width, height));
  window_ = SDL_CreateWindow("Handheld", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                             layout_->windowWidth(), layout_->windowHeight(), SDL_WINDOW_SHOWN);
  if (window_) renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (window_ && !renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (!window_ || !renderer_ || wakeEvent_ == static_cast<uint32_t>(-1) || !fitScreen(width, height)) {
    error = std::string("cannot open a desktop window: ") + SDL_GetError();
    return false;
  }
  // Keys arrive as keys; characters come from the device's own layout.
  SDL_StopTextInput();
  render();
  SDL_RenderPresent(renderer_);
  return true;
}

// A texture and a frame for a screen of this size.
bool SdlBackend::fitScreen(int width, int height) {
  if (texture_) SDL_DestroyTexture(texture_);
  texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
  layout_.emplace(width, height, scaleFor(width, height));
  SDL_SetWindowSize(window_, layout_->windowWidth(), layout_->windowHeight());
  return texture_ != nullptr;
}

void SdlBackend::handle(const SDL_Event& event) {
  if (event.type == wakeEvent_) return takeWork();
  switch (event.type) {
    case SDL_QUIT:
      input_.push(DesktopClosed{});
      break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
        input_.push(DesktopClosed{});
      } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                 event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        render();
        SDL_RenderPresent(renderer_);
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.button != SDL_BUTTON_LEFT) break;
      if (auto point = layout_->screenPointAt(event.button.x, event.button.y)) {
        stylusDown_ = true;
        SDL_CaptureMouse(SDL_TRUE);  // the lift is ours even off the window
        input_.push(DesktopStylus{StylusAction::Down, *point});
      } else if (uint8_t key = layout_->buttonAt(event.button.x, event.button.y)) {
        clickedButton_ = key;
        input_.push(DesktopKey{key, true});
      }
      break;
    case SDL_MOUSEMOTION:
      if (stylusDown_)
        input_.push(DesktopStylus{StylusAction::Move, layout_->nearestScreenPoint(event.motion.x, event.motion.y)});
      break;
    case SDL_MOUSEBUTTONUP:
      if (event.button.button != SDL_BUTTON_LEFT) break;
      if (stylusDown_) {
        stylusDown_ = false;
        SDL_CaptureMouse(SDL_FALSE);
        input_.push(DesktopStylus{StylusAction::Up, layout_->nearestScreenPoint(event.button.x, event.button.y)});
      }
      if (clickedButton_) {
        input_.push(DesktopKey{clickedButton_, false});
        clickedButton_ = 0;
      }
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const uint8_t key = virtualKeyForScancode(event.key.keysym.scancode);
      // A held hardware button is one press, not a stream of them.
      if (!key || (event.key.repeat && isHardwareButton(key))) break;
      input_.push(DesktopKey{key, event.type == SDL_KEYDOWN});
      break;
    }
    default:
      break;
  }
}

void SdlBackend::takeWork() {
  std::vector<std::pair<ipc::CaptureSource, uint64_t>> captures;
  {
    std::lock_guard lock(mutex_);
    wakePending_ = false;
    if (quit_) {
      quitting_ = true;
      return;
    }
    int textureWidth = 0, textureHeight = 0;
    SDL_QueryTexture(texture_, nullptr, nullptr, &textureWidth, &textureHeight);
    if (textureWidth != frameWidth_ || textureHeight != frameHeight_) {
      fitScreen(frameWidth_, frameHeight_);
      fullUpload_ = true;
    }
    const int pitch = frameWidth_ * 4;
    if (fullUpload_) {
      SDL_UpdateTexture(texture_, nullptr, frame_.data(), pitch);
    } else {
      for (const RECT& r : dirty_) {
        SDL_Rect area = sdlRect(r);
        SDL_UpdateTexture(texture_, &area,
                          &frame_[static_cast<size_t>(r.top) * static_cast<size_t>(frameWidth_) +
                                  static_cast<size_t>(r.left)],
                          pitch);
      }
    }
    fullUpload_ = false;
    dirty_.clear();
    shownButtons_ = buttons_;
    captures.swap(captureRequests_);
  }
  render();
  for (const auto& [source, id] : captures) input_.push(DesktopCaptured{id, readBack(source)});
  SDL_RenderPresent(renderer_);
}

void SdlBackend::fill(const SDL_Rect& rect, Colour colour) {
  SDL_SetRenderDrawColor(renderer_, colour.r, colour.g, colour.b, 255);
  SDL_RenderFillRect(renderer_, &rect);
}

void SdlBackend::render() {
  SDL_SetRenderDrawColor(renderer_, kBody.r, kBody.g, kBody.b, 255);
  SDL_RenderClear(renderer_);
  SDL_Rect screen = sdlRect(layout_->screen());
  fill({screen.x - kBezelWidth, screen.y - kBezelWidth, screen.w + 2 * kBezelWidth, screen.h + 2 * kBezelWidth},
       kBezel);
  SDL_RenderCopy(renderer_, texture_, nullptr, &screen);
  for (const FrameButton& button : layout_->buttons())
    drawButton(button, (shownButtons_ >> (button.key - kFirstHardwareButton)) & 1);
}

// Application buttons carry one to four dots; the record button is a red disc.
void SdlBackend::drawButton(const FrameButton& button, bool held) {
  const SDL_Rect area = sdlRect(button.rect);
  const int centreX = area.x + area.w / 2, centreY = area.y + area.h / 2;
  if (button.key == VK_APP5) {
    fill(area, kButton);
    const Colour disc = held ? kRecordHeld : kRecord;
    SDL_SetRenderDrawColor(renderer_, disc.r, disc.g, disc.b, 255);
    const int radius = area.h / 2 - 5;
    for (int dy = -radius; dy <= radius; ++dy) {
      const int half = static_cast<int>(std::sqrt(static_cast<double>(radius * radius - dy * dy)));
      SDL_RenderDrawLine(renderer_, centreX - half, centreY + dy, centreX + half, centreY + dy);
    }
    return;
  }
  fill(area, held ? kButtonHeld : kButton);
  const int dots = button.key - VK_APP1 + 1;
  const int dot = 4, gap = 4;
  int x = centreX - (dots * dot + (dots - 1) * gap) / 2;
  for (int i = 0; i < dots; ++i, x += dot + gap) fill({x, centreY - dot / 2, dot, dot}, kMark);
}

// What the window shows, read back from the frame just drawn: the whole window, or the
// screen area brought back to device pixels (each is scale x scale identical ones).
std::shared_ptr<gdi::Surface> SdlBackend::readBack(ipc::CaptureSource source) {
  SDL_Rect area{0, 0, layout_->windowWidth(), layout_->windowHeight()};
  if (source == ipc::CaptureSource::DesktopScreen) area = sdlRect(layout_->screen());
  auto read = gdi::Surface::create(area.w, area.h, gdi::PixelFormat::xrgb32());
  if (!read || SDL_RenderReadPixels(renderer_, &area, SDL_PIXELFORMAT_RGB888, read->bits(),
                                    static_cast<int>(read->stride())) != 0)
    return nullptr;
  for (int y = 0; y < read->height(); ++y)
    for (int x = 0; x < read->width(); ++x) read->xrgbRow(y)[x] &= 0xFFFFFF;
  if (source != ipc::CaptureSource::DesktopScreen) return read;
  const int scale = layout_->scale();
  auto screen = gdi::Surface::create(area.w / scale, area.h / scale, gdi::PixelFormat::xrgb32());
  if (!screen) return nullptr;
  for (int y = 0; y < screen->height(); ++y)
    for (int x = 0; x < screen->width(); ++x) screen->xrgbRow(y)[x] = read->xrgbRow(y * scale)[x * scale];
  return screen;
}

}  // namespace

std::unique_ptr<DisplayBackend> openSdlBackend(int screenWidth, int screenHeight, int scale,
                                               DesktopInputQueue& input, std::string& error) {
  auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
  };
  // SDL_VIDEODRIVER names a driver on purpose (offscreen, kmsdrm); otherwise a desktop is needed.
  if (!set("SDL_VIDEODRIVER") && !set("DISPLAY") && !set("WAYLAND_DISPLAY")) {
    error = "no desktop display (neither DISPLAY nor WAYLAND_DISPLAY is set)";
    return nullptr;
  }
  auto backend = std::make_unique<SdlBackend>(scale, input);
  if (!backend->open(screenWidth, screenHeight, error)) return nullptr;
  return backend;
}

}  // namespace handheld::device
