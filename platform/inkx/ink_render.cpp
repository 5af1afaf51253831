#include "ink_render.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "ink_font.h"

namespace handheld::inkx {
namespace {

void rgb(cairo_t* cr, uint32_t colorref) {
  cairo_set_source_rgb(cr, (colorref & 0xFF) / 255.0, ((colorref >> 8) & 0xFF) / 255.0,
                       ((colorref >> 16) & 0xFF) / 255.0);
}

// Page coordinates: pixels at 100 %, shifted by the scroll position.
void pageTransform(cairo_t* cr, const View& view) {
  cairo_identity_matrix(cr);
  cairo_translate(cr, -view.scrollX, -view.scrollY);
  cairo_scale(cr, view.scale(), view.scale());
}

// Hairlines stay one line width (one window pixel at QVGA, two at VGA) whatever the zoom.
double hairline(const View& view) { return view.density / view.scale(); }

void drawBackground(cairo_t* cr, const View& view, const TextFrame& frame, uint32_t paper) {
  cairo_identity_matrix(cr);
  cairo_set_source_rgb(cr, 0.75, 0.75, 0.75);  // beyond the page
  cairo_paint(cr);
  pageTransform(cr, view);
  const double h = view.pageHeight;
  cairo_rectangle(cr, 0, 0, kPageWidth, h);
  cairo_set_source_rgb(cr, ((paper >> 16) & 0xFF) / 255.0, ((paper >> 8) & 0xFF) / 255.0, (paper & 0xFF) / 255.0);
  cairo_fill(cr);
  cairo_set_line_width(cr, hairline(view));
  const uint32_t flags = view.pageFlags;
  const bool margins = flags == 0 || flags == 1 || flags == 8;
  if ((flags & 2) || margins) {  // ruled: one line under each line of text
    cairo_set_source_rgb(cr, 0.55, 0.7, 0.9);
    for (double y = frame.top + frame.lineHeight; y < h; y += frame.lineHeight) {
      cairo_move_to(cr, 0, y);
      cairo_line_to(cr, kPageWidth, y);
    }
    cairo_stroke(cr);
  }
  if (flags & 4) {
    cairo_set_source_rgb(cr, 0.75, 0.85, 0.95);
    for (double x = kGridStep; x < kPageWidth; x += kGridStep) {
      cairo_move_to(cr, x, 0);
      cairo_line_to(cr, x, h);
    }
    for (double y = kGridStep; y < h; y += kGridStep) {
      cairo_move_to(cr, 0, y);
      cairo_line_to(cr, kPageWidth, y);
    }
    cairo_stroke(cr);
  }
  if (flags & 32) {
    cairo_set_source_rgb(cr, 0.45, 0.6, 0.85);
    const double r = std::max(0.6, hairline(view));
    for (double y = frame.top + frame.lineHeight; y < h; y += frame.lineHeight)
      for (double x = 4; x < kPageWidth; x += 8) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
      }
    cairo_fill(cr);
  }
  cairo_set_source_rgb(cr, 0.9, 0.35, 0.35);
  if (flags == 0 || flags == 8) {
    cairo_move_to(cr, kMarginAt, 0);
    cairo_line_to(cr, kMarginAt, h);
  }
  if (flags == 1 || flags == 8) {
    cairo_move_to(cr, 0, kMarginAt);
    cairo_line_to(cr, kPageWidth, kMarginAt);
  }
  cairo_stroke(cr);
}

void drawText(cairo_t* cr, const InkEditor& editor, const TextLayout& layout, const View& view,
              bool caret) {
  const auto& text = editor.document().text;
  const auto& frame = layout.frame();
  const int height = clampTextHeight(text.height);
  if (editor.hasTextSelection()) {
    const size_t from = std::min(editor.caret(), editor.anchor()), to = std::max(editor.caret(), editor.anchor());
    cairo_set_source_rgb(cr, 0.7, 0.82, 1.0);
    for (const auto& line : layout.lines()) {
      const size_t a = std::max(from, line.start), b = std::min(to, line.end);
      if (a >= b && !(from <= line.end && to > line.end)) continue;
      const double x0 = layout.xOf(a), x1 = to > line.end ? frame.right : layout.xOf(b);
      cairo_rectangle(cr, x0, line.y, x1 - x0, frame.lineHeight);
    }
    cairo_fill(cr);
  }
  if (!text.chars.empty()) {
    useTextFont(cr, height);
    rgb(cr, text.color);
    const double baseline = frame.lineHeight - (frame.lineHeight - height) / 2 - height * 0.22;
    for (const auto& line : layout.lines()) {
      if (line.end <= line.start) continue;
      std::u16string_view part(text.chars.data() + line.start, line.end - line.start);
      cairo_move_to(cr, frame.left, line.y + baseline);
      cairo_show_text(cr, toUtf8(part).c_str());
    }
  }
  if (caret) {
    size_t line;
    const double x = layout.xOf(editor.caret(), &line);
    const double y = layout.lines()[line].y;
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 1.5 * hairline(view));
    cairo_move_to(cr, x, y + 1);
    cairo_line_to(cr, x, y + frame.lineHeight - 1);
    cairo_stroke(cr);
  }
}

