// The "Titles editor" dialog (resource 179): adds, deletes, reorders and clears the saved
// titles. It works on its list box only and stores the list when it is left with "ok".
#pragma once

#include <windows.h>

#include <string>

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
  static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void initialise();
  void layOut();
  void paintBand();
  void command(int id, int code);
  void add();
  void deleteSelected();
  void move(int step);
  void deleteAll();
  void store();
  void updateButtons();
  std::u16string editText() const;
  std::u16string itemText(int index) const;
  int itemCount() const;

  HWND dialog_ = nullptr;
  HWND parent_ = nullptr;
  HWND list_ = nullptr;
  HWND edit_ = nullptr;
  HWND moveUp_ = nullptr;
  HWND moveDown_ = nullptr;
  HWND delete_ = nullptr;
  HWND add_ = nullptr;
  HWND deleteAll_ = nullptr;
};
