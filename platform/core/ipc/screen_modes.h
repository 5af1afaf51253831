// The screen modes a device offers, by the names that travel in requests and on command lines,
// with the metrics each one publishes in the info page.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace handheld::ipc {

struct ScreenMode {
  std::string_view name;
  int width;
  int height;
  int dpi;
  int border;     // SM_CXBORDER; every figure of the handheld's geometry scales with it
  int smallIcon;  // SM_CXSMICON
};

inline constexpr std::array<ScreenMode, 4> kScreenModes{{
    {"qvga", 240, 320, 96, 1, 16},
    {"vga", 480, 640, 192, 2, 32},
    {"qvga-landscape", 320, 240, 96, 1, 16},
    {"vga-landscape", 640, 480, 192, 2, 32},
}};

inline constexpr std::optional<ScreenMode> findScreenMode(std::string_view name) {
  for (const ScreenMode& mode : kScreenModes)
    if (mode.name == name) return mode;
  return std::nullopt;
}

// "qvga, vga, qvga-landscape, vga-landscape", for messages.
inline std::string screenModeNames() {
  std::string names;
  for (const ScreenMode& mode : kScreenModes) {
    if (!names.empty()) names += ", ";
    names += mode.name;
  }
  return names;
}

}  // namespace handheld::ipc
