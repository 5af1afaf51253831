// SHSipInfo, SipGetInfo, SipSetInfo, SipShowIM, SHSipPreference, SHHandleWMSettingChange and
// SHHandleWMActivate: the device server keeps the one panel; these ask it and follow it.
#include "shellsvc/input_panel.h"

#include <aygshell.h>

#include <cstddef>
#include <cstring>

#include "user/device_link.h"
#include "user/window.h"

using namespace handheld;

namespace {

// The part of a SIPINFO both sizes share: everything before the input method's data pointer
// (and before the padding that precedes the pointer on this platform).
constexpr size_t kSharedSipInfoBytes = offsetof(SIPINFO, dwImDataSize) + sizeof(DWORD);
static_assert(kSharedSipInfoBytes <= shellsvc::kSipInfoSize32);

// The size a SHACTIVATEINFO has on a 32-bit device.
constexpr DWORD kActivateInfoSize32 = 12;

bool acceptedSipInfoSize(DWORD size) { return size == sizeof(SIPINFO) || size == shellsvc::kSipInfoSize32; }

bool acceptedActivateInfo(const SHACTIVATEINFO* info) {
  return info && (info->cbSize == sizeof(SHACTIVATEINFO) || info->cbSize == kActivateInfoSize32);
}

BOOL fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

RECT toRect(int32_t left, int32_t top, int32_t right, int32_t bottom) { return RECT{left, top, right, bottom}; }

// The top-level window a window of this process belongs to; null for another's.
HWND ownTopLevel(HWND window) {
  user::UserGuard guard(user::userLock());
  auto w = user::findOwnWindow(window);
  return w ? user::topLevelOf(w)->handle : nullptr;
}

bool panelUp() {
  auto reply = user::deviceLink().call<ipc::InputPanelGet>({});
  return reply && (reply->flags & SIPF_ON);
}

}  // namespace

namespace handheld::shellsvc {

BOOL getPanelInfo(void* info) {
  if (!info) return fail(ERROR_INVALID_PARAMETER);
  SIPINFO answer{};
  std::memcpy(&answer.cbSize, info, sizeof answer.cbSize);
  if (!acceptedSipInfoSize(answer.cbSize)) return fail(ERROR_INVALID_PARAMETER);
  auto reply = user::deviceLink().call<ipc::InputPanelGet>({});
  if (!reply) return fail(ERROR_GEN_FAILURE);
  answer.fdwFlags = reply->flags;
  answer.rcVisibleDesktop = toRect(reply->visibleLeft, reply->visibleTop, reply->visibleRight, reply->visibleBottom);
  answer.rcSipRect = toRect(reply->panelLeft, reply->panelTop, reply->panelRight, reply->panelBottom);
  answer.dwImDataSize = 0;
  // A 32-bit caller's structure ends with a 4-byte pointer that ours does not have in that
  // place: it is left as the caller gave it.
  std::memcpy(info, &answer, answer.cbSize == sizeof(SIPINFO) ? sizeof(SIPINFO) : kSharedSipInfoBytes);
  return TRUE;
}

BOOL setPanelInfo(const void* info) {
  if (!info) return fail(ERROR_INVALID_PARAMETER);
  SIPINFO given{};
  std::memcpy(&given.cbSize, info, sizeof given.cbSize);
  if (!acceptedSipInfoSize(given.cbSize)) return fail(ERROR_INVALID_PARAMETER);
  std::memcpy(&given, info, kSharedSipInfoBytes);
  // The panel is always docked: a caller that read the flags back may pass that bit along.
  auto reply = user::deviceLink().call<ipc::InputPanelSet>({given.fdwFlags});
  if (!reply) return fail(ERROR_GEN_FAILURE);
  if (reply->error) return fail(reply->error);
  return TRUE;
}

BOOL showPanel(bool up) {
  auto current = user::deviceLink().call<ipc::InputPanelGet>({});
  if (!current) return fail(ERROR_GEN_FAILURE);
  const uint32_t flags = up ? (current->flags | SIPF_ON) : (current->flags & ~uint32_t{SIPF_ON});
  auto reply = user::deviceLink().call<ipc::InputPanelSet>({flags});
  if (!reply) return fail(ERROR_GEN_FAILURE);
  if (reply->error) return fail(reply->error);
  return TRUE;
}

}  // namespace handheld::shellsvc

