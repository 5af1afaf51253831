// Input as the display hands it on, after it has updated the device key-state table: the
// window service implements InputRouter and takes each event to a window (the stylus to the
// top-level window under the point or the one holding the capture, keys to the focus window
// of the foreground process).
#pragma once

#include <windef.h>

#include <cstdint>

namespace handheld::device {

enum class StylusAction : uint8_t { Down, Move, Up };

struct StylusInput {
  StylusAction action = StylusAction::Down;
  POINT point{};      // screen pixels, always on the screen
  uint32_t time = 0;  // GetTickCount() at the event
};

// A key going down or up. `character` is what the key types on the device's US layout under
// the key state at that moment (0: none), given with the key down only; TranslateMessage turns
// it into WM_CHAR. Key 0 is a character with no key of the layout (e.g. "é" from `text`): it
// becomes WM_CHAR alone, without WM_KEYDOWN or WM_KEYUP.
struct KeyInput {
  uint8_t key = 0;
  bool down = false;
  bool repeat = false;  // down while already down (the previous-state bit of lParam)
  char16_t character = 0;
  uint32_t time = 0;
};

class InputRouter {
 public:
  virtual ~InputRouter() = default;
  virtual void stylus(const StylusInput& input) = 0;
  virtual void key(const KeyInput& input) = 0;
};

}  // namespace handheld::device
