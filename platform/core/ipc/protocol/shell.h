// What the shell shows for other processes' windows: the done button and full-screen state
// per top-level window, the foreground window pushed to the shell, hot keys, and help
// requests that cross processes with their HELPINFO copied.
#pragma once

#include <cstdint>
#include <string>

#include "ipc/protocol/ops.h"

namespace handheld::ipc {

// Bits of a window's shell state.
inline constexpr uint32_t kShellDoneButton = 0x1;       // the navigation bar shows "ok"
inline constexpr uint32_t kShellTaskBarHidden = 0x2;    // the navigation bar stands back
inline constexpr uint32_t kShellSipButtonHidden = 0x4;  // no input-panel button
inline constexpr uint32_t kShellStartIconHidden = 0x8;  // no start button
inline constexpr uint32_t kShellStateBits = 0xF;

// Changes the bits in `mask` of one of the caller's windows to those of `state`.
struct ShellWindowSet {
  static constexpr Op op = Op::ShellWindowSet;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t handle = 0;
    uint32_t mask = 0;
    uint32_t state = 0;
    HANDHELD_FIELDS(handle, mask, state)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// The calling process is the shell: it hears of the foreground window from now on.
struct ShellAttach {
  static constexpr Op op = Op::ShellAttach;
  static constexpr Direction direction = Direction::Notice;
  HANDHELD_NO_FIELDS
};

// Pushed to the shell whenever the foreground window, its title or its shell state changes.
struct ShellForeground {
  static constexpr Op op = Op::ShellForeground;
  static constexpr Direction direction = Direction::Push;
  uint32_t handle = 0;  // 0: none
  uint32_t pid = 0;
  std::u16string title;
  uint32_t state = 0;   // kShell* bits
  HANDHELD_FIELDS(handle, pid, title, state)
};

// RegisterHotKey (add) and UnregisterHotKey for one of the caller's windows.
struct HotKeyChange {
  static constexpr Op op = Op::HotKeyChange;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t handle = 0;
    int32_t id = 0;
    uint32_t modifiers = 0;
    uint32_t key = 0;
    bool add = true;
    HANDHELD_FIELDS(handle, id, modifiers, key, add)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// WM_HELP for a window of another process: the sender's HELPINFO travels as fields and the
// owner rebuilds it for the window procedure.
struct HelpFields {
  uint32_t handle = 0;  // the window asked for help
  int32_t contextType = 0;
  int32_t controlId = 0;
  uint64_t item = 0;
  uint32_t contextId = 0;
  int32_t x = 0, y = 0;
  HANDHELD_FIELDS(handle, contextType, controlId, item, contextId, x, y)
};
struct HelpSend {
  static constexpr Op op = Op::HelpSend;
  static constexpr Direction direction = Direction::Notice;
  HelpFields help;
  HANDHELD_FIELDS(help)
};
struct HelpDeliver {
  static constexpr Op op = Op::HelpDeliver;
  static constexpr Direction direction = Direction::Push;
  HelpFields help;
  HANDHELD_FIELDS(help)
};

}  // namespace handheld::ipc
