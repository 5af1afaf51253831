// The note file readers on any file content: they never read past the end, never trust the
// content length, and what they accept writes back to the same record.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "fs/root.h"
#include "notes/note_file.h"

namespace {

// A device root of this process's own, made once and removed when the process ends.
class ScratchRoot {
 public:
  ScratchRoot() {
    char pattern[] = "/tmp/handheld-fuzz-notes-XXXXXX";
    if (!::mkdtemp(pattern)) std::abort();
    root_ = pattern;
    std::filesystem::create_directories(root_ / ".device");
    if (handheld::fs::useProcessRoot(root_) != ERROR_SUCCESS) std::abort();
  }
  ~ScratchRoot() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  std::filesystem::path file() const { return root_ / "Pinnote0.stk"; }

 private:
  std::filesystem::path root_;
};

const ScratchRoot& scratch() {
  static const ScratchRoot root;
  return root;
}

bool sameRecord(const NoteRecord& a, const NoteRecord& b) {
  // The title is its text: units after the terminator mean nothing and are written as zeros.
  return lstrcmpW(a.title, b.title) == 0 &&
         std::memcmp(&a.expiryTime, &b.expiryTime, sizeof a.expiryTime) == 0 && a.content == b.content &&
         a.expired == b.expired && a.zoom == b.zoom;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::ofstream(scratch().file(), std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                      static_cast<std::streamsize>(size));
  constexpr LPCWSTR path = u"\\Pinnote0.stk";

  NoteHeader header;
  const bool headerRead = ReadNoteHeader(path, header);
  if (headerRead != (size >= NoteFileLayout::kHeaderSize)) std::abort();
  if (headerRead && header.title[NoteFileLayout::kTitleUnits - 1] != 0) std::abort();

  NoteRecord record;
  record.content.assign(3, 0x77);  // the reader clears what the record held
  const bool read = ReadNoteFile(path, record);
  if (record.title[NoteFileLayout::kTitleUnits - 1] != 0) std::abort();
  // Bytes after the content a file claims are left alone, never taken as content.
  if (read && size < NoteFileLayout::kFixedPartSize + record.content.size()) std::abort();
  if (!read && !record.content.empty()) std::abort();
  if (!read) return 0;

  if (!WriteNoteFile(path, record)) std::abort();
  NoteRecord again;
  if (!ReadNoteFile(path, again) || !sameRecord(record, again)) std::abort();
  return 0;
}
