// Every process registers the common controls with the standard ones when it starts (see
// user/system_classes.cpp), so initialising them only checks the caller's structure.
#include <windows.h>

#include <commctrl.h>

void WINAPI InitCommonControls(void) {}

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
  if (!init || init->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}
