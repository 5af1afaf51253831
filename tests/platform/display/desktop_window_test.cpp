// The SDL desktop window, on a private X server: it shows exactly the framebuffer (partial
// updates and screen changes included), a device with it matches a headless device pixel for
// pixel, idles without using the processor, stops when its window is closed, and without a
// display the device says how to run headless.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/file.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <future>
#include <thread>

#include "device_control.h"
#include "display/compositor.h"
#include "display/device_frame.h"
#include "display/sdl_backend.h"
#include "os/device_root.h"
#include "private_x_server.h"
#include "strings/utf.h"
#include "support/device_fixture.h"

namespace handheld {
namespace {

using device::Compositor;
using device::DesktopCaptured;
using device::DesktopInputQueue;
using device::SceneLayer;
using testing::buildDir;
using testing::installTestProgram;
using testing::PrivateXServer;
using testing::TemporaryRoot;

bool samePixels(const gdi::Surface& a, const gdi::Surface& b) {
  if (a.width() != b.width() || a.height() != b.height()) return false;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) {
        ADD_FAILURE() << "first difference at " << x << "," << y << ": " << std::hex << a.pixel(x, y) << " vs "
                      << b.pixel(x, y);
        return false;
      }
  return true;
}

// What the window shows, asked of the backend and awaited on its queue.
std::shared_ptr<gdi::Surface> capture(device::DisplayBackend& backend, DesktopInputQueue& queue,
                                      ipc::CaptureSource source) {
  static uint64_t nextId = 1;
  const uint64_t id = nextId++;
  EXPECT_TRUE(backend.capture(source, id));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd readable{queue.fd(), POLLIN, 0};
    if (::poll(&readable, 1, 10000) <= 0) break;
    for (auto& event : queue.takeAll())
      if (auto* captured = std::get_if<DesktopCaptured>(&event); captured && captured->requestId == id)
        return captured->image;
  }
  ADD_FAILURE() << "the desktop window did not answer";
  return nullptr;
}

// A screen-sized surface with something different in every pixel.
struct PatternScene {
  explicit PatternScene(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w * h)) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        pixels[static_cast<size_t>(y * w + x)] = static_cast<uint32_t>((x * 5) << 16 | (y * 3 & 0xFF) << 8 | ((x ^ y) & 0xFF));
  }
  std::vector<SceneLayer> layers() const {
    SceneLayer layer;
    layer.window = 1;
    layer.rect = {0, 0, width, height};
    layer.pixels = reinterpret_cast<const uint8_t*>(pixels.data());
    layer.width = width;
    layer.height = height;
    layer.stride = static_cast<size_t>(width) * 4;
    layer.surfaceId = static_cast<uint64_t>(width);
    return {layer};
  }
  int width, height;
  std::vector<uint32_t> pixels;
};

TEST(DesktopWindow, ShowsExactlyTheFramebuffer) {
  PrivateXServer x;
  if (!x.running()) GTEST_SKIP() << testing::kNoXvfb;
  DesktopInputQueue queue;
  std::string error;
  auto backend = device::openSdlBackend(240, 320, 0, queue, error);
  ASSERT_TRUE(backend) << error;

  Compositor screen(240, 320);
  PatternScene qvga(240, 320);
  backend->present(screen.framebuffer(), screen.compose(qvga.layers()));
  auto shown = capture(*backend, queue, ipc::CaptureSource::DesktopScreen);
  ASSERT_TRUE(shown);
  EXPECT_TRUE(samePixels(*shown, screen.framebuffer()));

  // A partial update reaches the window too.
  qvga.pixels[5 * 240 + 7] = 0x00FFFFFF;
  screen.damage({7, 5, 8, 6});
  backend->present(screen.framebuffer(), screen.compose(qvga.layers()));
  shown = capture(*backend, queue, ipc::CaptureSource::DesktopScreen);
  ASSERT_TRUE(shown);
  EXPECT_TRUE(samePixels(*shown, screen.framebuffer()));

  auto window = capture(*backend, queue, ipc::CaptureSource::DesktopWindow);
  ASSERT_TRUE(window);
  const device::DeviceFrame frame(240, 320, 2);
  EXPECT_EQ(window->width(), frame.windowWidth());
  EXPECT_EQ(window->height(), frame.windowHeight());
  EXPECT_EQ(window->pixel(2, 2), 0x2B2E33u);  // the device's body
  EXPECT_EQ(window->pixel(frame.screen().left + 2 * 7, frame.screen().top + 2 * 5), 0xFFFFFFu);

  // A new screen mode: the window follows with the new size at its own scale.
  PatternScene vga(480, 640);
  screen.resize(480, 640);
  backend->present(screen.framebuffer(), screen.compose(vga.layers()));
  shown = capture(*backend, queue, ipc::CaptureSource::DesktopScreen);
  ASSERT_TRUE(shown);
  EXPECT_TRUE(samePixels(*shown, screen.framebuffer()));
}

