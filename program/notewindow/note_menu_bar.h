// The note window's menu bar: the "Edit" menu from the bar resource, then the toolbar buttons
// added to it with their images and tooltips.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class NoteMenuBar {
 public:
  // Toolbar state values the note window sets.
  static constexpr BYTE kEnabled = 4;
  static constexpr BYTE kPressed = 6;

  // One toolbar button; a command of -1 ends the table.
  struct Button {
    int image;
    int command;
    BYTE state;
    BYTE style;
  };

  NoteMenuBar() = default;
  virtual ~NoteMenuBar();
  NoteMenuBar(const NoteMenuBar&) = delete;
  NoteMenuBar& operator=(const NoteMenuBar&) = delete;

  // Makes the bar on `parent` from `instance`'s resources; false (and no bar) when the shell
  // cannot make it.
  bool create(HWND parent, HINSTANCE instance);
  void destroy();

  // Each does nothing without a bar.
  void enable(int command, bool enabled);
  void setPressed(int command, bool pressed);
  // The button's toolbar state, or -1 without a bar or button.
  int state(int command) const;
  // The tooltip text given to the button, or null when it has none.
  LPCWSTR tooltip(int command) const;

  HWND window() const { return bar_; }

 private:
  void loadTooltips();

  HINSTANCE instance_ = nullptr;
  HWND parent_ = nullptr;
  HWND bar_ = nullptr;
  // One owned text per image button, and the array handed to the bar, which keeps it.
  std::vector<std::u16string> tipTexts_;
  std::vector<LPCWSTR> tips_;
};
