#include "notes/expiry_check.h"

#include "notes/note_record.h"

bool IsDue(const NoteEntry& entry, ULONGLONG now) {
  if (NeverExpires(entry.expiryTime) || entry.expired) return false;
  const std::optional<ULONGLONG> expiry = TicksOf(entry.expiryTime);
  return expiry && *expiry <= now;
}

std::vector<std::u16string> DuePaths(const std::list<NoteEntry>& notes, ULONGLONG now) {
  std::vector<std::u16string> paths;
  for (const NoteEntry& entry : notes) {
    if (IsDue(entry, now)) paths.push_back(entry.path);
  }
  return paths;
}

std::optional<std::u16string> FallbackPath(const std::list<NoteEntry>& notes, ULONGLONG now) {
  const NoteEntry* winner = nullptr;
  ULONGLONG earliest = 0;
  for (const NoteEntry& entry : notes) {
    if (!IsDue(entry, now + kFallbackLead)) continue;
    const ULONGLONG expiry = *TicksOf(entry.expiryTime);
    if (!winner || expiry <= earliest) {
      winner = &entry;
      earliest = expiry;
    }
  }
  if (!winner) return std::nullopt;
  return winner->path;
}
