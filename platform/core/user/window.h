// One window of this process. Every field is read and written under userLock().
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "user/region.h"
#include "user/window_class.h"
#include "user/window_surface.h"

namespace handheld::user {

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

}  // namespace handheld::user