void drawRecordings(cairo_t* cr, const InkDocument& document, const View& view) {
  for (const auto& r : document.recordings) {
    const double x = static_cast<double>(r.at.x) / kSubUnits, y = static_cast<double>(r.at.y) / kSubUnits;
    cairo_rectangle(cr, x, y, kIconSize, kIconSize);
    cairo_set_source_rgb(cr, 0.9, 0.9, 0.9);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
    cairo_set_line_width(cr, hairline(view));
    cairo_stroke(cr);
    // A play triangle.
    cairo_move_to(cr, x + 6, y + 4);
    cairo_line_to(cr, x + 16, y + 10);
    cairo_line_to(cr, x + 6, y + 16);
    cairo_close_path(cr);
    cairo_fill(cr);
  }
}

// Through the midpoints of the written segments, with each written point as the control
// point of a curve between them: the stylus's steps of whole pixels read as one smooth line.
void strokePath(cairo_t* cr, const Stroke& stroke) {
  const auto& p = stroke.points;
  auto at = [&](size_t i) { return std::pair{p[i].x / double(kSubUnits), p[i].y / double(kSubUnits)}; };
  auto [x0, y0] = at(0);
  cairo_move_to(cr, x0, y0);
  if (p.size() < 3) {
    const auto [x1, y1] = at(p.size() - 1);
    cairo_line_to(cr, x1, y1);
    return;
  }
  for (size_t i = 1; i + 1 < p.size(); ++i) {
    const auto [cx, cy] = at(i);
    const auto [nx, ny] = at(i + 1);
    const double ex = i + 2 < p.size() ? (cx + nx) / 2 : nx, ey = i + 2 < p.size() ? (cy + ny) / 2 : ny;
    cairo_curve_to(cr, x0 + 2.0 / 3 * (cx - x0), y0 + 2.0 / 3 * (cy - y0), ex + 2.0 / 3 * (cx - ex),
                   ey + 2.0 / 3 * (cy - ey), ex, ey);
    x0 = ex;
    y0 = ey;
  }
}

// Never thinner than one window pixel, so that ink stays visible when zoomed out.
double strokeWidth(const Stroke& stroke, const View& view) {
  return std::clamp(static_cast<double>(stroke.width) / kSubUnits, 1.0 / view.scale(), 64.0);
}

void drawStroke(cairo_t* cr, const Stroke& stroke, const View& view, bool selected) {
  if (stroke.points.empty()) return;
  if (selected) {
    cairo_set_source_rgb(cr, 0.6, 0.78, 1.0);
    cairo_set_line_width(cr, strokeWidth(stroke, view) + 4);
    strokePath(cr, stroke);
    cairo_stroke(cr);
  }
  rgb(cr, stroke.color);
  cairo_set_line_width(cr, strokeWidth(stroke, view));
  strokePath(cr, stroke);
  cairo_stroke(cr);
}

void strokeStyle(cairo_t* cr) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_GOOD);
}

}  // namespace

