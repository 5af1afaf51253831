// The note file readers on any file content, from memory: they never read past the end,
// never trust the content length, and what they accept writes back to the same record.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "notes/note_file.h"

namespace {

namespace Layout = NoteFileLayout;

bool sameTitle(const WCHAR* a, const WCHAR* b) { return std::u16string_view(a) == std::u16string_view(b); }

bool sameRecord(const NoteRecord& a, const NoteRecord& b) {
  // The title is its text: units after the terminator mean nothing and are written as zeros.
  return sameTitle(a.title, b.title) &&
         std::memcmp(&a.expiryTime, &b.expiryTime, sizeof a.expiryTime) == 0 && a.content == b.content &&
         a.expired == b.expired && a.zoom == b.zoom;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const BYTE> bytes(data, size);

  NoteHeader header;
  const bool headerRead = ParseNoteHeader(bytes, header);
  if (headerRead != (size >= Layout::kHeaderSize)) std::abort();
  if (headerRead && header.title[Layout::kTitleUnits - 1] != 0) std::abort();

  NoteRecord record;
  record.content.assign(3, 0x77);  // the reader clears what the record held
  const bool read = ParseNoteFile(bytes, record);
  if (record.title[Layout::kTitleUnits - 1] != 0) std::abort();
  // Bytes after the content a file claims are left alone, never taken as content.
  if (read && size < Layout::kFixedPartSize + record.content.size()) std::abort();
  if (!read && !record.content.empty()) std::abort();
  if (!read) return 0;
  // The list and the note window show the same header.
  if (!sameTitle(header.title, record.title) || header.expired != record.expired ||
      std::memcmp(&header.expiryTime, &record.expiryTime, sizeof header.expiryTime) != 0) {
    std::abort();
  }

  const NoteFixedPart fixed = EncodeNoteFixedPart(record);
  std::vector<BYTE> written(fixed.size() + record.content.size());
  std::memcpy(written.data(), fixed.data(), fixed.size());
  if (!record.content.empty()) {
    std::memcpy(written.data() + fixed.size(), record.content.data(), record.content.size());
  }
  NoteRecord again;
  if (!ParseNoteFile(written, again) || !sameRecord(record, again)) std::abort();
  return 0;
}
