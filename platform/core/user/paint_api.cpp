// InvalidateRect, ValidateRect, GetUpdateRect, UpdateWindow, BeginPaint, EndPaint, GetDC,
// ReleaseDC. Every DC draws into the top-level window's surface, clipped to what the window
// may draw (and to the update region for BeginPaint); releasing it reports the damage.
#include <unordered_map>
#include <vector>

#include "gdi/geometry.h"
#include "gdi/surface_dc.h"
#include "user/input_focus.h"
#include "user/controls/scrollbar/scroll_bar.h"
#include "user/device_link.h"
#include "user/paint_state.h"
#include "user/messages.h"
#include "user/window.h"

using namespace handheld;
using namespace handheld::user;

namespace {

struct IssuedDc {
  HWND topLevel;
};

// DCs handed out for windows, under the lock.
std::unordered_map<HDC, IssuedDc>& issuedDcs() {
  static auto* dcs = new std::unordered_map<HDC, IssuedDc>;
  return *dcs;
}

// What a DC of a window without pixels (no size yet, or no window) draws into: nothing.
const std::shared_ptr<gdi::Surface>& placeholderSurface() {
  static auto* surface =
      new std::shared_ptr<gdi::Surface>(gdi::Surface::create(1, 1, gdi::PixelFormat::xrgb32()));
  return *surface;
}

enum class DcArea { Client, WholeWindow };

// updateArea: the client-coordinate area a paint may touch, or null for all it may draw.
HDC windowDC(HWND window, const Region* updateArea, DcArea extent = DcArea::Client) {
  std::shared_ptr<gdi::Surface> surface;
  Region clip;
  POINT origin{0, 0};
  HWND topLevel = nullptr;
  {
    UserGuard guard(userLock());
    auto w = findOwnWindow(window);
    if (!w) return nullptr;
    auto top = topLevelOf(w);
    topLevel = top->handle;
    const bool whole = extent == DcArea::WholeWindow;
    origin = whole ? windowOriginInSurface(*w) : clientOriginInSurface(*w);
    if (top->surface) {
      surface = top->surface->pixels();
      clip = whole ? drawableWindowArea(*w) : drawableClientArea(*w);
      if (updateArea) {
        Region area = *updateArea;
        area.offset(origin.x, origin.y);
        clip.intersect(area);
      }
    } else {
      surface = placeholderSurface();
    }
  }
  HDC hdc = gdi::createSurfaceDC(surface, origin, clip.rects());
  if (!hdc) return nullptr;
  UserGuard guard(userLock());
  issuedDcs()[hdc] = IssuedDc{topLevel};
  return hdc;
}

bool releaseWindowDC(HDC hdc) {
  IssuedDc issued{};
  {
    UserGuard guard(userLock());
    auto it = issuedDcs().find(hdc);
    if (it == issuedDcs().end()) return false;
    issued = it->second;
    issuedDcs().erase(it);
  }
  RECT damage = gdi::surfaceDCDamage(hdc);
  gdi::releaseSurfaceDC(hdc);
  if (issued.topLevel && !gdi::isEmpty(damage))
    deviceLink().notify(ipc::SurfaceDamage{handleValue(issued.topLevel), damage.left, damage.top,
                                           damage.right, damage.bottom});
  return true;
}

void paintTree(HWND window) {
  std::vector<HWND> children;
  bool needsPaint = false;
  {
    UserGuard guard(userLock());
    auto w = WindowTable::get().find(window);
    if (!w) return;
    needsPaint = !w->update.empty();
    children = w->children;
  }
  if (needsPaint) sendMessage(window, WM_PAINT, 0, 0);
  for (HWND child : children) paintTree(child);
}

}  // namespace

HANDHELD_API BOOL WINAPI InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  UserGuard guard(userLock());
  if (!window) {
    for (const auto& [value, w] : WindowTable::get().all())
      if (!w->isChild()) invalidateClientArea(*w, Region(clientRect(*w)), erase);
    return TRUE;
  }
  auto w = findOwnWindow(window);
  if (!w) return FALSE;
  invalidateClientArea(*w, Region(rect ? *rect : clientRect(*w)), erase);
  return TRUE;
}

HANDHELD_API BOOL WINAPI ValidateRect(HWND window, const RECT* rect) {
  UserGuard guard(userLock());
  auto w = findOwnWindow(window);
  if (!w) return FALSE;
  Region remaining = w->update;
  if (rect) {
    remaining.subtract(*rect);
  } else {
    remaining.clear();
  }
  setUpdateRegion(*w, std::move(remaining), false);
  return TRUE;
}

HANDHELD_API BOOL WINAPI GetUpdateRect(HWND window, LPRECT rect, BOOL erase) {
  Region update;
  bool eraseNow = false;
  {
    UserGuard guard(userLock());
    auto w = findOwnWindow(window);
    if (!w) return FALSE;
    update = w->update;
    eraseNow = erase && w->erasePending;
    if (eraseNow) w->erasePending = false;
  }
  if (rect) *rect = update.bounds();
  if (eraseNow) {
    HDC hdc = windowDC(window, &update);
    sendMessage(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    releaseWindowDC(hdc);
  }
  return !update.empty();
}

HANDHELD_API BOOL WINAPI UpdateWindow(HWND window) {
  {
    UserGuard guard(userLock());
    if (!findOwnWindow(window)) return FALSE;
  }
  paintTree(window);
  return TRUE;
}

HANDHELD_API HDC WINAPI BeginPaint(HWND window, LPPAINTSTRUCT paint) {
  if (!paint) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Region update;
  bool erase = false;
  {
    UserGuard guard(userLock());
    auto w = findOwnWindow(window);
    if (!w) return nullptr;
    update = w->update;
    erase = w->erasePending;
    update.intersect(clientRect(*w));
    setUpdateRegion(*w, Region(), false);
    w->beganPaint = true;
  }
  drawWindowScrollBars(window);
  caretBeforePaint(window);
  HDC hdc = windowDC(window, &update);
  *paint = PAINTSTRUCT{};
  paint->hdc = hdc;
  paint->rcPaint = update.bounds();
  if (erase && hdc) paint->fErase = sendMessage(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) == 0;
  return hdc;
}

HANDHELD_API BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT* paint) {
  const bool released = paint && paint->hdc && releaseWindowDC(paint->hdc);
  caretAfterPaint(window);
  return released;
}

// GetDC(NULL) gives a DC for measuring that draws nothing: the screen belongs to the
// compositor.
HANDHELD_API HDC WINAPI GetDC(HWND window) {
  if (!window) {
    HDC hdc = gdi::createSurfaceDC(placeholderSurface(), POINT{0, 0}, {});
    if (hdc) {
      UserGuard guard(userLock());
      issuedDcs()[hdc] = IssuedDc{nullptr};
    }
    return hdc;
  }
  if (classifyHandle(window) == HandleKind::Foreign) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  return windowDC(window, nullptr);
}

HANDHELD_API HDC WINAPI GetWindowDC(HWND window) {
  if (classifyHandle(window) == HandleKind::Foreign) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  if (!window) return GetDC(nullptr);
  return windowDC(window, nullptr, DcArea::WholeWindow);
}

HANDHELD_API int WINAPI ReleaseDC(HWND, HDC hdc) { return releaseWindowDC(hdc) ? 1 : 0; }
