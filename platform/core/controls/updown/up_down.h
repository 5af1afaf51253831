// The "msctls_updown32" class: two arrow buttons that move a position within a range, by
// steps that grow while an arrow is held (the accelerators). The buddy window beside it may
// show the position as text (UDS_SETBUDDYINT) and pass its arrow keys on (UDS_ARROWKEYS).
// Each step asks the parent first (UDN_DELTAPOS, refused by a non-zero answer) and then
// tells it (WM_VSCROLL, or WM_HSCROLL with UDS_HORZ, with SB_THUMBPOSITION).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

namespace handheld::controls {

struct UpDownState {
  int lower = 100;  // the range a new control has: the up arrow counts down from 100 to 0
  int upper = 0;
  int position = 0;
  HWND buddy = nullptr;
  std::vector<UDACCEL> accels{{0, 1}, {2, 5}, {5, 20}};
  int pressed = 0;  // +1 the up (right) arrow is held, -1 the down (left) one, 0 none
  bool pressedInside = false;
  DWORD pressedSince = 0;
  bool focused = false;
};

WNDCLASSW upDownClass();
void paintUpDown(HWND upDown, HDC hdc, const UpDownState& state);

// The buddy's arrow keys go to the up-down while it is its buddy (updown_buddy.cpp).
void subclassBuddy(HWND buddy, HWND upDown);
void releaseBuddy(HWND buddy, HWND upDown);

}  // namespace handheld::controls
