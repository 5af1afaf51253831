// Messages: post-and-get in one thread, a send to another thread, a send to another
// process, and beside them the raw socket round trip between two threads and a round trip
// to the device server, measured in the same run.
#include <benchmark/benchmark.h>
#include <sys/socket.h>
#include <unistd.h>
#include <windows.h>

#include <thread>

#include "bench_device.h"
#include "ipc/client.h"

namespace {

handheld::bench::BenchDevice& device() {
  static handheld::bench::BenchDevice instance;
  return instance;
}

LRESULT CALLBACK echoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER + 1) return static_cast<LRESULT>(wParam) + lParam;
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND makeWindow() {
  static ATOM registered = [] {
    WNDCLASSW c{};
    c.lpfnWndProc = echoProc;
    c.lpszClassName = u"BenchEcho";
    return RegisterClassW(&c);
  }();
  benchmark::DoNotOptimize(registered);
  return CreateWindowExW(0, u"BenchEcho", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

void PostAndGetOneThread(benchmark::State& state) {
  device();
  HWND window = makeWindow();
  MSG message;
  for (auto _ : state) {
    PostMessageW(window, WM_USER + 1, 1, 2);
    PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
    benchmark::DoNotOptimize(message);
  }
  DestroyWindow(window);
}
BENCHMARK(PostAndGetOneThread);

void SendAcrossThreads(benchmark::State& state) {
  device();
  HWND window = nullptr;
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD workerId = 0;
  struct Start {
    HWND* window;
    HANDLE ready;
  } start{&window, ready};
  HANDLE worker = CreateThread(nullptr, 0, [](LPVOID p) -> DWORD {
    auto* s = static_cast<Start*>(p);
    *s->window = makeWindow();
    SetEvent(s->ready);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
    return 0;
  }, &start, 0, &workerId);
  WaitForSingleObject(ready, INFINITE);
  for (auto _ : state) benchmark::DoNotOptimize(SendMessageW(window, WM_USER + 1, 1, 2));
  PostThreadMessageW(workerId, WM_QUIT, 0, 0);
  WaitForSingleObject(worker, INFINITE);
  CloseHandle(worker);
  CloseHandle(ready);
}
BENCHMARK(SendAcrossThreads);

// window_probe.exe running in the device, with its window; ended when this goes.
class Probe {
 public:
  Probe() {
    auto program = device().install("window_probe.exe");
    // The probe reports its activation to this window, with its own handle.
    watcher_ = makeWindow();
    char16_t arguments[64];
    wsprintfW(arguments, u"window ProbeClass ProbeTitle %x", static_cast<unsigned>(reinterpret_cast<uintptr_t>(watcher_)));
    if (!CreateProcessW(program.c_str(), arguments, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info_))
      return;
    MSG report{};
    while (GetMessageW(&report, watcher_, 0, 0) > 0 && report.message != WM_APP + 1) {
    }
    window_ = reinterpret_cast<HWND>(report.lParam);
  }
  ~Probe() {
    if (window_) {
      PostMessageW(window_, WM_CLOSE, 0, 0);
      WaitForSingleObject(info_.hProcess, INFINITE);
      CloseHandle(info_.hThread);
      CloseHandle(info_.hProcess);
    }
    DestroyWindow(watcher_);
  }
  HWND window() const { return window_; }

 private:
  HWND watcher_ = nullptr;
  HWND window_ = nullptr;
  PROCESS_INFORMATION info_{};
};

void SendAcrossProcesses(benchmark::State& state) {
  Probe probe;
  if (!probe.window()) {
    state.SkipWithError("cannot start the probe");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(SendMessageW(probe.window(), WM_USER + 1, 1, 2));
}
BENCHMARK(SendAcrossProcesses);

// A post to another process's window, answered once the receiver's queue is known to have
// room; posts refused because the probe fell behind are counted.
void PostAcrossProcesses(benchmark::State& state) {
  Probe probe;
  if (!probe.window()) {
    state.SkipWithError("cannot start the probe");
    return;
  }
  int64_t refused = 0;
  for (auto _ : state) refused += PostMessageW(probe.window(), WM_NULL, 0, 0) ? 0 : 1;
  state.counters["refused"] = static_cast<double>(refused);
}
BENCHMARK(PostAcrossProcesses);

// The limit for the sends above: one packet there and back over a SOCK_SEQPACKET pair, with
// the other end on another thread.
void RawSocketRoundTrip(benchmark::State& state) {
  int pair[2];
  if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair) != 0) {
    state.SkipWithError("no socket pair");
    return;
  }
  std::thread echo([fd = pair[1]] {
    char packet[64];
    ssize_t n;
    while ((n = recv(fd, packet, sizeof packet, 0)) > 0) send(fd, packet, static_cast<size_t>(n), 0);
  });
  char packet[32] = {};
  for (auto _ : state) {
    send(pair[0], packet, sizeof packet, 0);
    recv(pair[0], packet, sizeof packet, 0);
  }
  shutdown(pair[0], SHUT_RDWR);
  echo.join();
  close(pair[0]);
  close(pair[1]);
}
BENCHMARK(RawSocketRoundTrip);

// One request to the device server and its reply, through this process's connection.
void DeviceServerRoundTrip(benchmark::State& state) {
  device();
  auto& client = handheld::ipc::DeviceClient::get();
  for (auto _ : state) benchmark::DoNotOptimize(client.call<handheld::ipc::ClockGet>({}));
}
BENCHMARK(DeviceServerRoundTrip);

}  // namespace

BENCHMARK_MAIN();
