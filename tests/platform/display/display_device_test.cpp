// The display of a running headless device: screen modes and the metrics programs read,
// screenshots of real windows, timed stylus input on the server's loop, hardware buttons
// seen from another process, and refusals of bad input.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <fstream>
#include <future>
#include <sstream>

#include "gdi/png_io.h"
#include "known_picture.h"
#include "support/device_fixture.h"
#include "support/message_recorder.h"
#include "winerror.h"

namespace handheld::testing {
namespace {

class DisplayDeviceTest : public DeviceFixture {
 protected:
  std::u16string probe() { return installTestProgram("display_probe.exe"); }

  std::string metricsOfAProgram() {
    const uint32_t pid = run(probe(), u"metrics \\metrics.txt");
    EXPECT_EQ(waitExit(pid), 0u);
    std::ifstream in(hostPath("metrics.txt"));
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  bool waitIdle() {
    auto reply = device().call<ipc::WaitIdle>({10000});
    return reply && reply->error == 0;
  }

  std::shared_ptr<gdi::Surface> screenshot() {
    const auto file = hostPath("shot.png");
    EXPECT_EQ(ctl("screenshot '" + file.string() + "'"), 0);
    return gdi::readPng(file);
  }
};

TEST_F(DisplayDeviceTest, ScreenModeChangesTheMetricsProgramsRead) {
  EXPECT_EQ(metricsOfAProgram(), "240 320 1 16 96");
  std::string out;
  ASSERT_EQ(ctl("screen vga", &out), 0) << out;
  EXPECT_EQ(metricsOfAProgram(), "480 640 2 32 192");
  ASSERT_EQ(ctl("screen", &out), 0);
  EXPECT_EQ(out, "vga\n");
  ASSERT_EQ(ctl("screen qvga-landscape"), 0);
  EXPECT_EQ(metricsOfAProgram(), "320 240 1 16 96");
  auto shot = screenshot();
  ASSERT_TRUE(shot);
  EXPECT_EQ(shot->width(), 320);
  EXPECT_EQ(shot->height(), 240);
}

TEST_F(DisplayDeviceTest, EveryTopLevelWindowHearsOfTheNewScreen) {
  MessageRecorder recorder;
  recorder.registerClass(u"Recorded");
  HWND first = CreateWindowExW(0, u"Recorded", u"one", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  HWND second = CreateWindowExW(0, u"Recorded", u"two", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(first && second);
  recorder.clear();
  ASSERT_EQ(ctl("screen vga"), 0);
  auto heard = [&](HWND window) {
    for (const auto& m : recorder.messages())
      if (m.window == window && m.message == WM_SETTINGCHANGE && m.wParam == 0x3002 && m.lParam == 0) return true;
    return false;
  };
  EXPECT_TRUE(recorder.pumpUntil([&] { return heard(first) && heard(second); }));
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 480);  // already in place when the message came
  DestroyWindow(first);
  DestroyWindow(second);
}

// Two programs' windows, the later in front: the screenshot shows them pixel for pixel.
TEST_F(DisplayDeviceTest, ScreenshotShowsWindowsExactlyInZOrder) {
  run(probe(), u"pattern 20 30 100 60 FFFFFF");
  ASSERT_TRUE(waitIdle());
  run(probe(), u"pattern 70 50 80 40 808080");
  ASSERT_TRUE(waitIdle());
  auto shot = screenshot();
  ASSERT_TRUE(shot);
  ASSERT_EQ(shot->width(), 240);
  ASSERT_EQ(shot->height(), 320);
  auto expected = [](int x, int y) -> uint32_t {
    auto quadrant = [&](int left, int top, int width, int height, uint32_t fourth) -> std::optional<uint32_t> {
      if (x < left || y < top || x >= left + width || y >= top + height) return std::nullopt;
      const bool right = x - left >= width / 2, bottom = y - top >= height / 2;
      return bottom ? (right ? fourth : 0x0000FFu) : (right ? 0x00FF00u : 0xFF0000u);
    };
    if (auto front = quadrant(70, 50, 80, 40, 0x808080)) return *front;
    if (auto back = quadrant(20, 30, 100, 60, 0xFFFFFF)) return *back;
    return 0;
  };
  int wrong = 0;
  for (int y = 0; y < 320; ++y)
    for (int x = 0; x < 240; ++x)
      if (shot->pixel(x, y) != expected(x, y) && wrong++ < 5)
        ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << shot->pixel(x, y) << " not " << expected(x, y);
  EXPECT_EQ(wrong, 0);
  std::string out;
  ASSERT_EQ(ctl("pixel 149 89", &out), 0);
  EXPECT_EQ(out, "#808080\n");
  ASSERT_EQ(ctl("pixel 20 30", &out), 0);
  EXPECT_EQ(out, "#FF0000\n");
}

// Shapes and text a program paints into its window reach the screen unchanged: the same
// drawing into a memory bitmap here gives the same pixels.
TEST_F(DisplayDeviceTest, ScreenshotShowsAProgramsShapesAndTextPixelExact) {
  constexpr int kLeft = 30, kTop = 100;
  run(probe(), u"picture 30 100");
  ASSERT_TRUE(waitIdle());
  auto shot = screenshot();
  ASSERT_TRUE(shot);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kKnownPictureWidth;
  info.bmiHeader.biHeight = -kKnownPictureHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_TRUE(bitmap && bits);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  drawKnownPicture(dc);
  const auto* drawn = static_cast<const uint32_t*>(bits);

  int wrong = 0, textPixels = 0;
  for (int y = 0; y < kKnownPictureHeight; ++y) {
    for (int x = 0; x < kKnownPictureWidth; ++x) {
      const uint32_t expected = drawn[y * kKnownPictureWidth + x] & 0xFFFFFFu;
      if (y >= 76 && expected != 0xFFFFFFu) ++textPixels;
      if (shot->pixel(kLeft + x, kTop + y) != expected && wrong++ < 5)
        ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << shot->pixel(kLeft + x, kTop + y)
                      << " not " << expected;
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(textPixels, 200);  // the text really drew something
  EXPECT_EQ(shot->pixel(kLeft - 1, kTop), 0u);
  EXPECT_EQ(shot->pixel(kLeft + kKnownPictureWidth, kTop + kKnownPictureHeight), 0u);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST_F(DisplayDeviceTest, HeldHardwareButtonIsSeenByAnotherProcess) {
  auto probePath = probe();
  auto keyState = [&] { return waitExit(run(probePath, u"keystate 0xC5")); };
  EXPECT_EQ(keyState(), 0u);
  ASSERT_EQ(ctl("button down 0xC5"), 0);
  EXPECT_EQ(keyState(), 3u);  // down, and toggled by the press
  EXPECT_LT(GetAsyncKeyState(VK_APP5), 0);
  ASSERT_EQ(ctl("button up 0xC5"), 0);
  EXPECT_EQ(keyState(), 2u);
  ASSERT_EQ(ctl("button press 0xC5"), 0);
  EXPECT_EQ(keyState(), 0u);
  ASSERT_EQ(ctl("key down VK_SHIFT"), 0);
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  ASSERT_EQ(ctl("key up 0x10"), 0);
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

// A hold takes its time on the server's timers; the server answers others meanwhile.
TEST_F(DisplayDeviceTest, TimedInputRunsOnTimersWithoutStoppingTheServer) {
  const auto start = std::chrono::steady_clock::now();
  auto hold = std::async(std::launch::async, [&] { return ctl("hold 10 10 800"); });
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  const auto askedAt = std::chrono::steady_clock::now();
  auto reply = device().call<ipc::ScreenPixel>({5, 5});
  ASSERT_TRUE(reply);
  EXPECT_LT(std::chrono::steady_clock::now() - askedAt, std::chrono::milliseconds(400));
  EXPECT_EQ(hold.get(), 0);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(800));
  EXPECT_EQ(ctl("drag 0 0 239 319 100"), 0);
  EXPECT_EQ(ctl("tap 239 319"), 0);
  EXPECT_EQ(ctl("text 'Hello, world!'"), 0);
}

TEST_F(DisplayDeviceTest, RefusesBadInputClearly) {
  std::string out;
  EXPECT_EQ(ctl("tap 240 10", &out), 1);
  EXPECT_NE(out.find("outside the 240x320 screen"), std::string::npos) << out;
  EXPECT_EQ(ctl("tap -1 10"), 1);
  EXPECT_EQ(ctl("pixel 0 320"), 1);
  EXPECT_EQ(ctl("drag 10 10 10 400"), 1);
  EXPECT_EQ(ctl("hold 10 10 70000"), 2);
  EXPECT_EQ(ctl("tap ten 10"), 2);
  EXPECT_EQ(ctl("screen xga", &out), 2);
  EXPECT_NE(out.find("qvga, vga, qvga-landscape, vga-landscape"), std::string::npos) << out;
  EXPECT_EQ(ctl("key press 0x100"), 2);
  EXPECT_EQ(ctl("key tap 0x41"), 2);
  EXPECT_EQ(ctl("button press 0x41", &out), 2);
  EXPECT_NE(out.find("not a hardware button"), std::string::npos) << out;
  EXPECT_EQ(ctl("screenshot --window '" + hostPath("w.png").string() + "'", &out), 1);
  EXPECT_NE(out.find("headless"), std::string::npos) << out;

  // The same through the protocol, past handheld-ctl's own checks.
  EXPECT_EQ(device().call<ipc::ScreenModeSet>({"xga"})->error, static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(device().call<ipc::KeyAction>({0, ipc::KeyMotion::Press, false})->error,
            static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(device().call<ipc::KeyAction>({255, ipc::KeyMotion::Press, false})->error,
            static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(device().call<ipc::KeyAction>({VK_APP1, static_cast<ipc::KeyMotion>(9), false})->error,
            static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(device().call<ipc::KeyAction>({'A', ipc::KeyMotion::Press, true})->error,
            static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(device().call<ipc::StylusGesture>({static_cast<ipc::GestureKind>(7), 1, 1, 1, 1, 0})->error,
            static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(device().call<ipc::TypeText>({std::u16string(ipc::kMaxTypedText + 1, u'x')})->error,
            static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(device().call<ipc::ScreenCapture>({static_cast<ipc::CaptureSource>(0)})->error,
            static_cast<uint32_t>(ERROR_INVALID_PARAMETER));

  // A bigger screen takes the point that was off the smaller one.
  ASSERT_EQ(ctl("screen vga"), 0);
  EXPECT_EQ(ctl("tap 300 400"), 0);
}

}  // namespace
}  // namespace handheld::testing
