// DialogBoxParamW, DialogBoxIndirectParamW and EndDialog: the modal loop.
#include "resources/resource_access.h"
#include "user/dialogs/dialog_info.h"
#include "user/dialogs/dialogs.h"

using namespace handheld;
using namespace handheld::user::dialogs;

namespace {

bool ended(HWND dialog) {
  auto info = dialogInfo(dialog);
  return !info || info->ended;
}

}  // namespace

namespace handheld::user::dialogs {

INT_PTR runModal(HWND dialog) {
  auto started = dialogInfo(dialog);
  HWND disabled = started ? started->disabledOwner : nullptr;
  if (!ended(dialog)) ShowWindow(dialog, SW_SHOW);
  MSG message;
  while (IsWindow(dialog) && !ended(dialog)) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (!IsDialogMessageW(dialog, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  auto info = dialogInfo(dialog);
  INT_PTR result = info && info->ended ? info->result : 0;
  // EndDialog enabled it; a dialog destroyed without it leaves that to us.
  if (disabled && IsWindow(disabled) && !IsWindowEnabled(disabled)) EnableWindow(disabled, TRUE);
  if (IsWindow(dialog)) DestroyWindow(dialog);
  return result;
}

}  // namespace handheld::user::dialogs

namespace {

INT_PTR runTemplate(HINSTANCE instance, const resources::DialogTemplate& t, HWND owner, DLGPROC procedure,
                    LPARAM initParam) {
  HWND dialog = createDialog(instance, t, owner, procedure, initParam, true);
  if (!dialog) return -1;
  return runModal(dialog);
}

}  // namespace

HANDHELD_API INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate,
                                                    HWND owner, DLGPROC procedure, LPARAM initParam) {
  auto decoded = decodeIndirect(dialogTemplate);
  if (!decoded) {
    SetLastError(ERROR_INVALID_DATA);
    return -1;
  }
  return runTemplate(instance, *decoded, owner, procedure, initParam);
}

HANDHELD_API INT_PTR WINAPI DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner,
                                            DLGPROC procedure, LPARAM initParam) {
  auto decoded = resources::loadDialog(instance, templateName);
  if (!decoded) return -1;
  return runTemplate(instance, *decoded, owner, procedure, initParam);
}

HANDHELD_API BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
  HWND owner = nullptr;
  bool known = changeDialog(dialog, [&](DialogInfo& info) {
    info.ended = true;
    info.result = result;
    owner = info.disabledOwner;
    info.disabledOwner = nullptr;
  });
  if (!known) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  // The owner first, so that it is the window activated when the dialog hides.
  if (owner && IsWindow(owner)) EnableWindow(owner, TRUE);
  ShowWindow(dialog, SW_HIDE);
  // Wakes the loop, which may be waiting for a message in an outer level.
  PostMessageW(dialog, WM_NULL, 0, 0);
  return TRUE;
}
