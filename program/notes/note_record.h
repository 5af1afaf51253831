// One whole note in memory: what a note window edits and what a note file holds.
#pragma once

#include <windows.h>

#include <vector>

#include "pinnotes/note_file_layout.h"

struct NoteRecord {
  static constexpr LONG kDefaultZoom = 200;

  WCHAR title[NoteFileLayout::kTitleUnits] = {};
  SYSTEMTIME expiryTime = {};
  std::vector<BYTE> content;  // the ink control's stream; empty when the note has none
  BYTE expired = 0;
  LONG zoom = kDefaultZoom;

  void clearContent();
};

// The header of a note file: what the note list shows without reading the content.
struct NoteHeader {
  SYSTEMTIME expiryTime = {};
  WCHAR title[NoteFileLayout::kTitleUnits] = {};
  BYTE expired = 0;
};

inline bool NeverExpires(const SYSTEMTIME& time) {
  return time.wHour == NoteFileLayout::kNeverExpiresHour;
}
