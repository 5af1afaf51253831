// Painting the Today screen: the date band and five item bands (the test item library
// registered five times), all invalidated and painted again per iteration, in QVGA and VGA.
// Each item's paint asks the screen for its watermark, through the fault guard in front of
// the item's procedure. "median_ms" is the median repaint, which must stay under one frame.
#include <benchmark/benchmark.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "automation_client.h"
#include "bench_device.h"
#include "today_screen.h"

namespace {

using namespace handheld;

constexpr int kItems = 5;

void registerItems(const std::u16string& dll) {
  for (int i = 0; i < kItems; ++i) {
    const std::u16string path = u"SOFTWARE\\Microsoft\\Today\\Items\\Bench" + std::u16string(1, static_cast<char16_t>(u'1' + i));
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, &disposition) !=
        ERROR_SUCCESS)
      continue;
    const DWORD type = 4, order = static_cast<DWORD>(i + 1), enabled = 1;
    RegSetValueExW(key, u"Type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&type), sizeof(type));
    RegSetValueExW(key, u"Order", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&order), sizeof(order));
    RegSetValueExW(key, u"Enabled", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enabled), sizeof(enabled));
    RegSetValueExW(key, u"DLL", 0, REG_SZ, reinterpret_cast<const BYTE*>(dll.c_str()),
                   static_cast<DWORD>((dll.size() + 1) * sizeof(char16_t)));
    RegCloseKey(key);
  }
}

void dispatchPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

void TodayScreenPaint(benchmark::State& state, const char* mode) {
  static bench::BenchDevice device;
  static const bool registered = [] {
    registerItems(device.install("GoodItem.dll"));
    return true;
  }();
  (void)registered;
  std::string error;
  auto client = automation::AutomationClient::connect(device.root(), error);
  if (!client || !client->call<ipc::ScreenModeSet>({mode})) {
    state.SkipWithError("cannot set the screen mode");
    return;
  }
  WNDCLASSW frameClass{};
  frameClass.lpfnWndProc = DefWindowProcW;
  frameClass.lpszClassName = u"BenchTodayFrame";
  RegisterClassW(&frameClass);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  const int bar = 26 * GetSystemMetrics(SM_CYBORDER);
  HWND frame = CreateWindowExW(0, u"BenchTodayFrame", u"Today", WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                               nullptr, nullptr);
  HWND screen = shell::createTodayScreen(GetModuleHandleW(nullptr), frame, RECT{0, bar, width, height - bar});
  dispatchPending();
  std::vector<HWND> windows{screen};
  for (HWND child = GetWindow(screen, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) windows.push_back(child);
  if (windows.size() != kItems + 1) {
    state.SkipWithError("the items did not start");
    DestroyWindow(frame);
    return;
  }
  std::vector<double> paints;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    for (HWND window : windows) InvalidateRect(window, nullptr, TRUE);
    dispatchPending();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    paints.push_back(seconds);
  }
  std::sort(paints.begin(), paints.end());
  if (!paints.empty()) state.counters["median_ms"] = paints[paints.size() / 2] * 1000.0;
  // The test item counts its paints (WM_APP + 3), all five windows together.
  const auto itemPaints = static_cast<double>(SendMessageW(windows[1], WM_APP + 3, 0, 0));
  if (!paints.empty()) state.counters["item_paints_per_iteration"] = itemPaints / static_cast<double>(paints.size());
  DestroyWindow(frame);
}
BENCHMARK_CAPTURE(TodayScreenPaint, qvga, "qvga")->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(500);
BENCHMARK_CAPTURE(TodayScreenPaint, vga, "vga")->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(500);

}  // namespace

BENCHMARK_MAIN();
