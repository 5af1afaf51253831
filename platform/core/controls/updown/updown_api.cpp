// CreateUpDownControl: the window, then its buddy, range and position.
#include <windows.h>

#include <commctrl.h>

HWND WINAPI CreateUpDownControl(DWORD style, int x, int y, int cx, int cy, HWND parent, int id, HINSTANCE instance,
                                HWND buddy, int upper, int lower, int position) {
  HWND upDown = CreateWindowExW(0, UPDOWN_CLASSW, nullptr, style, x, y, cx, cy, parent,
                                reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), instance, nullptr);
  if (!upDown) return nullptr;
  if (buddy) SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
  SendMessageW(upDown, UDM_SETRANGE32, static_cast<WPARAM>(lower), upper);
  SendMessageW(upDown, UDM_SETPOS32, 0, position);
  return upDown;
}
