// Registry round trips and process start on a live headless device.
#include <benchmark/benchmark.h>
#include <windows.h>

#include "bench_device.h"

namespace {

handheld::bench::BenchDevice& device() {
  static handheld::bench::BenchDevice instance;
  return instance;
}

HKEY benchKey() {
  static HKEY key = [] {
    device();
    HKEY k = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Bench", 0, nullptr, 0, 0, nullptr, &k, nullptr);
    return k;
  }();
  return key;
}

void RegistrySetDword(benchmark::State& state) {
  HKEY key = benchKey();
  DWORD value = 0;
  for (auto _ : state) {
    ++value;
    RegSetValueExW(key, u"Counter", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), sizeof value);
  }
}
BENCHMARK(RegistrySetDword);

void RegistryGetDword(benchmark::State& state) {
  HKEY key = benchKey();
  DWORD value = 7;
  RegSetValueExW(key, u"Counter", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), sizeof value);
  for (auto _ : state) {
    DWORD size = sizeof value;
    RegQueryValueExW(key, u"Counter", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(RegistryGetDword);

// From the start request to the exit code of a program that ends at once.
void ProcessStartAndExit(benchmark::State& state) {
  auto probe = device().install("probe.exe");
  for (auto _ : state) {
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(probe.c_str(), u"exit 0", nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info)) {
      state.SkipWithError("cannot start the probe");
      break;
    }
    WaitForSingleObject(info.hProcess, INFINITE);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
}
BENCHMARK(ProcessStartAndExit)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
