// The device screen as programs see it: size and density, set by the device server.
#pragma once

namespace handheld::kernel {

struct DisplaySettings {
  int width;        // pixels, in the current orientation
  int height;
  int dpi;          // 96 (QVGA) or 192 (VGA)
  int border;       // SM_CXBORDER / SM_CYBORDER: 1 or 2
  int smallIcon;    // SM_CXSMICON / SM_CYSMICON: 16 or 32
};

DisplaySettings displaySettings();

}  // namespace handheld::kernel
