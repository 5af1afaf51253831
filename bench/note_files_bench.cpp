// Note files on a live device: saving and opening a note with a page of ink, reading the
// headers of a full notes folder as the note list does at start, and choosing the name of a
// new note when hundreds are taken.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "bench_device.h"
#include "notes/note_file.h"

namespace {

handheld::bench::BenchDevice& device() {
  static handheld::bench::BenchDevice instance;
  return instance;
}

// "<folder>\Pinnote<number>.stk", as the program names its notes.
std::u16string notePath(const std::u16string& folder, int number) {
  std::u16string path = folder + u"\\" + NoteFileLayout::kFileNamePrefix;
  for (char c : std::to_string(number)) path += static_cast<char16_t>(c);
  return path + NoteFileLayout::kFileExtension;
}

// A folder on the device holding `count` notes, each with `contentBytes` of content.
std::u16string noteFolder(const std::u16string& name, int count, size_t contentBytes) {
  device();
  const std::u16string folder = u"\\My Documents\\" + name;
  CreateDirectoryW(folder.c_str(), nullptr);
  NoteRecord record;
  lstrcpyW(record.title, u"Shopping list");
  record.expiryTime = {2026, 12, 1, 7, 18, 30, 0, 0};
  record.content.assign(contentBytes, 0x5A);
  for (int i = 0; i < count; ++i) {
    WriteNoteFile(notePath(folder, i).c_str(), record);
  }
  return folder;
}

void SaveNoteWithInk(benchmark::State& state) {
  const auto folder = noteFolder(u"Save", 0, 0);
  const std::u16string path = notePath(folder, 0);
  NoteRecord record;
  lstrcpyW(record.title, u"Meeting");
  record.content.assign(static_cast<size_t>(state.range(0)), 0x3C);
  for (auto _ : state) {
    if (!WriteNoteFile(path.c_str(), record)) state.SkipWithError("cannot write the note");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(SaveNoteWithInk)->Arg(16 << 10)->Unit(benchmark::kMicrosecond);

void OpenNoteWithInk(benchmark::State& state) {
  const auto folder = noteFolder(u"Open", 1, static_cast<size_t>(state.range(0)));
  const std::u16string path = notePath(folder, 0);
  NoteRecord record;
  for (auto _ : state) {
    if (!ReadNoteFile(path.c_str(), record)) state.SkipWithError("cannot read the note");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(OpenNoteWithInk)->Arg(16 << 10)->Unit(benchmark::kMicrosecond);

// The note list at start: every header of a folder of 100 notes.
void ReadHundredHeaders(benchmark::State& state) {
  const auto folder = noteFolder(u"List", 100, 4096);
  for (auto _ : state) {
    for (int i = 0; i < 100; ++i) {
      NoteHeader header;
      if (!ReadNoteHeader(notePath(folder, i).c_str(), header)) state.SkipWithError("cannot read a header");
    }
  }
}
BENCHMARK(ReadHundredHeaders)->Unit(benchmark::kMillisecond);

// The note list at start with 1000 notes, as the program and the Today item read it: the
// listing, each open and the 527-byte header read through the platform's file API.
int readHeadersThroughPlatform(const std::u16string& folder) {
  const std::u16string pattern = folder + u"\\*" + NoteFileLayout::kFileExtension;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int read = 0;
  do {
    const std::u16string path = folder + u"\\" + found.cFileName;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    BYTE header[NoteFileLayout::kHeaderSize];
    DWORD got = 0;
    if (ReadFile(file, header, sizeof header, &got, nullptr) && got == sizeof header) ++read;
    CloseHandle(file);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return read;
}

// The same listing, opens and reads with the host's own calls.
int readHeadersThroughHost(const std::string& folder) {
  struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
  };
  std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
  if (!dir) return 0;
  const std::string extension = ".stk";
  int read = 0;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name.size() <= extension.size() ||
        name.compare(name.size() - extension.size(), extension.size(), extension) != 0) {
      continue;
    }
    const int fd = open((folder + "/" + name).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    unsigned char header[NoteFileLayout::kHeaderSize];
    if (::read(fd, header, sizeof header) == static_cast<ssize_t>(sizeof header)) ++read;
    close(fd);
  }
  return read;
}

double median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  const size_t middle = samples.size() / 2;
  return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

// Milliseconds of wall time and of this thread's CPU time (user and kernel) from a start.
struct Stopwatch {
  static double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
  }
  std::chrono::steady_clock::time_point wallStart = std::chrono::steady_clock::now();
  double cpuStart = threadCpuMs();
  double wallMs() const {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart)
        .count();
  }
  double cpuMs() const { return threadCpuMs() - cpuStart; }
};

// The platform's and the host's way of the same work in turn, each returning how many headers
// it read. The time is the platform's; the counters give the median wall time of each in
// milliseconds, their ratio (platform / host), and the ratio of their median CPU times, which a
// busy machine disturbs less.
template <class PlatformRun, class HostRun>
void compareWithHost(benchmark::State& state, int expected, PlatformRun platformRun, HostRun hostRun) {
  std::vector<double> platformWall, hostWall, platformCpu, hostCpu;
  for (auto _ : state) {
    const Stopwatch platform;
    const int platformRead = platformRun();
    platformWall.push_back(platform.wallMs());
    platformCpu.push_back(platform.cpuMs());
    const Stopwatch host;
    const int hostRead = hostRun();
    hostWall.push_back(host.wallMs());
    hostCpu.push_back(host.cpuMs());
    if (platformRead != expected || hostRead != expected) state.SkipWithError("a header was not read");
    state.SetIterationTime(platformWall.back() / 1e3);
  }
  if (platformWall.empty()) return;
  state.counters["platform_ms"] = median(platformWall);
  state.counters["host_ms"] = median(hostWall);
  state.counters["ratio"] = median(platformWall) / median(hostWall);
  state.counters["cpu_ratio"] = median(platformCpu) / median(hostCpu);
}

// Both readers in turn on the same 1000 files.
void ThousandHeadersAgainstHost(benchmark::State& state) {
  constexpr int kNotes = 1000;
  const auto folder = noteFolder(u"Thousand", kNotes, 4096);
  const std::string hostFolder = (device().root() / "My Documents" / "Thousand").string();
  compareWithHost(state, kNotes, [&] { return readHeadersThroughPlatform(folder); },
                  [&] { return readHeadersThroughHost(hostFolder); });
}
BENCHMARK(ThousandHeadersAgainstHost)->UseManualTime()->MinTime(1)->Unit(benchmark::kMillisecond);

// The opens alone, without the listing: each of 1000 known names opened, its header read and
// closed, through the platform and with the host's calls. Next to ThousandHeadersAgainstHost
// it tells the cost of the opens from the cost of the find.
int openHeadersThroughPlatform(const std::u16string& folder, int count) {
  int read = 0;
  for (int i = 0; i < count; ++i) {
    HANDLE file = CreateFileW(notePath(folder, i).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    BYTE header[NoteFileLayout::kHeaderSize];
    DWORD got = 0;
    if (ReadFile(file, header, sizeof header, &got, nullptr) && got == sizeof header) ++read;
    CloseHandle(file);
  }
  return read;
}

int openHeadersThroughHost(const std::string& folder, int count) {
  int read = 0;
  for (int i = 0; i < count; ++i) {
    const int fd = open((folder + "/Pinnote" + std::to_string(i) + ".stk").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    unsigned char header[NoteFileLayout::kHeaderSize];
    if (::read(fd, header, sizeof header) == static_cast<ssize_t>(sizeof header)) ++read;
    close(fd);
  }
  return read;
}

void NoteOpensAgainstHost(benchmark::State& state) {
  constexpr int kNotes = 1000;
  const auto folder = noteFolder(u"Opens", kNotes, 4096);
  const std::string hostFolder = (device().root() / "My Documents" / "Opens").string();
  compareWithHost(state, kNotes, [&] { return openHeadersThroughPlatform(folder, kNotes); },
                  [&] { return openHeadersThroughHost(hostFolder, kNotes); });
}
BENCHMARK(NoteOpensAgainstHost)->UseManualTime()->MinTime(1)->Unit(benchmark::kMillisecond);

void FreeNameAfterFiveHundred(benchmark::State& state) {
  const auto folder = noteFolder(u"Names", 500, 0);
  WCHAR path[MAX_PATH];
  for (auto _ : state) {
    if (!FindFreeNoteFileName(folder.c_str(), u".stk", path)) state.SkipWithError("no free name");
  }
}
BENCHMARK(FreeNameAfterFiveHundred)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
