// The order of the note list: by expiry time or by title, ascending or descending. Notes that
// never expire form one block after the timed ones (before them when descending), ordered
// among themselves by their files' creation times.
#pragma once

#include <windows.h>

#include <functional>
#include <list>
#include <string>

#include "notes/note_entry.h"

struct SortState {
  int column = -1;     // 0 expiry time, 1 title, -1 none chosen yet
  int direction = -1;  // 0 ascending, 1 descending, -1 none chosen yet
};

inline constexpr int kSortByTime = 0;
inline constexpr int kSortByTitle = 1;
inline constexpr int kSortReset = -1;  // back to time ascending
inline constexpr int kSortKeep = -2;   // the current order again, after a change

// -1 resets, -2 keeps (time ascending when nothing was chosen yet), a column chosen again
// flips the direction and another column starts ascending.
void UpdateSortState(SortState& state, int argument);

// The creation time of a note's file, in UTC; read only when sorting by time.
using CreationTimeReader = std::function<SYSTEMTIME(const std::u16string& path)>;

// Orders `notes` by `state`. Notes with equal keys keep their order. A column other than 0
// and 1 leaves the order as it is.
void SortNotes(std::list<NoteEntry>& notes, const SortState& state,
               const CreationTimeReader& creationTime);

// The creation time of the file at `path`; zero when it cannot be read.
SYSTEMTIME ReadFileCreationTime(const std::u16string& path);
