// How long PlaySound takes to start a sound (asynchronous: the call returns once the
// speaker has it), from memory and from a file; each play replaces the one before.
#include <benchmark/benchmark.h>
#include <windows.h>

#include <fstream>
#include <vector>

#include "bench_device.h"

namespace {

handheld::bench::BenchDevice& device() {
  static handheld::bench::BenchDevice instance;
  return instance;
}

// One second of 16-bit mono 22050 Hz silence.
std::vector<uint8_t> secondOfSound() {
  constexpr uint32_t kRate = 22050, kDataBytes = kRate * 2;
  std::vector<uint8_t> b;
  auto put = [&](uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  b.insert(b.end(), {'R', 'I', 'F', 'F'});
  put(36 + kDataBytes, 4);
  b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  put(16, 4);
  put(1, 2);
  put(1, 2);
  put(kRate, 4);
  put(kRate * 2, 4);
  put(2, 2);
  put(16, 2);
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  put(kDataBytes, 4);
  b.resize(b.size() + kDataBytes, 0);
  return b;
}

void PlaySoundStartFromMemory(benchmark::State& state) {
  device();
  const auto image = secondOfSound();
  for (auto _ : state) PlaySoundW(reinterpret_cast<LPCWSTR>(image.data()), nullptr, SND_MEMORY | SND_ASYNC);
  PlaySoundW(nullptr, nullptr, 0);
}
BENCHMARK(PlaySoundStartFromMemory)->Unit(benchmark::kMicrosecond);

void PlaySoundStartFromFile(benchmark::State& state) {
  const auto image = secondOfSound();
  std::ofstream(device().root() / "My Documents" / "bench.wav", std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  for (auto _ : state) PlaySoundW(u"\\My Documents\\bench.wav", nullptr, SND_FILENAME | SND_ASYNC);
  PlaySoundW(nullptr, nullptr, 0);
}
BENCHMARK(PlaySoundStartFromFile)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
