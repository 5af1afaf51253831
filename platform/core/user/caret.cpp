// The caret: one per thread, drawn by inverting its window's pixels (an inversion undoes
// itself, so the caret leaves no trace). A system timer of the thread's queue blinks it while
// it is shown in a visible window of the foreground; otherwise it stands still and no timer
// runs, so an idle device spends nothing on it.
#include "user/input_focus.h"

#include <algorithm>
#include <atomic>

#include "user/messages.h"
#include "user/window.h"

using namespace handheld::user;

namespace {

constexpr UINT kDefaultBlinkMs = 500;
constexpr UINT_PTR kBlinkTimerId = 1;  // system timers have ids of their own
const HBITMAP kGreyCaret = reinterpret_cast<HBITMAP>(1);

std::atomic<UINT> blinkTime{kDefaultBlinkMs};

struct Caret {
  HWND window = nullptr;     // null: the thread has no caret
  HBITMAP bitmap = nullptr;  // its shape, or null for a block
  bool grey = false;
  int width = 0;
  int height = 0;
  POINT position{};          // client coordinates of the window
  int hides = 0;             // HideCaret calls ShowCaret has not matched (1 when made)
  bool paintHidden = false;  // taken off while its window paints
  bool drawn = false;        // its inversion is on the pixels now
};
thread_local Caret caret;

BOOL fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

void invert(const Caret& c) {
  HDC hdc = GetDC(c.window);
  if (!hdc) return;
  const int x = c.position.x;
  const int y = c.position.y;
  if (c.bitmap) {
    HDC source = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(source, c.bitmap);
    BitBlt(hdc, x, y, c.width, c.height, source, 0, 0, SRCINVERT);
    SelectObject(source, old);
    DeleteDC(source);
  } else if (c.grey) {
    HGDIOBJ old = SelectObject(hdc, GetStockObject(GRAY_BRUSH));
    PatBlt(hdc, x, y, c.width, c.height, PATINVERT);
    SelectObject(hdc, old);
  } else {
    PatBlt(hdc, x, y, c.width, c.height, DSTINVERT);
  }
  ReleaseDC(c.window, hdc);
}

void setDrawn(bool on) {
  if (caret.drawn == on) return;
  invert(caret);
  caret.drawn = on;
}

bool shown() { return caret.window && caret.hides == 0 && !caret.paintHidden; }

// Whether the thread has a caret; one whose window is gone is forgotten (its timer went with
// the window).
bool alive() {
  if (!caret.window) return false;
  UserGuard guard(userLock());
  if (WindowTable::get().find(caret.window)) return true;
  caret = Caret{};
  return false;
}

void CALLBACK blink(HWND, UINT, UINT_PTR, DWORD);

// Starts or stops the blink timer as the caret's state asks; true while it runs. restart
// begins a new period (the caret has just been drawn).
bool syncTimer(bool restart) {
  UserGuard guard(userLock());
  ThreadQueue* queue = existingCurrentQueue();
  if (!queue) return false;
  const UINT period = blinkTime;
  bool wanted = false;
  if (shown() && period != INFINITE) {
    auto w = WindowTable::get().find(caret.window);
    if (w && effectivelyVisible(*w)) wanted = queue->active == topLevelOf(w)->handle;
  }
  auto it = std::find_if(queue->timers.begin(), queue->timers.end(),
                         [](const Timer& t) { return t.system && t.id == kBlinkTimerId; });
  if (!wanted) {
    if (it != queue->timers.end()) queue->timers.erase(it);
    return false;
  }
  const auto due = Clock::now() + std::chrono::milliseconds(period);
  if (it == queue->timers.end()) {
    queue->timers.push_back(Timer{caret.window, kBlinkTimerId, period, blink, due, true});
  } else if (restart || it->window != caret.window) {
    it->window = caret.window;
    it->due = due;
  }
  return true;
}

// After a change: a caret that does not blink stands shown or hidden as its state says.
void refresh(bool restart) {
  const bool blinking = syncTimer(restart);
  if (!blinking || restart) setDrawn(shown());
}

void CALLBACK blink(HWND, UINT, UINT_PTR, DWORD) {
  if (!alive()) return;
  if (syncTimer(false)) {
    setDrawn(!caret.drawn);
  } else {
    setDrawn(shown());
  }
}

// The caller's caret, when `window` is null or its window.
bool ownsCaret(HWND window) { return alive() && (!window || window == caret.window); }

void destroyCaret() {
  setDrawn(false);
  caret = Caret{};
  syncTimer(false);
}

}  // namespace

