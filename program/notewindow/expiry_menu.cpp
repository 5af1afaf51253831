#include "notewindow/expiry_menu.h"

#include "notewindow/expiry_time.h"

HMENU CreateExpiryMenu() {
  HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  for (const ExpiryChoice& choice : kExpiryChoices) {
    if (!AppendMenuW(menu, MF_STRING, choice.command, choice.text)) {
      // A menu missing a choice would offer the wrong ones.
      DestroyMenu(menu);
      return nullptr;
    }
  }
  return menu;
}
