// SHRecognizeGesture: tap-and-hold. A short message loop of its own watches the stylus with
// the window holding the capture; a thread timer steps the hold feedback and ends the hold,
// and between messages the thread sleeps in WaitMessage.
#include <aygshell.h>
#include <windows.h>

#include <cstdlib>

#include "shellsvc/gesture/hold_feedback.h"
#include "user/controls/control_support.h"

using namespace handheld;

namespace {

enum class Outcome { Watching, Held, Ended };

class HoldWatch {
 public:
  HoldWatch(HWND window, POINT down, DWORD flags)
      : window_(window),
        down_(down),
        holdMs_((flags & SHRG_LONGDELAY) ? 2 * user::controls::kHoldTimeMs : user::controls::kHoldTimeMs),
        feedback_(window, down, !(flags & SHRG_NOANIMATION)) {}

  Outcome run();

 private:
  // Whether a stylus message ends the watch; it then stays queued for the window.
  bool endsWatch(const MSG& msg) const;

  HWND window_;
  POINT down_;
  UINT holdMs_;
  shellsvc::HoldFeedback feedback_;
};

bool HoldWatch::endsWatch(const MSG& msg) const {
  if (msg.message == WM_MOUSEMOVE) {
    // Stylus jitter within the drag distance is still a hold.
    POINT at{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    if (msg.hwnd != window_) {
      ClientToScreen(msg.hwnd, &at);
      ScreenToClient(window_, &at);
    }
    return std::abs(at.x - down_.x) > GetSystemMetrics(SM_CXDRAG) ||
           std::abs(at.y - down_.y) > GetSystemMetrics(SM_CYDRAG);
  }
  return msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST;
}

Outcome HoldWatch::run() {
  const UINT_PTR timer = SetTimer(nullptr, 0, holdMs_ / shellsvc::HoldFeedback::kDots, nullptr);
  if (!timer) return Outcome::Ended;
  const bool hadCapture = GetCapture() == window_;
  if (!hadCapture) SetCapture(window_);
  int steps = 0;
  Outcome outcome = Outcome::Watching;
  while (outcome == Outcome::Watching) {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      WaitMessage();
      continue;
    }
    // Lifting, moving away and quitting are left queued for their usual handling.
    if (msg.message == WM_QUIT || endsWatch(msg)) {
      outcome = Outcome::Ended;
      break;
    }
    PeekMessageW(&msg, msg.hwnd, msg.message, msg.message, PM_REMOVE);
    if (msg.message == WM_TIMER && !msg.hwnd && msg.wParam == timer) {
      feedback_.show(++steps);
      if (steps >= shellsvc::HoldFeedback::kDots) outcome = Outcome::Held;
    } else if (msg.message != WM_MOUSEMOVE) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (!IsWindow(window_) || GetCapture() != window_) outcome = Outcome::Ended;
  }
  KillTimer(nullptr, timer);
  if (!hadCapture && IsWindow(window_) && GetCapture() == window_) ReleaseCapture();
  return outcome;
}

}  // namespace

HANDHELD_API DWORD WINAPI SHRecognizeGesture(PSHRGINFO info) {
  if (!info || info->cbSize != sizeof(SHRGINFO) || !IsWindow(info->hwndClient)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const SHRGINFO request = *info;
  HWND window = request.hwndClient;
  Outcome outcome;
  {
    HoldWatch watch(window, request.ptDown, request.dwFlags);
    outcome = watch.run();
  }  // the feedback is gone before anyone hears of the hold
  if (outcome != Outcome::Held || !IsWindow(window)) return 0;
  if (request.dwFlags & SHRG_RETURNCMD) return GN_CONTEXTMENU;
  NMRGINFO notice{};
  notice.ptAction = request.ptDown;
  ClientToScreen(window, &notice.ptAction);
  if (request.dwFlags & SHRG_NOTIFYPARENT)
    return static_cast<DWORD>(user::controls::notifyParent(window, notice.hdr, GN_CONTEXTMENU));
  notice.hdr.hwndFrom = window;
  notice.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(window));
  notice.hdr.code = GN_CONTEXTMENU;
  return static_cast<DWORD>(
      SendMessageW(window, WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice)));
}
