// Input: the key-state table, automation's stylus and keys, and input routed to a
// window's process.
#pragma once

#include <cstdint>
#include <string>

#include "ipc/protocol/ops.h"

namespace handheld::ipc {

// Sets a virtual key's state in the device key-state table (down, and the toggle on a press).
struct KeyStateSet {
  static constexpr Op op = Op::KeyStateSet;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t key = 0;
    bool down = false;
    HANDHELD_FIELDS(key, down)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// Automation's stylus and keys: coordinates are device screen pixels; a point off the screen
// is refused with ERROR_INVALID_PARAMETER. Replies that take a point carry the screen size,
// so that a refusal can say why.

// Stylus input: a tap at (x1, y1); a hold there for durationMs; a drag from (x1, y1) to
// (x2, y2) over durationMs, moving in steps. Gestures run one after another on the server's
// timers; each is answered once it is over.
enum class GestureKind : uint8_t { Tap = 1, Hold = 2, Drag = 3 };
inline constexpr uint32_t kMaxGestureMs = 60000;

struct StylusGesture {
  static constexpr Op op = Op::StylusGesture;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    GestureKind kind = GestureKind::Tap;
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    uint32_t durationMs = 0;
    HANDHELD_FIELDS(kind, x1, y1, x2, y2, durationMs)
  };
  struct Reply {
    uint32_t error = 0;
    int32_t screenWidth = 0, screenHeight = 0;
    HANDHELD_FIELDS(error, screenWidth, screenHeight)
  };
};

// A key (virtual-key code 1-254) going down, up, or both. hardwareButton asks that the key
// be one of the device's buttons (VK_APP1-VK_APP6); otherwise ERROR_INVALID_PARAMETER.
enum class KeyMotion : uint8_t { Down = 1, Up = 2, Press = 3 };

struct KeyAction {
  static constexpr Op op = Op::KeyAction;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t key = 0;
    KeyMotion motion = KeyMotion::Press;
    bool hardwareButton = false;
    HANDHELD_FIELDS(key, motion, hardwareButton)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// Text typed on the device keyboard: a character with a key on the US layout as that key's
// press (with shift where it needs it), any other character as WM_CHAR alone.
inline constexpr size_t kMaxTypedText = 4096;

struct TypeText {
  static constexpr Op op = Op::TypeText;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    std::u16string text;
    HANDHELD_FIELDS(text)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// Input the server routed to a top-level window, pushed to the process that owns it: the
// stylus (screen coordinates; the process picks the child under the point or its capture
// window) or a key for the focus window of the window's thread. A key down carries the
// character it types on the device keyboard (0: none); a character alone has key 0.
enum class InputKind : uint8_t { StylusDown = 1, StylusMove, StylusUp, KeyDown, KeyUp, Character };

struct InputDeliver {
  static constexpr Op op = Op::InputDeliver;
  static constexpr Direction direction = Direction::Push;
  uint32_t handle = 0;
  InputKind kind = InputKind::StylusDown;
  int32_t x = 0, y = 0;
  uint32_t key = 0;
  uint16_t character = 0;
  bool repeat = false;
  uint32_t time = 0;
  HANDHELD_FIELDS(handle, kind, x, y, key, character, repeat, time)
};

}  // namespace handheld::ipc