namespace handheld::user {

void caretBeforePaint(HWND window) {
  if (caret.window != window || !alive()) return;
  caret.paintHidden = true;
  setDrawn(false);
}

void caretAfterPaint(HWND window) {
  if (caret.window != window || !caret.paintHidden || !alive()) return;
  caret.paintHidden = false;
  refresh(true);
}

void caretActivationChanged() {
  if (alive()) refresh(false);
}

}  // namespace handheld::user

HANDHELD_API BOOL WINAPI CreateCaret(HWND window, HBITMAP bitmap, int width, int height) {
  {
    UserGuard guard(userLock());
    auto w = findOwnWindow(window);
    if (!w) return FALSE;
    if (w->threadId != GetCurrentThreadId()) return fail(ERROR_ACCESS_DENIED);
  }
  Caret made;
  made.window = window;
  made.hides = 1;
  if (bitmap && bitmap != kGreyCaret) {
    BITMAP shape{};
    if (!GetObjectW(bitmap, static_cast<int>(sizeof shape), &shape)) return fail(ERROR_INVALID_HANDLE);
    made.bitmap = bitmap;
    made.width = shape.bmWidth;
    made.height = shape.bmHeight;
  } else {
    if (width < 0 || height < 0) return fail(ERROR_INVALID_PARAMETER);
    made.grey = bitmap == kGreyCaret;
    made.width = width ? width : GetSystemMetrics(SM_CXBORDER);
    made.height = height ? height : GetSystemMetrics(SM_CYBORDER);
  }
  if (alive()) destroyCaret();
  caret = made;
  return TRUE;
}

HANDHELD_API BOOL WINAPI DestroyCaret(void) {
  if (!alive()) return fail(ERROR_ACCESS_DENIED);
  destroyCaret();
  return TRUE;
}

HANDHELD_API BOOL WINAPI ShowCaret(HWND window) {
  if (!ownsCaret(window)) return fail(ERROR_ACCESS_DENIED);
  if (caret.hides == 0) return TRUE;
  if (--caret.hides == 0) refresh(true);
  return TRUE;
}

HANDHELD_API BOOL WINAPI HideCaret(HWND window) {
  if (!ownsCaret(window)) return fail(ERROR_ACCESS_DENIED);
  ++caret.hides;
  refresh(false);
  return TRUE;
}

HANDHELD_API BOOL WINAPI SetCaretPos(int x, int y) {
  if (!alive()) return fail(ERROR_ACCESS_DENIED);
  setDrawn(false);
  caret.position = POINT{x, y};
  refresh(true);
  return TRUE;
}

HANDHELD_API BOOL WINAPI GetCaretPos(LPPOINT point) {
  if (!point) return fail(ERROR_INVALID_PARAMETER);
  if (!alive()) return fail(ERROR_ACCESS_DENIED);
  *point = caret.position;
  return TRUE;
}

HANDHELD_API BOOL WINAPI SetCaretBlinkTime(UINT milliseconds) {
  if (milliseconds == 0) return fail(ERROR_INVALID_PARAMETER);
  blinkTime = milliseconds;
  {
    // Other threads' carets take the new period at their next blink.
    UserGuard guard(userLock());
    for (const auto& [id, queue] : QueueTable::get().all())
      for (Timer& t : queue->timers)
        if (t.system && t.id == kBlinkTimerId) t.interval = milliseconds;
  }
  if (alive()) refresh(false);
  return TRUE;
}

HANDHELD_API UINT WINAPI GetCaretBlinkTime(void) { return blinkTime; }
