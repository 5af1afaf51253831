// The "Titles editor" dialog (resource 179): adds, deletes, reorders and clears the saved
// titles. It works on its list box only and stores the list when it is left with "ok".
#pragma once

#include <windows.h>

class TitlesEditor {
 public:
  TitlesEditor() = default;
  virtual ~TitlesEditor() = default;
  TitlesEditor(const TitlesEditor&) = delete;
  TitlesEditor& operator=(const TitlesEditor&) = delete;

  // Shows the dialog modally over `parent`; its result (1 after "ok").
  INT_PTR run(HWND parent);
  // The dialog while it is shown, else null.
  HWND window() const { return dialog_; }

 private:
  HWND dialog_ = nullptr;
};
