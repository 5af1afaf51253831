#include "shellsvc/menubar/owner_link.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "shellsvc/menubar/menu_bar.h"
#include "user/controls/control_support.h"

namespace handheld::shellsvc {

namespace {

struct Link {
  WNDPROC original = nullptr;
  std::vector<HWND> bars;
};

std::mutex linksLock;
std::unordered_map<HWND, Link> links;

void follow(HWND bar, bool shown) {
  auto* state = user::controls::stateOf<MenuBarState>(bar);
  if (!state) return;
  if (!shown && IsWindowVisible(bar)) {
    state->hiddenWithOwner = true;
    ShowWindow(bar, SW_HIDE);
  } else if (shown && state->hiddenWithOwner) {
    state->hiddenWithOwner = false;
    ShowWindow(bar, SW_SHOWNOACTIVATE);
  }
}

LRESULT CALLBACK ownerProc(HWND owner, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC original = nullptr;
  std::vector<HWND> bars;
  {
    std::lock_guard guard(linksLock);
    auto it = links.find(owner);
    if (it == links.end()) return DefWindowProcW(owner, message, wParam, lParam);
    original = it->second.original;
    bars = it->second.bars;
    if (message == WM_NCDESTROY) links.erase(it);
  }
  if (message == WM_WINDOWPOSCHANGED) {
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
    if (pos && (pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)))
      for (HWND bar : bars) follow(bar, (pos->flags & SWP_SHOWWINDOW) != 0);
  }
  return CallWindowProcW(original, owner, message, wParam, lParam);
}

}  // namespace

bool linkToOwner(HWND bar, HWND owner) {
  std::lock_guard guard(linksLock);
  auto it = links.find(owner);
  if (it == links.end()) {
    const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(owner, GWLP_WNDPROC));
    // A window of another thread (or process) is not wrapped: the bar then only goes with it
    // when it is destroyed.
    if (!original || GetWindowThreadProcessId(owner, nullptr) != GetCurrentThreadId()) return false;
    it = links.emplace(owner, Link{original, {}}).first;
    SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ownerProc));
  }
  it->second.bars.push_back(bar);
  return true;
}

void unlinkFromOwner(HWND bar, HWND owner) {
  std::lock_guard guard(linksLock);
  auto it = links.find(owner);
  if (it == links.end()) return;
  auto& bars = it->second.bars;
  bars.erase(std::remove(bars.begin(), bars.end(), bar), bars.end());
  // Unwrapped only while ours is still the outermost procedure; a later wrapper keeps calling
  // ours, which keeps passing everything on.
  if (bars.empty() && GetWindowLongPtrW(owner, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(ownerProc)) {
    SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.original));
    links.erase(it);
  }
}

}  // namespace handheld::shellsvc
