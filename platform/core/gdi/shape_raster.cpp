#include "gdi/shape_raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

namespace handheld::gdi {

namespace {

__extension__ typedef __int128 Wide;

constexpr int kDashOn = 6;   // PS_DASH: pixels drawn, then
constexpr int kDashOff = 2;  // pixels skipped

RECT clipBounds(const Canvas& canvas) {
  RECT bounds{};
  for (const RECT& r : canvas.clip()) bounds = unite(bounds, r);
  return bounds;
}

// The disc a wide pen stamps, as one span per row relative to the centre pixel.
struct PenTip {
  struct Row {
    int dy, x0, x1;  // x1 excluded
  };
  std::vector<Row> rows;
  int reach = 0;  // how far the tip extends from its centre pixel

  explicit PenTip(int width) {
    const int low = -(width - 1) / 2;
    const int high = width / 2;
    const int even = (width + 1) % 2;  // even widths centre between pixels
    reach = std::max(-low, high);
    for (int dy = low; dy <= high; ++dy) {
      int first = 0;
      int last = -1;
      for (int dx = low; dx <= high; ++dx) {
        int ex = 2 * dx - even;
        int ey = 2 * dy - even;
        if (ex * ex + ey * ey <= width * width) {
          if (last < first) first = dx;
          last = dx;
        }
      }
      if (last >= first) rows.push_back({dy, first, last + 1});
    }
  }
};

void stamp(Canvas& canvas, int x, int y, const PenStroke& pen, const PenTip* tip) {
  if (!tip) {
    canvas.plot(x, y, pen.paint, pen.op);
    return;
  }
  for (const auto& row : tip->rows) canvas.span(y + row.dy, x + row.x0, x + row.x1, pen.paint, pen.op);
}

// Whether pixel (x, y) lies in the box with corners rounded by ellipses of size corner.
bool insideRounded(const RECT& box, SIZE corner, long long x, long long y) {
  if (x < box.left || x >= box.right || y < box.top || y >= box.bottom) return false;
  const long long ew = corner.cx;
  const long long eh = corner.cy;
  if (ew <= 0 || eh <= 0) return true;
  // Half-pixel units: pixel centres are odd, corner ellipse radii are ew and eh.
  const long long px = 2 * x + 1;
  const long long py = 2 * y + 1;
  long long dx = 0;
  long long dy = 0;
  if (px < 2LL * box.left + ew) dx = 2LL * box.left + ew - px;
  else if (px > 2LL * box.right - ew) dx = px - (2LL * box.right - ew);
  if (py < 2LL * box.top + eh) dy = 2LL * box.top + eh - py;
  else if (py > 2LL * box.bottom - eh) dy = py - (2LL * box.bottom - eh);
  if (dx == 0 || dy == 0) return true;
  Wide lhs = Wide(dx) * dx * eh * eh + Wide(dy) * dy * ew * ew;
  return lhs <= Wide(ew) * ew * eh * eh;
}

// The pixels of row y inside the shape as [x0, x1); false when none. Rows of these convex,
// mirror-symmetric shapes are one run, found by bisection on the left half.
bool rowSpan(const RECT& box, SIZE corner, int y, int& x0, int& x1) {
  if (isEmpty(box) || y < box.top || y >= box.bottom) return false;
  long long low = box.left;
  long long high = (static_cast<long long>(box.left) + box.right - 1) / 2;  // middle pixel
  if (!insideRounded(box, corner, high, y)) return false;
  while (low < high) {
    long long mid = low + (high - low) / 2;
    if (insideRounded(box, corner, mid, y)) high = mid;
    else low = mid + 1;
  }
  x0 = static_cast<int>(low);
  x1 = static_cast<int>(static_cast<long long>(box.left) + box.right - low);
  return true;
}

SIZE clampCorner(const RECT& box, SIZE corner) {
  return {std::clamp<LONG>(corner.cx, 0, box.right - box.left),
          std::clamp<LONG>(corner.cy, 0, box.bottom - box.top)};
}

}  // namespace

void strokeLine(Canvas& canvas, POINT from, POINT to, const PenStroke& pen) {
  const long long dx = static_cast<long long>(to.x) - from.x;
  const long long dy = static_cast<long long>(to.y) - from.y;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const long long major = xMajor ? dx : dy;
  const long long minor = xMajor ? dy : dx;
  const long long steps = std::llabs(major);
  if (steps == 0) return;
  const long long majorSign = major > 0 ? 1 : -1;
  const long long minorSign = minor >= 0 ? 1 : -1;
  const long long minorAbs = std::llabs(minor);

  std::optional<PenTip> tip;
  if (pen.width > 1) tip.emplace(pen.width);
  const int reach = tip ? tip->reach : 0;
  // Only the steps whose major coordinate can touch the visible area are walked.
  RECT bounds = clipBounds(canvas);
  if (isEmpty(bounds)) return;
  const long long start = xMajor ? from.x : from.y;
  const long long visibleLow = (xMajor ? bounds.left : bounds.top) - reach;
  const long long visibleHigh = (xMajor ? bounds.right : bounds.bottom) - 1 + reach;
  long long first = majorSign > 0 ? visibleLow - start : start - visibleHigh;
  long long last = majorSign > 0 ? visibleHigh - start : start - visibleLow;
  first = std::max(first, 0LL);
  last = std::min(last, steps - 1);

  for (long long i = first; i <= last; ++i) {
    if (pen.dashed && i % (kDashOn + kDashOff) >= kDashOn) continue;
    // Nearest pixel to the ideal line, halves rounded away from the start.
    long long offset = (2 * i * minorAbs + steps) / (2 * steps);
    long long a = start + majorSign * i;
    long long b = (xMajor ? from.y : from.x) + minorSign * offset;
    int x = static_cast<int>(xMajor ? a : b);
    int y = static_cast<int>(xMajor ? b : a);
    stamp(canvas, x, y, pen, tip ? &*tip : nullptr);
  }
}

void drawRoundShape(Canvas& canvas, const RECT& box, SIZE corner, const ShapeStyle& style) {
  RECT bounds = clipBounds(canvas);
  const bool hasPen = style.pen != nullptr;
  const int width = hasPen ? style.pen->width : 0;
  const int before = hasPen ? (width - 1) / 2 : 0;
  const int after = hasPen ? width / 2 : 0;
  const bool rounded = corner.cx > 0 && corner.cy > 0;
  RECT outer{box.left - before, box.top - before, box.right + after, box.bottom + after};
  SIZE outerCorner = rounded ? SIZE{corner.cx + width - 1, corner.cy + width - 1} : SIZE{0, 0};
  RECT inner = outer;
  SIZE innerCorner = outerCorner;
  if (hasPen) {
    inner = {box.left + after + 1, box.top + after + 1, box.right - 1 - before,
             box.bottom - 1 - before};
    innerCorner = rounded ? SIZE{std::max<LONG>(corner.cx - width - 1, 0),
                                 std::max<LONG>(corner.cy - width - 1, 0)}
                          : SIZE{0, 0};
    if (rounded && (innerCorner.cx == 0 || innerCorner.cy == 0)) innerCorner = {0, 0};
  }
  outerCorner = clampCorner(outer, outerCorner);
  innerCorner = clampCorner(inner, innerCorner);

  const int top = std::max(outer.top, bounds.top);
  const int bottom = std::min(outer.bottom, bounds.bottom);
  for (int y = top; y < bottom; ++y) {
    int o0 = 0;
    int o1 = 0;
    if (!rowSpan(outer, outerCorner, y, o0, o1)) continue;
    int i0 = 0;
    int i1 = 0;
    bool hasInner = rowSpan(inner, innerCorner, y, i0, i1);
    if (!hasPen) {
      if (style.fill) canvas.span(y, o0, o1, *style.fill, style.fillOp);
      continue;
    }
    if (!hasInner) {
      canvas.span(y, o0, o1, style.pen->paint, style.pen->op);
      continue;
    }
    canvas.span(y, o0, i0, style.pen->paint, style.pen->op);
    if (style.fill) canvas.span(y, i0, i1, *style.fill, style.fillOp);
    canvas.span(y, i1, o1, style.pen->paint, style.pen->op);
  }
}

void fillPolygon(Canvas& canvas, std::span<const POINT> points, const Paint& paint, RasterOp op) {
  if (points.size() < 3) return;
  RECT bounds = clipBounds(canvas);
  LONG minY = points[0].y;
  LONG maxY = points[0].y;
  for (const POINT& p : points) {
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  const int top = std::max<LONG>(minY, bounds.top);
  const int bottom = std::min<LONG>(maxY, bounds.bottom);
  std::vector<double> crossings;
  for (int y = top; y < bottom; ++y) {
    const double centre = y + 0.5;
    crossings.clear();
    for (size_t i = 0; i < points.size(); ++i) {
      const POINT& a = points[i];
      const POINT& b = points[(i + 1) % points.size()];
      if ((a.y <= centre) == (b.y <= centre)) continue;
      crossings.push_back(a.x + (centre - a.y) * (static_cast<double>(b.x) - a.x) / (b.y - a.y));
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
      // Pixels whose centre lies in [left, right).
      double left = std::clamp(std::ceil(crossings[i] - 0.5), -1e9, 1e9);
      double right = std::clamp(std::ceil(crossings[i + 1] - 0.5), -1e9, 1e9);
      canvas.span(y, static_cast<int>(std::max<double>(left, bounds.left)),
                  static_cast<int>(std::min<double>(right, bounds.right)), paint, op);
    }
  }
}

}  // namespace handheld::gdi
