// SHInitDialog and SHFullScreen: the sizing happens here; the done button and the full-screen
// bits are the server's, per top-level window, because the shell process shows them.
#include <aygshell.h>
#include <windows.h>

#include "ipc/protocol.h"
#include "shellsvc/shell_metrics.h"
#include "user/device_link.h"
#include "user/window.h"

namespace handheld::shellsvc {
namespace {

// The top-level window above `window`, when it is one of this process's windows.
HWND ownTopLevel(HWND window) {
  if (user::classifyHandle(window) != user::HandleKind::Own || !IsWindow(window)) return nullptr;
  while (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) {
    HWND parent = GetParent(window);
    if (!parent) break;
    window = parent;
  }
  return window;
}

BOOL setShellState(HWND topLevel, uint32_t mask, uint32_t state) {
  auto reply = user::deviceLink().call<ipc::ShellWindowSet>({user::handleValue(topLevel), mask, state});
  const DWORD error = reply ? reply->error : ERROR_INVALID_WINDOW_HANDLE;
  if (error) {
    SetLastError(error);
    return FALSE;
  }
  return TRUE;
}

}  // namespace
}  // namespace handheld::shellsvc

using namespace handheld;

BOOL WINAPI SHInitDialog(PSHINITDLGINFO info) {
  if (!info || !(info->dwMask & SHIDIM_FLAGS)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  HWND topLevel = shellsvc::ownTopLevel(info->hDlg);
  if (!topLevel) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const DWORD flags = info->dwFlags;
  if (flags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR)) {
    // Without a menu bar of its own the dialog takes the bottom band too; an empty menu bar
    // keeps the band free.
    const bool leaveMenuBar = !(flags & SHIDIF_FULLSCREENNOMENUBAR) || (flags & SHIDIF_EMPTYMENU);
    const RECT area = shellsvc::visibleDesktop(leaveMenuBar);
    // The navigation bar shows a full-screen window's title, so the window keeps no caption
    // band of its own; its border stays.
    const LONG style = GetWindowLongW(info->hDlg, GWL_STYLE);
    if (info->hDlg == topLevel && (style & WS_CAPTION) == WS_CAPTION)
      SetWindowLongW(info->hDlg, GWL_STYLE, style & ~WS_DLGFRAME);
    SetWindowPos(info->hDlg, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (flags & SHIDIF_SIPDOWN) SipShowIM(SIPF_OFF);
  if (flags & SHIDIF_EMPTYMENU) {
    SHMENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    bar.hwndParent = info->hDlg;
    bar.dwFlags = SHCMBF_EMPTYBAR;
    SHCreateMenuBar(&bar);
  }
  return shellsvc::setShellState(topLevel, ipc::kShellDoneButton,
                                 (flags & SHIDIF_DONEBUTTON) ? ipc::kShellDoneButton : 0);
}

BOOL WINAPI SHFullScreen(HWND window, DWORD state) {
  HWND topLevel = shellsvc::ownTopLevel(window);
  if (!topLevel) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  struct Pair {
    DWORD show, hide;
    uint32_t bit;
  };
  static constexpr Pair kPairs[] = {{SHFS_SHOWTASKBAR, SHFS_HIDETASKBAR, ipc::kShellTaskBarHidden},
                                    {SHFS_SHOWSIPBUTTON, SHFS_HIDESIPBUTTON, ipc::kShellSipButtonHidden},
                                    {SHFS_SHOWSTARTICON, SHFS_HIDESTARTICON, ipc::kShellStartIconHidden}};
  uint32_t mask = 0, bits = 0;
  for (const auto& pair : kPairs) {
    const bool show = state & pair.show, hide = state & pair.hide;
    if (show && hide) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    if (show || hide) mask |= pair.bit;
    if (hide) bits |= pair.bit;
  }
  if (!mask || (state & ~static_cast<DWORD>(0x3F))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return shellsvc::setShellState(topLevel, mask, bits);
}
