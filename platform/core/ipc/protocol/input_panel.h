// The input panel: one state for the whole device (up or down, locked), kept by the server,
// with the screen areas it leaves to programs. Every change reaches each top-level window as
// WM_SETTINGCHANGE with SPI_SETSIPINFO; the panel window itself hears it the same way.
#pragma once

#include <cstdint>

#include "ipc/protocol/ops.h"

namespace handheld::ipc {

struct PanelRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const PanelRect&, const PanelRect&) = default;
};

// The handheld's fixed geometry, scaled by the border width (1 at 96 dpi, 2 at 192 dpi):
// the navigation bar at the top, the menu-bar area at the bottom, the panel just above it.
inline constexpr int32_t kNavigationBarHeight = 26;
inline constexpr int32_t kMenuBarHeight = 26;
inline constexpr int32_t kInputPanelHeight = 80;

struct PanelLayout {
  PanelRect workArea;      // the screen without the navigation bar and the menu-bar area
  PanelRect panel;         // where the panel sits while it is up
  PanelRect visibleUp;     // the desktop a program may use while the panel is up
  PanelRect visibleDown;   // ... and while it is down: everything below the navigation bar
};

constexpr PanelLayout panelLayout(int32_t screenWidth, int32_t screenHeight, int32_t border) {
  const int32_t top = kNavigationBarHeight * border;
  const int32_t menuTop = screenHeight - kMenuBarHeight * border;
  const int32_t panelTop = menuTop - kInputPanelHeight * border;
  return {{0, top, screenWidth, menuTop},
          {0, panelTop, screenWidth, menuTop},
          {0, top, screenWidth, panelTop},
          {0, top, screenWidth, screenHeight}};
}

// The panel's flags as SIPINFO carries them.
inline constexpr uint32_t kPanelOn = 0x1;
inline constexpr uint32_t kPanelDocked = 0x2;
inline constexpr uint32_t kPanelLocked = 0x4;

// The panel's state and the rectangles that go with it in the current screen mode.
struct InputPanelGet {
  static constexpr Op op = Op::InputPanelGet;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    HANDHELD_NO_FIELDS
  };
  struct Reply {
    uint32_t flags = 0;
    int32_t visibleLeft = 0, visibleTop = 0, visibleRight = 0, visibleBottom = 0;
    int32_t panelLeft = 0, panelTop = 0, panelRight = 0, panelBottom = 0;
    HANDHELD_FIELDS(flags, visibleLeft, visibleTop, visibleRight, visibleBottom, panelLeft, panelTop,
                    panelRight, panelBottom)
  };
};

// Sets the flags a program may change (on, locked); the panel is always docked. Unknown bits:
// ERROR_INVALID_PARAMETER. A change that moves the panel is announced.
struct InputPanelSet {
  static constexpr Op op = Op::InputPanelSet;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t flags = 0;
    HANDHELD_FIELDS(flags)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// A top-level window's wish for the panel (the SIPSTATE values): applied now, and again each
// time the window becomes the active one. Only the window's own process may state it.
enum class PanelWish : uint32_t { Up = 0, Down = 1, ForceDown = 2, Unchanged = 3, InputDialog = 4 };

struct InputPanelPrefer {
  static constexpr Op op = Op::InputPanelPrefer;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t window = 0;
    PanelWish wish = PanelWish::Unchanged;
    HANDHELD_FIELDS(window, wish)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

}  // namespace handheld::ipc
