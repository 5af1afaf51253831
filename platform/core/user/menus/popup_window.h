// The window of one open level of a tracked pop-up menu, and how it is drawn.
#pragma once

#include <windows.h>

#include <memory>

#include "user/menus/menu.h"
#include "user/menus/popup_layout.h"

namespace handheld::user {

struct PopupLevel {
  std::shared_ptr<Menu> menu;
  HWND window = nullptr;
  PopupMetrics metrics;
  PopupLayout layout;
  RECT screen{};  // the window's rectangle on the screen
  int hot = -1;   // the highlighted entry, -1 for none
};

// Measures the menu's entries for `level` (metrics and layout). Takes the menu lock.
void measurePopup(PopupLevel& level);

// A topmost pop-up window owned by `owner` at level.screen, shown without taking the
// activation; it draws `level`, which must outlive it.
HWND createPopupWindow(PopupLevel& level, HWND owner);

// The class of menu windows, as handheld-ctl looks for it.
inline constexpr const char16_t* kPopupMenuClass = u"PopupMenu";

}  // namespace handheld::user
