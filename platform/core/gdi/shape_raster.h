// Exact integer rasterisation of pen lines, rectangles, rounded rectangles, ellipses and
// polygons onto a canvas (surface coordinates).
#pragma once

#include <span>

#include "gdi/canvas.h"

namespace handheld::gdi {

// How a pen lays down pixels: colour and raster operation, width (a disc of that diameter
// is stamped along wide lines) and whether it is dashed.
struct PenStroke {
  Paint paint;
  RasterOp op = RasterOp::patternCopy();
  int width = 1;
  bool dashed = false;
};

// From `from` toward `to`, excluding the end point as on the platform.
void strokeLine(Canvas& canvas, POINT from, POINT to, const PenStroke& pen);

// The filled interior and the outline of a shape inside box (right and bottom excluded):
// a rectangle when corner is {0,0}, an ellipse when corner is the box's size, a rounded
// rectangle in between. A null fill or pen leaves that part out. The pen is centred on the
// outline path, so wide pens reach outside the box.
struct ShapeStyle {
  const PenStroke* pen = nullptr;
  const Paint* fill = nullptr;
  RasterOp fillOp = RasterOp::patternCopy();
};
void drawRoundShape(Canvas& canvas, const RECT& box, SIZE corner, const ShapeStyle& style);

// Even-odd fill of the polygon, sampled at pixel centres.
void fillPolygon(Canvas& canvas, std::span<const POINT> points, const Paint& paint, RasterOp op);

}  // namespace handheld::gdi