void renderPage(cairo_t* cr, const InkEditor& editor, const TextLayout& layout, const View& view,
                const Overlay& overlay) {
  cairo_save(cr);
  drawBackground(cr, view, layout.frame(), overlay.paper);
  pageTransform(cr, view);
  // Only what is visible is drawn; cairo clips the rest cheaply.
  cairo_rectangle(cr, 0, 0, kPageWidth, view.pageHeight);
  cairo_clip(cr);
  drawText(cr, editor, layout, view, overlay.caret);
  drawRecordings(cr, editor.document(), view);
  strokeStyle(cr);
  const auto& strokes = editor.document().strokes;
  const auto& selected = editor.selectedStrokes();
  double x0, y0, x1, y1;
  cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
  for (size_t i = 0; i < strokes.size(); ++i) {
    const auto& points = strokes[i].points;
    if (points.empty()) continue;
    // Cheap rejection of strokes wholly outside the visible part.
    const double reach = strokeWidth(strokes[i], view) + 4;
    const auto [minX, maxX] = std::minmax_element(points.begin(), points.end(), [](auto& a, auto& b) { return a.x < b.x; });
    const auto [minY, maxY] = std::minmax_element(points.begin(), points.end(), [](auto& a, auto& b) { return a.y < b.y; });
    if (minX->x / double(kSubUnits) - reach > x1 || maxX->x / double(kSubUnits) + reach < x0 ||
        minY->y / double(kSubUnits) - reach > y1 || maxY->y / double(kSubUnits) + reach < y0)
      continue;
    drawStroke(cr, strokes[i], view, std::find(selected.begin(), selected.end(), i) != selected.end());
  }
  if (editor.drawing()) drawStroke(cr, editor.strokeInProgress(), view, false);
  if (overlay.band) {
    const auto [a, b] = *overlay.band;
    const double dash = 3 * hairline(view);
    cairo_set_dash(cr, &dash, 1, 0);
    cairo_set_line_width(cr, hairline(view));
    cairo_set_source_rgb(cr, 0.1, 0.3, 0.8);
    cairo_rectangle(cr, std::min(a.x, b.x) / double(kSubUnits), std::min(a.y, b.y) / double(kSubUnits),
                    std::abs(a.x - b.x) / double(kSubUnits), std::abs(a.y - b.y) / double(kSubUnits));
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

std::array<int, 4> renderLastSegment(cairo_t* cr, const Stroke& stroke, const View& view) {
  const auto& p = stroke.points;
  if (p.empty()) return {0, 0, 0, 0};
  const InkPoint a = p.size() > 1 ? p[p.size() - 2] : p.back(), b = p.back();
  cairo_save(cr);
  pageTransform(cr, view);
  cairo_rectangle(cr, 0, 0, kPageWidth, view.pageHeight);
  cairo_clip(cr);
  strokeStyle(cr);
  rgb(cr, stroke.color);
  cairo_set_line_width(cr, strokeWidth(stroke, view));
  cairo_move_to(cr, a.x / double(kSubUnits), a.y / double(kSubUnits));
  cairo_line_to(cr, b.x / double(kSubUnits), b.y / double(kSubUnits));
  cairo_stroke(cr);
  cairo_restore(cr);
  cairo_surface_flush(cairo_get_target(cr));
  const double s = view.scale(), reach = strokeWidth(stroke, view) * s / 2 + 2;
  const double left = std::min(a.x, b.x) / double(kSubUnits) * s - view.scrollX - reach;
  const double top = std::min(a.y, b.y) / double(kSubUnits) * s - view.scrollY - reach;
  const double right = std::max(a.x, b.x) / double(kSubUnits) * s - view.scrollX + reach;
  const double bottom = std::max(a.y, b.y) / double(kSubUnits) * s - view.scrollY + reach;
  return {static_cast<int>(std::floor(left)), static_cast<int>(std::floor(top)), static_cast<int>(std::ceil(right)),
          static_cast<int>(std::ceil(bottom))};
}

InkPoint toDocument(const View& view, int x, int y) {
  const double s = view.scale();
  return {static_cast<int32_t>(std::lround((x + view.scrollX) / s * kSubUnits)),
          static_cast<int32_t>(std::lround((y + view.scrollY) / s * kSubUnits))};
}

}  // namespace handheld::inkx
