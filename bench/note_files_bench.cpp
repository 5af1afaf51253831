// Note files on a live device: saving and opening a note with a page of ink, reading the
// headers of a full notes folder as the note list does at start, and choosing the name of a
// new note when hundreds are taken.
#include <benchmark/benchmark.h>
#include <windows.h>

#include <string>

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
