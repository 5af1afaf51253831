#include "notes/note_file.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "pinnotes/unique_handle.h"

namespace {

namespace Layout = NoteFileLayout;

UniqueHandle openForReading(LPCWSTR path) {
  return UniqueHandle(
      CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool readExactly(HANDLE file, BYTE* buffer, DWORD size) {
  DWORD read = 0;
  return ReadFile(file, buffer, size, &read, nullptr) && read == size;
}

bool writeExactly(HANDLE file, const BYTE* buffer, DWORD size) {
  DWORD written = 0;
  return WriteFile(file, buffer, size, &written, nullptr) && written == size;
}

void putWord(BYTE* at, WORD value) {
  at[0] = static_cast<BYTE>(value);
  at[1] = static_cast<BYTE>(value >> 8);
}

void putDword(BYTE* at, DWORD value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<BYTE>(value >> (8 * i));
}

WORD getWord(const BYTE* at) { return static_cast<WORD>(at[0] | (at[1] << 8)); }

DWORD getDword(const BYTE* at) {
  DWORD value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | at[i];
  return value;
}

void encodeTime(const SYSTEMTIME& time, BYTE* at) {
  const WORD fields[Layout::kExpiryTimeFields] = {time.wYear,   time.wMonth,  time.wDayOfWeek,
                                                  time.wDay,    time.wHour,   time.wMinute,
                                                  time.wSecond, time.wMilliseconds};
  for (std::size_t i = 0; i < Layout::kExpiryTimeFields; ++i) putWord(at + 2 * i, fields[i]);
}

SYSTEMTIME decodeTime(const BYTE* at) {
  SYSTEMTIME time;
  time.wYear = getWord(at);
  time.wMonth = getWord(at + 2);
  time.wDayOfWeek = getWord(at + 4);
  time.wDay = getWord(at + 6);
  time.wHour = getWord(at + 8);
  time.wMinute = getWord(at + 10);
  time.wSecond = getWord(at + 12);
  time.wMilliseconds = getWord(at + 14);
  return time;
}

void encodeTitle(const WCHAR (&title)[Layout::kTitleUnits], BYTE* at) {
  // Units after the terminator go out as zeros rather than whatever the buffer held.
  bool ended = false;
  for (std::size_t i = 0; i < Layout::kTitleUnits; ++i) {
    const WCHAR unit = ended ? 0 : title[i];
    ended = ended || unit == 0;
    putWord(at + 2 * i, i + 1 == Layout::kTitleUnits ? 0 : unit);
  }
}

void decodeTitle(const BYTE* at, WCHAR (&title)[Layout::kTitleUnits]) {
  for (std::size_t i = 0; i < Layout::kTitleUnits; ++i) title[i] = getWord(at + 2 * i);
  // A file need not terminate its title; the last unit is always the terminator here.
  title[Layout::kTitleUnits - 1] = 0;
}

void decodeHeader(const BYTE* bytes, SYSTEMTIME& time, WCHAR (&title)[Layout::kTitleUnits],
                  BYTE& expired) {
  time = decodeTime(bytes + Layout::kExpiryTimeOffset);
  decodeTitle(bytes + Layout::kTitleOffset, title);
  expired = bytes[Layout::kExpiredFlagOffset];
}

// Takes the fixed part of a file of `fileSize` bytes into the record. The content length
// it claims, when the file has that many bytes behind the fixed part; nothing otherwise.
std::optional<DWORD> takeFixedPart(std::span<const BYTE, Layout::kFixedPartSize> fixed,
                                   std::uint64_t fileSize, NoteRecord& record) {
  decodeHeader(fixed.data(), record.expiryTime, record.title, record.expired);
  record.zoom = static_cast<LONG>(getDword(fixed.data() + Layout::kZoomOffset));
  // The length is only a claim: believe it only as far as the file has bytes behind it.
  const DWORD contentLength = getDword(fixed.data() + Layout::kContentLengthOffset);
  if (contentLength > fileSize - Layout::kFixedPartSize) return std::nullopt;
  return contentLength;
}

SaveStepHook saveStepHook = nullptr;

// One run of WriteNoteFile: the note's bytes go to a side file that then replaces the note.
class ReplacingSave {
 public:
  ReplacingSave(LPCWSTR path, std::u16string side) : path_(path), side_(std::move(side)) {}

  bool run(const NoteRecord& record) {
    if (!writeSideFile(record)) return failed();
    if (!reached(SaveStep::Flushed)) return false;
    if (!MoveFileExW(side_.c_str(), path_, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return failed();
    }
    return reached(SaveStep::Replaced);
  }

 private:
  // False when a test ends the save at this step.
  bool reached(SaveStep step) {
    if (!saveStepHook || saveStepHook(step)) return true;
    abandoned_ = true;
    SetLastError(ERROR_GEN_FAILURE);
    return false;
  }

  bool writeSideFile(const NoteRecord& record) {
    // The handle closes before the side file replaces the note.
    UniqueHandle file(CreateFileW(side_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen() || !reached(SaveStep::SideFileCreated)) return false;
    const NoteFixedPart fixed = EncodeNoteFixedPart(record);
    if (!writeExactly(file.get(), fixed.data(), static_cast<DWORD>(fixed.size())) ||
        !reached(SaveStep::FixedPartWritten)) {
      return false;
    }
    if (!record.content.empty() &&
        !writeExactly(file.get(), record.content.data(), static_cast<DWORD>(record.content.size()))) {
      return false;
    }
    return reached(SaveStep::ContentWritten) && FlushFileBuffers(file.get());
  }

  // Removes the side file (unless a test left it as a crash would) without hiding why the
  // save failed.
  bool failed() {
    if (!abandoned_) {
      const DWORD error = GetLastError();
      DeleteFileW(side_.c_str());
      SetLastError(error);
    }
    return false;
  }

  LPCWSTR path_;
  std::u16string side_;
  bool abandoned_ = false;
};

}  // namespace

NoteFixedPart EncodeNoteFixedPart(const NoteRecord& record) {
  NoteFixedPart bytes{};
  encodeTime(record.expiryTime, bytes.data() + Layout::kExpiryTimeOffset);
  encodeTitle(record.title, bytes.data() + Layout::kTitleOffset);
  bytes[Layout::kExpiredFlagOffset] = record.expired;
  putDword(bytes.data() + Layout::kZoomOffset, static_cast<DWORD>(record.zoom));
  putDword(bytes.data() + Layout::kContentLengthOffset, static_cast<DWORD>(record.content.size()));
  return bytes;
}

bool ParseNoteFile(std::span<const BYTE> bytes, NoteRecord& record) {
  record.clearContent();
  if (bytes.size() < Layout::kFixedPartSize) return false;
  const auto contentLength = takeFixedPart(bytes.first<Layout::kFixedPartSize>(), bytes.size(), record);
  if (!contentLength) return false;
  const auto content = bytes.subspan(Layout::kFixedPartSize, *contentLength);
  record.content.assign(content.begin(), content.end());
  return true;
}

bool ParseNoteHeader(std::span<const BYTE> bytes, NoteHeader& header) {
  if (bytes.size() < Layout::kHeaderSize) return false;
  decodeHeader(bytes.data(), header.expiryTime, header.title, header.expired);
  return true;
}

bool WriteNoteFile(LPCWSTR path, const NoteRecord& record) {
  if (record.content.size() > std::numeric_limits<DWORD>::max() - Layout::kFixedPartSize) {
    SetLastError(ERROR_INVALID_DATA);
    return false;
  }
  std::u16string side = std::u16string(path) + kUnsavedNoteSuffix;
  if (side.size() >= MAX_PATH) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  return ReplacingSave(path, std::move(side)).run(record);
}

bool RemoveNoteFile(LPCWSTR path) {
  if (DeleteFileW(path)) return true;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND;
}

void SetSaveStepHook(SaveStepHook hook) { saveStepHook = hook; }

bool ReadNoteFile(LPCWSTR path, NoteRecord& record) {
  record.clearContent();
  UniqueHandle file = openForReading(path);
  if (!file.isOpen()) return false;
  const DWORD fileSize = GetFileSize(file.get(), nullptr);
  NoteFixedPart fixed;
  if (fileSize == INVALID_FILE_SIZE || fileSize < fixed.size() ||
      !readExactly(file.get(), fixed.data(), static_cast<DWORD>(fixed.size()))) {
    return false;
  }
  const auto contentLength = takeFixedPart(fixed, fileSize, record);
  if (!contentLength) return false;
  // The content goes from the file straight into the record.
  std::vector<BYTE> content(*contentLength);
  if (!content.empty() && !readExactly(file.get(), content.data(), *contentLength)) return false;
  record.content = std::move(content);
  return true;
}

bool ReadNoteHeader(LPCWSTR path, NoteHeader& header) {
  UniqueHandle file = openForReading(path);
  if (!file.isOpen()) return false;
  std::array<BYTE, Layout::kHeaderSize> bytes;
  return readExactly(file.get(), bytes.data(), static_cast<DWORD>(bytes.size())) &&
         ParseNoteHeader(bytes, header);
}

bool FindFreeNoteFileName(LPCWSTR folder, LPCWSTR extension, WCHAR (&path)[MAX_PATH]) {
  for (int number = 0; number < Layout::kMaxNoteFiles; ++number) {
    std::u16string name = std::u16string(folder) + u"\\" + Layout::kFileNamePrefix;
    for (char16_t digit : std::to_string(number)) name.push_back(digit);
    name += extension;
    if (name.size() >= MAX_PATH) return false;
    WIN32_FIND_DATAW found;
    if (!UniqueFindHandle(FindFirstFileW(name.c_str(), &found)).isOpen()) {
      name.copy(path, name.size());
      path[name.size()] = 0;
      return true;
    }
  }
  return false;
}
