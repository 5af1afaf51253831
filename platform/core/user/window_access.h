// Finding windows by handle and working out where they are. The functions returning or
// taking windows run under userLock().
#pragma once

#include <windows.h>

#include <memory>

#include "user/region.h"
#include "user/window.h"

namespace handheld::user {

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

}  // namespace handheld::user
