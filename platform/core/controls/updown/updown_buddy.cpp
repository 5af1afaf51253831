// The buddy's procedure is wrapped while UDS_ARROWKEYS holds: its up and down keys step the
// up-down, and it asks for the arrows in dialogs. The original procedure comes back when the
// up-down lets the buddy go, or when the buddy is destroyed first.
#include <map>
#include <mutex>
#include <optional>

#include "controls/updown/up_down.h"

namespace handheld::controls {

namespace {

struct Wrapped {
  HWND upDown;
  WNDPROC original;
};

std::mutex& lock() {
  static std::mutex m;
  return m;
}
std::map<HWND, Wrapped>& wrapped() {
  static std::map<HWND, Wrapped> table;
  return table;
}

std::optional<Wrapped> find(HWND buddy) {
  std::lock_guard guard(lock());
  auto it = wrapped().find(buddy);
  if (it == wrapped().end()) return std::nullopt;
  return it->second;
}

LRESULT CALLBACK buddyProc(HWND buddy, UINT message, WPARAM wParam, LPARAM lParam) {
  auto entry = find(buddy);
  if (!entry) return DefWindowProcW(buddy, message, wParam, lParam);
  switch (message) {
    case WM_GETDLGCODE:
      return CallWindowProcW(entry->original, buddy, message, wParam, lParam) | DLGC_WANTARROWS;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (wParam == VK_UP || wParam == VK_DOWN) return SendMessageW(entry->upDown, message, wParam, lParam);
      break;
    case WM_NCDESTROY: {
      // The window goes: the entry with it, and the up-down forgets its buddy.
      std::unique_lock guard(lock());
      wrapped().erase(buddy);
      guard.unlock();
      if (SendMessageW(entry->upDown, UDM_GETBUDDY, 0, 0) == reinterpret_cast<LRESULT>(buddy))
        SendMessageW(entry->upDown, UDM_SETBUDDY, 0, 0);
      return CallWindowProcW(entry->original, buddy, message, wParam, lParam);
    }
    default: break;
  }
  return CallWindowProcW(entry->original, buddy, message, wParam, lParam);
}

}  // namespace

void subclassBuddy(HWND buddy, HWND upDown) {
  if (!buddy || find(buddy)) return;
  auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(buddy, GWLP_WNDPROC));
  if (!original) return;
  {
    std::lock_guard guard(lock());
    wrapped()[buddy] = {upDown, original};
  }
  SetWindowLongPtrW(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(buddyProc));
}

void releaseBuddy(HWND buddy, HWND upDown) {
  auto entry = find(buddy);
  if (!entry || entry->upDown != upDown) return;
  // Only while nobody wrapped the buddy after us; otherwise the entry stays for our wrapper.
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(buddy, GWLP_WNDPROC)) == buddyProc)
    SetWindowLongPtrW(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry->original));
  else
    return;
  std::lock_guard guard(lock());
  wrapped().erase(buddy);
}

}  // namespace handheld::controls
