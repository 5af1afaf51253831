// SetWindowTextW, GetWindowTextW, GetWindowTextLengthW.
#include <algorithm>

#include "user/device_link.h"
#include "user/messages.h"
#include "user/window.h"

using namespace handheld::user;

HANDHELD_API BOOL WINAPI SetWindowTextW(HWND window, LPCWSTR text) {
  switch (classifyHandle(window)) {
    case HandleKind::Own:
      return sendMessage(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0;
    case HandleKind::Foreign:
      SetLastError(ERROR_ACCESS_DENIED);  // the text would have to travel as a pointer
      return FALSE;
    default:
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
  }
}

HANDHELD_API int WINAPI GetWindowTextW(HWND window, LPWSTR text, int maxCount) {
  if (!text || maxCount <= 0) return 0;
  text[0] = 0;
  switch (classifyHandle(window)) {
    case HandleKind::Own:
      return static_cast<int>(sendMessage(window, WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                          reinterpret_cast<LPARAM>(text)));
    case HandleKind::Foreign: {
      auto record = describeForeign(window);
      if (!record) return 0;
      size_t count = std::min(record->text.size(), static_cast<size_t>(maxCount) - 1);
      std::copy_n(record->text.data(), count, text);
      text[count] = 0;
      return static_cast<int>(count);
    }
    default:
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
  }
}

HANDHELD_API int WINAPI GetWindowTextLengthW(HWND window) {
  switch (classifyHandle(window)) {
    case HandleKind::Own:
      return static_cast<int>(sendMessage(window, WM_GETTEXTLENGTH, 0, 0));
    case HandleKind::Foreign: {
      auto record = describeForeign(window);
      return record ? static_cast<int>(record->text.size()) : 0;
    }
    default:
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
  }
}
