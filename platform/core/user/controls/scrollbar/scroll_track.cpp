// The stylus on a scroll bar: a loop of its own that holds the capture until the stylus is
// lifted, so that the window's client never sees these stylus messages. Held arrows and
// track presses repeat on a system timer that exists only while the stylus is down.
#include <algorithm>
#include <chrono>

#include "user/controls/scrollbar/scroll_bar.h"
#include "user/messages.h"
#include "user/window.h"

namespace handheld::user {

namespace {

constexpr UINT_PTR kRepeatTimerId = 2;  // system timer ids are apart from the program's
constexpr UINT kRepeatDelayMs = 400;    // from the press to the first repeat
constexpr UINT kRepeatRateMs = 100;     // between repeats

struct Tracker {
  HWND window;
  int bar;
  ScrollPart part = ScrollPart::None;
  bool vertical = true;
  POINT stylus{};  // screen
  int grab = 0;    // for the thumb: from its leading edge to the stylus, along the bar
};

thread_local Tracker* activeTracker = nullptr;

// Where a control's notifications go: its parent, with its handle.
struct Notify {
  HWND to;
  UINT message;
  LPARAM lParam;
};

Notify notifyTarget(const Tracker& t) {
  const UINT message = t.vertical ? WM_VSCROLL : WM_HSCROLL;
  if (t.bar != SB_CTL) return {t.window, message, 0};
  return {GetParent(t.window), message, reinterpret_cast<LPARAM>(t.window)};
}

void send(const Tracker& t, int code, int position = 0) {
  const Notify n = notifyTarget(t);
  if (n.to) SendMessageW(n.to, n.message, MAKEWPARAM(code, static_cast<WORD>(position)), n.lParam);
}

POINT inBar(const BarPlace& place, POINT screen) {
  return {screen.x - place.screenOrigin.x, screen.y - place.screenOrigin.y};
}

void setPressed(HWND window, int bar, ScrollPart part) {
  {
    UserGuard guard(userLock());
    auto w = WindowTable::get().find(window);
    if (!w) return;
    scrollBarOf(*w, bar).pressed = part;
  }
  redrawBar(window, bar);
}

// Whether the stylus is still on the pressed part (the thumb has not reached it, for the
// track), and that part can still move the bar.
bool stillOnPart(const Tracker& t) {
  auto place = placeOfBar(t.window, t.bar);
  if (!place) return false;
  return partAt(place->layout, inBar(*place, t.stylus)) == t.part;
}

void setRepeatTimer(HWND window, UINT interval, TIMERPROC procedure) {
  UserGuard guard(userLock());
  ThreadQueue* queue = existingCurrentQueue();
  if (!queue) return;
  const auto due = Clock::now() + std::chrono::milliseconds(interval);
  auto it = std::find_if(queue->timers.begin(), queue->timers.end(),
                         [](const Timer& t) { return t.system && t.id == kRepeatTimerId; });
  if (it == queue->timers.end()) {
    queue->timers.push_back(Timer{window, kRepeatTimerId, interval, procedure, due, true});
  } else {
    it->interval = interval;
  }
}

void killRepeatTimer() {
  UserGuard guard(userLock());
  if (ThreadQueue* queue = existingCurrentQueue())
    std::erase_if(queue->timers, [](const Timer& t) { return t.system && t.id == kRepeatTimerId; });
}

void CALLBACK repeat(HWND window, UINT, UINT_PTR, DWORD) {
  Tracker* t = activeTracker;
  if (!t) return;
  if (stillOnPart(*t)) send(*t, scrollCodeOf(t->part));
  setRepeatTimer(window, kRepeatRateMs, repeat);
}

void dragThumb(Tracker& t) {
  auto place = placeOfBar(t.window, t.bar);
  if (!place) return;
  const POINT at = inBar(*place, t.stylus);
  const int along = place->layout.vertical ? at.y : at.x;
  const int position = positionForThumb(place->layout, place->state, along - t.grab);
  {
    UserGuard guard(userLock());
    auto w = WindowTable::get().find(t.window);
    if (!w) return;
    auto& state = scrollBarOf(*w, t.bar);
    if (state.trackPos == position) return;
    state.trackPos = position;
  }
  redrawBar(t.window, t.bar);
  send(t, SB_THUMBTRACK, position);
}

// Starts the press; false when the point holds nothing to press.
bool press(Tracker& t) {
  auto place = placeOfBar(t.window, t.bar);
  if (!place) return false;
  const POINT at = inBar(*place, t.stylus);
  t.part = partAt(place->layout, at);
  t.vertical = place->layout.vertical;
  const auto& state = place->state;
  if (!state.enabled() || !state.scrollable()) return false;
  if (t.part == ScrollPart::LineUp && (state.disabledArrows & ESB_DISABLE_LTUP)) return false;
  if (t.part == ScrollPart::LineDown && (state.disabledArrows & ESB_DISABLE_RTDN)) return false;
  if (t.part == ScrollPart::None) return false;
  if (t.part == ScrollPart::Thumb) {
    t.grab = (place->layout.vertical ? at.y : at.x) - place->layout.thumbStart();
    UserGuard guard(userLock());
    auto w = WindowTable::get().find(t.window);
    if (!w) return false;
    auto& live = scrollBarOf(*w, t.bar);
    live.tracking = true;
    live.trackPos = live.pos;
  }
  return true;
}

// Until the stylus is lifted, the capture goes elsewhere or the thread is told to quit.
void followStylus(Tracker& t) {
  for (;;) {
    if (GetCapture() != t.window || !IsWindow(t.window)) return;
    MSG msg;
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop outside
      return;
    }
    if (got < 0) return;
    // Stylus messages queued before the capture was taken come as non-client ones.
    const bool moved = msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE;
    const bool lifted = msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP;
    if (msg.hwnd == t.window && (moved || lifted)) {
      t.stylus = msg.pt;
      if (lifted) return;
      if (t.part == ScrollPart::Thumb) {
        dragThumb(t);
      } else {
        setPressed(t.window, t.bar, stillOnPart(t) ? t.part : ScrollPart::None);
      }
      continue;
    }
    if (msg.message == WM_LBUTTONDOWN || msg.message == WM_NCLBUTTONDOWN) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

void trackScrollBar(HWND window, int bar, POINT screen) {
  if (activeTracker) return;  // one press at a time
  Tracker tracker{window, bar};
  tracker.stylus = screen;
  if (!press(tracker)) return;
  activeTracker = &tracker;
  SetCapture(window);
  setPressed(window, bar, tracker.part);
  if (tracker.part != ScrollPart::Thumb) {
    send(tracker, scrollCodeOf(tracker.part));
    setRepeatTimer(window, kRepeatDelayMs, repeat);
  }
  followStylus(tracker);
  killRepeatTimer();
  activeTracker = nullptr;
  if (GetCapture() == window) ReleaseCapture();
  if (!IsWindow(window)) return;
  if (tracker.part == ScrollPart::Thumb) {
    int position = 0;
    {
      UserGuard guard(userLock());
      auto w = WindowTable::get().find(window);
      if (!w) return;
      auto& state = scrollBarOf(*w, bar);
      position = state.trackPos;
      state.tracking = false;
    }
    send(tracker, SB_THUMBPOSITION, position);
  }
  setPressed(window, bar, ScrollPart::None);
  send(tracker, SB_ENDSCROLL);
}

}  // namespace handheld::user
