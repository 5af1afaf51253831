// A path handed to a window of this process by message as a pointer: the window takes only
// the pointer its sender announced, and only once, however the message reaches it (sent from
// inside another send, or dispatched by a dialog's or menu's loop). A pointer from anywhere
// else would be read blindly.
#pragma once

#include <windows.h>

class AcceptedPath {
 public:
  void announce(LPCWSTR path) { path_ = path; }
  // Whether `value` is the announced pointer; then it is forgotten.
  bool take(LPARAM value) {
    if (!path_ || value != reinterpret_cast<LPARAM>(path_)) return false;
    path_ = nullptr;
    return true;
  }

 private:
  LPCWSTR path_ = nullptr;
};

// PNM_NOTE_SAVED: the note window announces here what it sends to the main window. It lives
// in this bottom layer because the main window sits above the note store.
inline AcceptedPath theSavedNotePath;
