// Which notes are due. A note is due when it has an expiry time, is not marked expired and its
// time is not later than now. The fallback of a repeated due request (the timed notification
// may start the program a little before the note's minute) takes the note that falls due
// first within a short lead; never one already expired and never one far ahead.
#pragma once

#include <windows.h>

#include <list>
#include <optional>
#include <string>
#include <vector>

#include "notes/note_entry.h"
#include "notes/note_time.h"

// How far ahead of now the fallback looks.
inline constexpr ULONGLONG kFallbackLead = 60 * kTicksPerSecond;

// Whether `entry` is due at `now` (ticks of the local time).
bool IsDue(const NoteEntry& entry, ULONGLONG now);

// The paths of the notes due at `now`, in list order.
std::vector<std::u16string> DuePaths(const std::list<NoteEntry>& notes, ULONGLONG now);

// The fallback's note: the earliest of those due by now + kFallbackLead (the later in the
// list on equal times); none when there is no such note.
std::optional<std::u16string> FallbackPath(const std::list<NoteEntry>& notes, ULONGLONG now);
