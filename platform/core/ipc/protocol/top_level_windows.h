// Top-level windows as the server keeps them, activation and capture, and questions
// about a process's windows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ipc/protocol/ops.h"

namespace handheld::ipc {

// A window handle is (the owning process's window slot << 20) | serial; the server routes by
// the slot and checks every handle against its table or the owning process. The server keeps
// top-level windows only; a process's child windows live in that process.

// A process that uses windows or messages says so once, before anything can be routed to it;
// only such processes are asked whether they are idle or sent messages.
struct UserAttach {
  static constexpr Op op = Op::UserAttach;
  static constexpr Direction direction = Direction::Notice;
  HANDHELD_NO_FIELDS
};

// One window as the server keeps it (top-level) or a process describes it (any window).
struct WindowRecord {
  uint32_t handle = 0;
  uint32_t parent = 0;    // 0: a top-level window
  uint32_t owner = 0;     // top-level windows: the owner window, or 0
  uint32_t pid = 0;       // set by the server
  uint32_t threadId = 0;  // host thread id of the creating thread
  uint32_t version = 0;   // grows with each change; an older snapshot never replaces a newer
  std::u16string className;
  std::u16string text;
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int64_t id = 0;         // child windows: the control id
  int32_t left = 0, top = 0, right = 0, bottom = 0;  // screen coordinates
  bool visible = false;
  bool enabled = true;
  bool topmost = false;
  bool focused = false;   // describe answers only: the window has its thread's focus
  std::string state;      // describe answers only: what a control shows, a JSON object or empty
  HANDHELD_FIELDS(handle, parent, owner, pid, threadId, version, className, text, style, exStyle,
                  id, left, top, right, bottom, visible, enabled, topmost, focused, state)
};
inline constexpr size_t kMaxClassNameLength = 256;
inline constexpr size_t kMaxWindowTextOnServer = 4096;

// The windows that lost and gained the activation through a request. The server tells every
// other process of its part with ActivationNotice; the requesting process applies its own.
struct ActivationChange {
  uint32_t lost = 0;
  uint32_t gained = 0;
  HANDHELD_FIELDS(lost, gained)
};

struct WindowAdd {
  static constexpr Op op = Op::WindowAdd;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    WindowRecord window;
    HANDHELD_FIELDS(window)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// Replaces the server's record of one of the caller's top-level windows. Hiding or disabling
// the foreground window moves the activation.
struct WindowChange {
  static constexpr Op op = Op::WindowChange;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    WindowRecord window;
    HANDHELD_FIELDS(window)
  };
  struct Reply {
    uint32_t error = 0;
    ActivationChange activation;
    HANDHELD_FIELDS(error, activation)
  };
};

struct WindowRemove {
  static constexpr Op op = Op::WindowRemove;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t handle = 0;
    HANDHELD_FIELDS(handle)
  };
  struct Reply {
    uint32_t error = 0;
    ActivationChange activation;
    HANDHELD_FIELDS(error, activation)
  };
};

// Z-order and activation of a top-level window. insertAfter: a window handle or one of the
// kInsert* values; raise false leaves the order alone.
inline constexpr uint32_t kInsertTop = 0;
inline constexpr uint32_t kInsertBottom = 1;
inline constexpr uint32_t kInsertTopmost = 0xFFFFFFFF;
inline constexpr uint32_t kInsertNoTopmost = 0xFFFFFFFE;
struct WindowArrange {
  static constexpr Op op = Op::WindowArrange;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t handle = 0;
    uint32_t insertAfter = kInsertTop;
    bool raise = true;
    bool activate = true;
    HANDHELD_FIELDS(handle, insertAfter, raise, activate)
  };
  struct Reply {
    uint32_t error = 0;
    ActivationChange activation;
    HANDHELD_FIELDS(error, activation)
  };
};

// Every top-level window, front to back.
struct WindowList {
  static constexpr Op op = Op::WindowList;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    HANDHELD_NO_FIELDS
  };
  struct Reply {
    std::vector<WindowRecord> windows;
    uint32_t foreground = 0;
    HANDHELD_FIELDS(windows, foreground)
  };
};

