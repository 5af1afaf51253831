// What the dialog manager keeps per dialog beside the window's DWLP_ values: its font and
// base units, the default button, the focus to restore, and the modal state.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

namespace handheld::user::dialogs {

struct DialogInfo {
  HFONT font = nullptr;
  bool ownsFont = false;  // made from the template; deleted with the dialog
  SIZE baseUnits{};       // pixels per 4 x units and per 8 y units
  std::optional<WORD> defaultId;  // DM_SETDEFID; none: the BS_DEFPUSHBUTTON child
  HWND lastFocus = nullptr;       // restored when the dialog is active again
  HWND disabledOwner = nullptr;   // a modal dialog's owner, enabled again by EndDialog
  bool ended = false;
  INT_PTR result = 0;
};

// Whether `dialog` is one of this process's dialogs; each call runs `change` under the
// table's own lock (never the window lock), so it must not call window procedures.
bool isDialog(HWND dialog);
void addDialog(HWND dialog, const DialogInfo& info);
bool changeDialog(HWND dialog, const std::function<void(DialogInfo&)>& change);
std::optional<DialogInfo> dialogInfo(HWND dialog);
// The info, gone from the table.
std::optional<DialogInfo> removeDialog(HWND dialog);

}  // namespace handheld::user::dialogs