HANDHELD_API BOOL WINAPI SHSipInfo(UINT action, UINT param, PVOID value, UINT winIni) {
  if (action != SPI_GETSIPINFO && action != SPI_SETSIPINFO) return fail(ERROR_INVALID_PARAMETER);
  return SystemParametersInfoW(action, param, value, winIni);
}

HANDHELD_API BOOL WINAPI SipGetInfo(SIPINFO* info) { return shellsvc::getPanelInfo(info); }

HANDHELD_API BOOL WINAPI SipSetInfo(SIPINFO* info) { return shellsvc::setPanelInfo(info); }

HANDHELD_API BOOL WINAPI SipShowIM(DWORD flags) {
  if (flags != SIPF_ON && flags != SIPF_OFF) return fail(ERROR_INVALID_PARAMETER);
  return shellsvc::showPanel(flags == SIPF_ON);
}

HANDHELD_API BOOL WINAPI SHSipPreference(HWND window, SIPSTATE state) {
  if (state < SIP_UP || state > SIP_INPUTDIALOG) return fail(ERROR_INVALID_PARAMETER);
  HWND topLevel = ownTopLevel(window);
  if (!topLevel) return fail(ERROR_INVALID_WINDOW_HANDLE);
  auto reply = user::deviceLink().call<ipc::InputPanelPrefer>(
      {user::handleValue(topLevel), static_cast<ipc::PanelWish>(state)});
  if (!reply) return fail(ERROR_GEN_FAILURE);
  if (reply->error) return fail(reply->error);
  return TRUE;
}

HANDHELD_API BOOL WINAPI SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM, SHACTIVATEINFO* info) {
  if (info && !acceptedActivateInfo(info)) return fail(ERROR_INVALID_PARAMETER);
  if (wParam != SPI_SETSIPINFO) return TRUE;
  SIPINFO panel{};
  panel.cbSize = sizeof panel;
  if (!SipGetInfo(&panel)) return FALSE;
  const bool up = (panel.fdwFlags & SIPF_ON) != 0;
  if (info) info->fSipUp = up;
  RECT rect{};
  if (!GetWindowRect(window, &rect)) return FALSE;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  // A full-screen window ends at the panel while it is up, at the menu-bar area otherwise.
  const LONG bottom = up ? panel.rcVisibleDesktop.bottom : work.bottom;
  if (rect.bottom == bottom || bottom <= rect.top) return TRUE;
  return SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, bottom - rect.top,
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HANDHELD_API BOOL WINAPI SHHandleWMActivate(HWND, WPARAM wParam, LPARAM, SHACTIVATEINFO* info, DWORD flags) {
  if (!acceptedActivateInfo(info)) return fail(ERROR_INVALID_PARAMETER);
  if (LOWORD(wParam) == WA_INACTIVE) {
    info->fActive = 0;
    info->fSipOnDeactivation = panelUp();
    info->hwndLastFocus = GetFocus();
    return TRUE;
  }
  info->fActive = 1;
  // An input dialog keeps the panel as the user left it; another window gets back its own.
  if (!(flags & SHA_INPUTDIALOG)) {
    const bool wanted = info->fSipOnDeactivation != 0;
    if (wanted != panelUp() && !shellsvc::showPanel(wanted)) return FALSE;
  }
  info->fSipUp = panelUp();
  if (info->hwndLastFocus && IsWindow(info->hwndLastFocus)) SetFocus(info->hwndLastFocus);
  return TRUE;
}
