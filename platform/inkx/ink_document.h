// What a note page holds, in document coordinates: units of 1/16 pixel at 100 %, so that a
// zoomed stroke keeps the precision it was written with.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace handheld::inkx {

inline constexpr int32_t kSubUnits = 16;  // document units per pixel at 100 %
inline constexpr int kPageWidth = 240;    // pixels at 100 %

struct InkPoint {
  int32_t x = 0, y = 0;
  bool operator==(const InkPoint&) const = default;
};

struct Stroke {
  uint32_t color = 0;      // COLORREF
  uint16_t width = 2 * kSubUnits;
  std::vector<InkPoint> points;
  bool operator==(const Stroke&) const = default;
};

// A voice recording: its icon's top-left corner on the page and the RIFF WAVE image.
struct Recording {
  InkPoint at;
  std::shared_ptr<const std::vector<uint8_t>> image;
  bool operator==(const Recording& other) const {
    return at == other.at && *image == *other.image;
  }
};

// Typed text flows from the page's text origin, wrapped to the page; "\r" breaks a line.
struct InkText {
  std::u16string chars;
  uint32_t height = 16;  // pixels at 100 %
  uint32_t color = 0;
  bool operator==(const InkText&) const = default;
};

struct InkDocument {
  std::vector<Recording> recordings;  // in the order they were made
  std::vector<Stroke> strokes;        // in the order they were written
  InkText text;

  bool empty() const { return recordings.empty() && strokes.empty() && text.chars.empty(); }
  bool operator==(const InkDocument&) const = default;
};

}  // namespace handheld::inkx