// CPU time the process has used, in clock ticks.
long cpuTicks(uint32_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const size_t afterName = text.rfind(')');
  if (afterName == std::string::npos) return -1;
  std::istringstream fields(text.substr(afterName + 2));
  std::string field;
  long utime = 0, stime = 0;
  for (int i = 3; fields >> field; ++i) {
    if (i == 14) utime = std::stol(field);
    if (i == 15) {
      stime = std::stol(field);
      break;
    }
  }
  return utime + stime;
}

class DeviceOnRoot {
 public:
  explicit DeviceOnRoot(bool headless) {
    automation::StartOptions options;
    options.root = root_.path();
    options.deviceBinary = buildDir() / "bin" / "handheld-device";
    options.headless = headless;
    std::string error;
    started_ = automation::startDevice(options, error);
    EXPECT_TRUE(started_) << error;
    if (started_) client_ = automation::AutomationClient::connect(root_.path(), error);
  }
  ~DeviceOnRoot() {
    std::string error;
    client_.reset();
    if (started_) automation::stopDevice(root_.path(), error);
  }
  automation::AutomationClient& client() { return *client_; }
  bool ready() const { return client_.has_value(); }
  const std::filesystem::path& root() const { return root_.path(); }
  // Runs the display probe with a pattern and waits until everything is painted.
  void showPattern() {
    auto probe = installTestProgram(root_.path(), "display_probe.exe");
    auto started = client_->call<ipc::StartProcess>({probe, u"pattern 30 40 120 90 00FFFF"});
    ASSERT_TRUE(started && started->error == 0);
    auto idle = client_->call<ipc::WaitIdle>({10000});
    ASSERT_TRUE(idle && idle->error == 0);
  }
  std::shared_ptr<gdi::Surface> capture(ipc::CaptureSource source) {
    auto reply = client_->call<ipc::ScreenCapture>({source});
    if (!reply || reply->error) return nullptr;
    auto copy = gdi::Surface::create(reply->width, reply->height, gdi::PixelFormat::xrgb32());
    std::memcpy(copy->bits(), reply->pixels.data(), reply->pixels.size());
    return copy;
  }

 private:
  TemporaryRoot root_;
  bool started_ = false;
  std::optional<automation::AutomationClient> client_;
};

TEST(DesktopWindow, DeviceShowsWhatAHeadlessDeviceComposesAndStopsWhenClosed) {
  PrivateXServer x;
  if (!x.running()) GTEST_SKIP() << testing::kNoXvfb;
  DeviceOnRoot headless(true), desktop(false);
  ASSERT_TRUE(headless.ready() && desktop.ready());
  auto status = desktop.client().call<ipc::DeviceStatus>({});
  ASSERT_TRUE(status);
  EXPECT_EQ(status->display, "sdl");
  headless.showPattern();
  desktop.showPattern();

  auto composed = headless.capture(ipc::CaptureSource::Framebuffer);
  auto shown = desktop.capture(ipc::CaptureSource::DesktopScreen);
  ASSERT_TRUE(composed && shown);
  EXPECT_TRUE(samePixels(*composed, *shown));
  EXPECT_EQ(shown->pixel(30, 40), 0xFF0000u);
  EXPECT_EQ(shown->pixel(149, 129), 0x00FFFFu);
  auto window = desktop.capture(ipc::CaptureSource::DesktopWindow);
  ASSERT_TRUE(window);
  EXPECT_GT(window->width(), 240 * 2);

  // Idle, the device sleeps: a second and a half costs it (almost) no processor time.
  const long before = cpuTicks(status->serverPid);
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_LE(cpuTicks(status->serverPid) - before, 3);

  ASSERT_TRUE(x.closeWindowTitled("Handheld"));
  // The server holds its lock while it runs.
  auto stopped = std::async(std::launch::async, [&] {
    os::UniqueFd lock(::open(os::deviceStateFile(desktop.root(), "lock").c_str(), O_RDWR | O_CLOEXEC));
    return lock && flock(lock.get(), LOCK_EX) == 0;
  });
  ASSERT_EQ(stopped.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_TRUE(stopped.get());
}

TEST(DesktopWindow, WithoutADisplayTheDeviceSaysHowToRunHeadless) {
  TemporaryRoot root;
  const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER '" +
                              (buildDir() / "bin" / "handheld-device").string() + "' --root '" +
                              root.path().string() + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_TRUE(pipe);
  std::string output;
  char buffer[256];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  const int status = pclose(pipe);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << output;
  EXPECT_NE(output.find("no desktop display"), std::string::npos) << output;
  EXPECT_NE(output.find("handheld-ctl start --headless"), std::string::npos) << output;
  EXPECT_NE(output.find("handheld-device --headless"), std::string::npos) << output;
}

}  // namespace
}  // namespace handheld
