#include "notes/note_sort.h"

#include "notes/note_record.h"
#include "notes/note_time.h"
#include "pinnotes/unique_handle.h"

void UpdateSortState(SortState& state, int argument) {
  if (argument == kSortReset || (argument == kSortKeep && state.column == -1)) {
    state = {kSortByTime, 0};
  } else if (argument == kSortKeep) {
    return;
  } else if (argument != state.column) {
    state = {argument, 0};
  } else {
    state.direction = state.direction == 0 ? 1 : 0;
  }
}

namespace {

// Time order, ascending: timed notes by expiry, then the never-expiring ones newest first.
bool expiresBefore(const NoteEntry& a, const NoteEntry& b) {
  const bool aNever = NeverExpires(a.expiryTime);
  const bool bNever = NeverExpires(b.expiryTime);
  if (aNever != bNever) return bNever;
  if (aNever) return TicksOf(a.creationTime).value_or(0) > TicksOf(b.creationTime).value_or(0);
  return TicksOf(a.expiryTime).value_or(0) < TicksOf(b.expiryTime).value_or(0);
}

}  // namespace

void SortNotes(std::list<NoteEntry>& notes, const SortState& state,
               const CreationTimeReader& creationTime) {
  const bool ascending = state.direction == 0;
  if (state.column == kSortByTime) {
    for (NoteEntry& entry : notes) entry.creationTime = creationTime(entry.path);
    // Descending is the exact reverse of ascending, the never-expiring block included.
    notes.sort([&](const NoteEntry& a, const NoteEntry& b) {
      return ascending ? expiresBefore(a, b) : expiresBefore(b, a);
    });
  } else if (state.column == kSortByTitle) {
    notes.sort([&](const NoteEntry& a, const NoteEntry& b) {
      return ascending ? a.title < b.title : b.title < a.title;
    });
  }
}

SYSTEMTIME ReadFileCreationTime(const std::u16string& path) {
  SYSTEMTIME time = {};
  const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  BY_HANDLE_FILE_INFORMATION information;
  if (file.isOpen() && GetFileInformationByHandle(file.get(), &information)) {
    FileTimeToSystemTime(&information.ftCreationTime, &time);
  }
  return time;
}
