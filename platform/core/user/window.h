// The window records of this process: the table of windows behind their handles, the lock that
// guards it, access to a window by handle, its text, its release and destruction, and calling its
// procedure.
#pragma once

#include <windows.h>
#include <memory>
#include <string>
#include <vector>
#include <mutex>
#include <cstdint>
#include <unordered_map>

#include "user/region.h"
#include "user/window_class.h"
#include "user/window_surface.h"

namespace handheld::user {

// ---- window ----
// One window of this process. Every field is read and written under userLock().
struct ScrollBars;

struct Window {
  enum class State { Creating, Alive, Destroying };

  HWND handle = nullptr;
  std::shared_ptr<WindowClass> windowClass;
  DWORD threadId = 0;
  State state = State::Creating;

  HWND parent = nullptr;        // child windows
  HWND owner = nullptr;         // top-level windows
  std::vector<HWND> children;   // front of the z-order first
  DWORD style = 0;
  DWORD exStyle = 0;
  LONG_PTR id = 0;              // GWLP_ID: a child's control id
  LONG_PTR userData = 0;
  WNDPROC procedure = nullptr;
  HINSTANCE instance = nullptr;
  std::u16string text;
  RECT rect{};                  // in the parent's client coordinates; screen for top-level
  std::vector<uint8_t> extra;   // cbWndExtra bytes

  Region update;                // client coordinates
  bool erasePending = false;
  bool beganPaint = false;      // BeginPaint ran during the current WM_PAINT

  std::shared_ptr<WindowSurface> surface;  // top-level windows with a size
  uint32_t version = 0;                    // of the server's copy (top-level windows)

  std::shared_ptr<ScrollBars> scrollBars;  // made when first used

  bool isChild() const { return (style & WS_CHILD) != 0; }
  bool visibleFlag() const { return (style & WS_VISIBLE) != 0; }
  bool enabledFlag() const { return (style & WS_DISABLED) == 0; }
};

// ---- user lock ----
// One lock guards every window, class and message queue of the process. It is never held
// while a window procedure runs or while the process waits for the device server.
std::mutex& userLock();
using UserGuard = std::unique_lock<std::mutex>;

// ---- window handle ----
// Window handle values: (the owning process's window slot << 20) | serial. They are unique on
// the device and fit in 32 bits, so any process can tell whose window a number names - and
// must still look it up before trusting it.
inline constexpr uint32_t kSerialBits = 20;
inline constexpr uint32_t kSerialMask = (1u << kSerialBits) - 1;
// The desktop: slot 0 is never given to a process.
inline constexpr uint32_t kDesktopHandle = 1;

// The 32-bit value of a handle; 0 for NULL and for values that cannot be window handles.
inline uint32_t handleValue(HWND window) {
  auto raw = reinterpret_cast<uintptr_t>(window);
  return raw > UINT32_MAX ? 0 : static_cast<uint32_t>(raw);
}
inline HWND toHwnd(uint32_t value) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(value)); }
inline uint32_t slotOf(uint32_t value) { return value >> kSerialBits; }
inline uint32_t serialOf(uint32_t value) { return value & kSerialMask; }
inline uint32_t makeHandleValue(uint32_t slot, uint32_t serial) {
  return (slot << kSerialBits) | (serial & kSerialMask);
}

// ---- window table ----
// The windows of this process by handle. All access happens under userLock().
class WindowTable {
 public:
  static WindowTable& get();

  // A window of this process that has not finished its destruction, or null.
  std::shared_ptr<Window> find(HWND handle) const;
  // Gives the window its handle (serials wrap and skip live ones); false when full.
  bool insert(const std::shared_ptr<Window>& window, uint32_t slot);
  void erase(HWND handle);
  const std::unordered_map<uint32_t, std::shared_ptr<Window>>& all() const { return windows_; }

 private:
  WindowTable() = default;
  std::unordered_map<uint32_t, std::shared_ptr<Window>> windows_;
  uint32_t nextSerial_ = 1;
};

// ---- window access ----
// Finding windows by handle and working out where they are. The functions returning or
// taking windows run under userLock().
enum class HandleKind {
  Null,
  Own,      // this process's slot (the window may still be gone)
  Foreign,  // another process's slot: ask the server
  Desktop,
  Invalid,  // cannot be a window handle
};
HandleKind classifyHandle(HWND window);

// This process's window, or null with ERROR_INVALID_WINDOW_HANDLE.
std::shared_ptr<Window> findOwnWindow(HWND window);
// The top-level window a window belongs to (itself when it is one).
std::shared_ptr<Window> topLevelOf(const std::shared_ptr<Window>& window);
// Whether `window` lies below `ancestor` (not the same window).
bool isDescendant(HWND ancestor, HWND window);
// The window and every parent have WS_VISIBLE.
bool effectivelyVisible(const Window& window);

// The deepest visible, enabled child of `window` at a screen point (the window itself when
// none is there).
HWND deepestChildAt(const std::shared_ptr<Window>& window, POINT screen);

// The frame and caption widths a style gives (left, top, right, bottom), from the metrics.
RECT nonClientInsets(DWORD style, DWORD exStyle);
// {0, 0, width, height} of the client area.
RECT clientRect(const Window& window);
POINT clientOriginOnScreen(const Window& window);
RECT windowRectOnScreen(const Window& window);
// Where the window's client (0,0) is inside its top-level window's surface.
POINT clientOriginInSurface(const Window& window);
// The pixels of the window's client area it may draw, in surface coordinates: inside every
// parent's client area, without visible children and siblings in front (as the device
// always clips).
Region drawableClientArea(const Window& window);
// The same for the whole window, its frame and scroll bars included.
Region drawableWindowArea(const Window& window);
// Where the window's top-left corner is inside its top-level window's surface.
POINT windowOriginInSurface(const Window& window);

// ---- window release ----
// The last step of a window's life.
// Under the lock: takes a window out of the process for good - its table entry, its place
// in its parent's list, its class's count, and its queue's messages, timers and references.
void forgetWindow(Window& window);

// ---- window text ----
// A window's text as DefWindowProcW keeps it; top-level titles are mirrored in the server.
void storeWindowText(HWND window, std::u16string text);

// ---- destroy ----
// Taking windows down.
// DestroyWindow's work on one of the calling thread's windows: its owned windows first, then
// hidden, capture and focus released, WM_DESTROY from the window down to its children,
// WM_NCDESTROY from the children up.
void destroyWindowTree(HWND window);
// A window whose creation failed: WM_NCDESTROY (when it saw WM_NCCREATE) and gone.
void abandonWindow(HWND window, bool sendNcDestroy);

// ---- window proc ----
// Calling window procedures: always without the lock, with the procedure the window has at
// that moment.
// 0 with ERROR_INVALID_WINDOW_HANDLE when the window is gone.
LRESULT callWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// WM_PAINT to a window: a procedure that neither called BeginPaint nor emptied the update
// region would be asked again at once, for ever; its region is validated instead.
LRESULT deliverPaint(HWND window);

}  // namespace handheld::user