// The first top-level window after `after` (0: from the front) whose class (compared without
// regard to case) and text (exactly) match; a side that is not asked for matches anything.
struct WindowFind {
  static constexpr Op op = Op::WindowFind;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    bool matchClass = false;
    std::u16string className;
    bool matchText = false;
    std::u16string text;
    uint32_t after = 0;
    HANDHELD_FIELDS(matchClass, className, matchText, text, after)
  };
  struct Reply {
    uint32_t handle = 0;
    HANDHELD_FIELDS(handle)
  };
};

// The front-most visible and enabled top-level window containing a screen point.
struct WindowAtPoint {
  static constexpr Op op = Op::WindowAtPoint;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    int32_t x = 0, y = 0;
    HANDHELD_FIELDS(x, y)
  };
  struct Reply {
    uint32_t handle = 0;
    HANDHELD_FIELDS(handle)
  };
};

struct ForegroundGet {
  static constexpr Op op = Op::ForegroundGet;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    HANDHELD_NO_FIELDS
  };
  struct Reply {
    uint32_t handle = 0;
    HANDHELD_FIELDS(handle)
  };
};

// Pushed to the process owning `handle`: it became active (WA_ACTIVE) or inactive; `other`
// is the window on the other side of the change.
struct ActivationNotice {
  static constexpr Op op = Op::ActivationNotice;
  static constexpr Direction direction = Direction::Push;
  uint32_t handle = 0;
  bool active = false;
  uint32_t other = 0;
  HANDHELD_FIELDS(handle, active, other)
};

// The top-level window that holds the stylus capture in the sending process, or 0.
struct CaptureSet {
  static constexpr Op op = Op::CaptureSet;
  static constexpr Direction direction = Direction::Notice;
  uint32_t handle = 0;
  HANDHELD_FIELDS(handle)
};

// One item of a pop-up menu open on the screen, as its process describes it.
struct MenuItemRecord {
  uint32_t window = 0;  // the menu's window
  std::u16string text;  // with its '&'
  uint32_t id = 0;      // 0xFFFFFFFF for a pop-up item
  uint32_t state = 0;   // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_SEPARATOR, MF_POPUP, MF_HILITE
  int32_t left = 0, top = 0, right = 0, bottom = 0;  // screen coordinates
  HANDHELD_FIELDS(window, text, id, state, left, top, right, bottom)
};

// Windows as their process sees them: one window (tree false), a window with everything
// below it (tree true), or every window of process `pid` (handle 0). For a top-level window
// alone the server answers from its table; otherwise it asks the owning process.
struct WindowDescribe {
  static constexpr Op op = Op::WindowDescribe;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t handle = 0;
    uint32_t pid = 0;
    bool tree = false;
    HANDHELD_FIELDS(handle, pid, tree)
  };
  struct Reply {
    uint32_t error = 0;
    std::vector<WindowRecord> windows;  // parents before their children
    std::vector<MenuItemRecord> menuItems;  // items of the open pop-up menus among `windows`
    HANDHELD_FIELDS(error, windows, menuItems)
  };
};

// The server's question to the owning process for WindowDescribe, and its answer.
struct DescribeQuery {
  static constexpr Op op = Op::DescribeQuery;
  static constexpr Direction direction = Direction::Push;
  uint64_t queryId = 0;
  uint32_t handle = 0;  // 0: every window of the process
  bool tree = false;
  HANDHELD_FIELDS(queryId, handle, tree)
};
struct DescribeAnswer {
  static constexpr Op op = Op::DescribeAnswer;
  static constexpr Direction direction = Direction::Notice;
  uint64_t queryId = 0;
  uint32_t error = 0;
  std::vector<WindowRecord> windows;
  std::vector<MenuItemRecord> menuItems;
  HANDHELD_FIELDS(queryId, error, windows, menuItems)
};

}  // namespace handheld::ipc
