// The shell's start: from starting \Windows\shell.exe to the Today screen painted below the
// navigation bar (the device idle again, the Today area no longer the bare screen).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "automation_client.h"
#include "bench_device.h"

namespace {

using namespace handheld;

constexpr int32_t kTodayX = 120, kTodayY = 200;

void ShellStartToTodayPainted(benchmark::State& state) {
  bench::BenchDevice device;
  std::string error;
  auto client = automation::AutomationClient::connect(device.root(), error);
  if (!client) {
    state.SkipWithError(error.c_str());
    return;
  }
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    auto started = client->call<ipc::StartProcess>({u"\\Windows\\shell.exe", u""});
    if (!started || started->error) {
      state.SkipWithError("the shell did not start");
      return;
    }
    auto idle = client->call<ipc::WaitIdle>({10000});
    auto pixel = client->call<ipc::ScreenPixel>({kTodayX, kTodayY});
    const auto painted = std::chrono::steady_clock::now();
    if (!idle || idle->error || !pixel || pixel->color == 0) {
      state.SkipWithError("the Today screen was not painted");
      return;
    }
    state.SetIterationTime(std::chrono::duration<double>(painted - start).count());
    client->call<ipc::KillProcess>({started->pid, 0});
    client->call<ipc::WaitProcessExit>({started->pid, 10000});
    client->call<ipc::WaitIdle>({10000});
  }
}
BENCHMARK(ShellStartToTodayPainted)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
