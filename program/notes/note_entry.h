// One note of the store's list: the header of its file and where the file is.
#pragma once

#include <windows.h>

#include <string>

struct NoteEntry {
  SYSTEMTIME expiryTime = {};
  SYSTEMTIME creationTime = {};  // filled only when the list is sorted by time
  std::u16string title;
  std::u16string path;
  BYTE expired = 0;
};
