// The window side of the ink control: the class "InkX" (the control, with its scroll bars and
// recording bar) and its inner writing window, which share one InkControl.
#pragma once

#include <windows.h>

#include <inkx.h>

#include <optional>

#include "ink_audio.h"
#include "ink_editor.h"
#include "ink_render.h"
#include "ink_surface.h"

namespace handheld::inkx {

// Registers both classes for the whole process; true when they exist afterwards.
bool registerInkClasses();

inline constexpr char16_t kInnerClass[] = u"InkXWriting";

struct InkControl {
  HWND control = nullptr;
  HWND inner = nullptr;
  InkEditor editor;
  uint32_t pageFlags = 16;
  int mode = 0;
  int scrollX = 0, scrollY = 0;
  bool recordBar = false;
  bool recording = false;
  Audio audio;
  Surface surface;
  bool stale = true;  // the back buffer must be drawn again before it is shown
  uint32_t paper = 0xFFFFFF;  // the page's colour, as the inner window's erase last painted it
  // One stylus press on the inner window.
  bool pressing = false;
  InkPoint pressAt;
  std::optional<std::pair<InkPoint, InkPoint>> band;
};

}  // namespace handheld::inkx
