// Drawing the page with cairo: background of the page style, typed text, recordings' icons,
// strokes anti-aliased with round joins and caps, and the selection.
#pragma once

#include <cairo.h>

#include <array>
#include <optional>

#include "ink_editor.h"
#include "page_layout.h"

namespace handheld::inkx {

struct View {
  int zoom = 100;
  int scrollX = 0, scrollY = 0;  // window pixels
  int width = 0, height = 0;     // of the window
  uint32_t pageFlags = 16;
  int pageHeight = kMinPageHeight;
  int density = 1;  // window pixels per page pixel at 100 %: 1 at QVGA, 2 at VGA
  double scale() const { return zoom / 100.0 * density; }
};

struct Overlay {
  bool caret = false;                                  // typing mode with the focus
  uint32_t paper = 0xFFFFFF;                           // the page's colour, 0xRRGGBB
  std::optional<std::pair<InkPoint, InkPoint>> band;  // a selection rectangle being dragged
};

void renderPage(cairo_t* cr, const InkEditor& editor, const TextLayout& layout, const View& view,
                const Overlay& overlay);

// Draws the last segment of the stroke in progress onto what is already there; returns the
// window rectangle it touched (left, top, right, bottom).
std::array<int, 4> renderLastSegment(cairo_t* cr, const Stroke& stroke, const View& view);

// Where a window point lies on the page, in document units.
InkPoint toDocument(const View& view, int x, int y);

}  // namespace handheld::inkx
