// Full-screen frames: composing every pixel of the screen from a stack of windows and
// presenting it, headless and (with a desktop display) in the SDL window, in QVGA and VGA,
// reported as frames per second. And input latency: from a tap request to the window
// procedure of a program on a headless device.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <windows.h>

#include <chrono>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "automation_client.h"
#include "bench_device.h"
#include "display/compositor.h"
#include "display/sdl_backend.h"
#include "ipc/screen_modes.h"

namespace {

using namespace handheld;

// A full-screen window with two smaller ones in front of it.
struct Scene {
  explicit Scene(const ipc::ScreenMode& mode) : width(mode.width), height(mode.height) {
    for (int i = 0; i < 3; ++i) {
      const int w = width >> i, h = height >> i;
      surfaces.emplace_back(static_cast<size_t>(w * h), 0x00405060u + static_cast<uint32_t>(i) * 0x101010u);
      device::SceneLayer layer;
      layer.window = static_cast<uint32_t>(i + 1);
      layer.rect = {i * 10, i * 20, i * 10 + w, i * 20 + h};
      layer.pixels = reinterpret_cast<const uint8_t*>(surfaces.back().data());
      layer.width = w;
      layer.height = h;
      layer.stride = static_cast<size_t>(w) * 4;
      layer.surfaceId = static_cast<uint64_t>(i + 1);
      layers.insert(layers.begin(), layer);
    }
  }
  int width, height;
  std::vector<std::vector<uint32_t>> surfaces;
  std::vector<device::SceneLayer> layers;
};

void frames(benchmark::State& state, device::DisplayBackend& backend, const ipc::ScreenMode& mode) {
  Scene scene(mode);
  device::Compositor compositor(mode.width, mode.height);
  for (auto _ : state) {
    compositor.damageAll();
    backend.present(compositor.framebuffer(), compositor.compose(scene.layers));
  }
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void HeadlessFullScreenFrame(benchmark::State& state, const char* modeName) {
  device::HeadlessBackend backend;
  frames(state, backend, *ipc::findScreenMode(modeName));
}
BENCHMARK_CAPTURE(HeadlessFullScreenFrame, qvga, "qvga");
BENCHMARK_CAPTURE(HeadlessFullScreenFrame, vga, "vga");

// Each frame waits until the window has drawn it (a capture of it comes back), so the
// figure is frames shown, not frames handed over.
void DesktopFullScreenFrame(benchmark::State& state, const char* modeName) {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) {
    state.SkipWithError("no desktop display (run under xvfb-run for this figure)");
    return;
  }
  const auto mode = *ipc::findScreenMode(modeName);
  device::DesktopInputQueue queue;
  std::string error;
  auto backend = device::openSdlBackend(mode.width, mode.height, 0, queue, error);
  if (!backend) {
    state.SkipWithError(error.c_str());
    return;
  }
  Scene scene(mode);
  device::Compositor compositor(mode.width, mode.height);
  uint64_t frame = 0;
  for (auto _ : state) {
    compositor.damageAll();
    backend->present(compositor.framebuffer(), compositor.compose(scene.layers));
    backend->capture(ipc::CaptureSource::DesktopWindow, ++frame);
    for (bool shown = false; !shown;) {
      pollfd readable{queue.fd(), POLLIN, 0};
      ::poll(&readable, 1, -1);
      for (auto& event : queue.takeAll()) shown = shown || std::holds_alternative<device::DesktopCaptured>(event);
    }
  }
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK_CAPTURE(DesktopFullScreenFrame, qvga, "qvga")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(DesktopFullScreenFrame, vga, "vga")->Unit(benchmark::kMillisecond)->UseRealTime();

// The program's window procedure sets a named event on WM_LBUTTONDOWN; each sample runs from
// sending the tap to that event (the tap's own answer may come before or after it).
void TapToWindowProcedure(benchmark::State& state) {
  static bench::BenchDevice device;
  HANDLE tapped = CreateEventW(nullptr, FALSE, FALSE, u"BenchTapped");
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(device.install("display_probe.exe").c_str(), u"pattern 0 0 240 320 000000 BenchTapped",
                      nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info)) {
    state.SkipWithError("cannot start the display probe");
    return;
  }
  std::string error;
  auto client = automation::AutomationClient::connect(device.root(), error);
  if (!client || !client->call<ipc::WaitIdle>({10000})) {
    state.SkipWithError("the probe did not come up");
    return;
  }
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    client->call<ipc::StylusGesture>({ipc::GestureKind::Tap, 120, 160, 120, 160, 0});
    if (WaitForSingleObject(tapped, 5000) != WAIT_OBJECT_0) {
      state.SkipWithError("the tap did not arrive");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  TerminateProcess(info.hProcess, 0);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  CloseHandle(tapped);
}
BENCHMARK(TapToWindowProcedure)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
