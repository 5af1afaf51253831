#include "gdi/geometry.h"

namespace handheld::gdi {

namespace {

// Appends the parts of piece outside cut (at most four bands).
void subtract(const RECT& piece, const RECT& cut, std::vector<RECT>& out) {
  RECT overlap = intersect(piece, cut);
  if (isEmpty(overlap)) {
    out.push_back(piece);
    return;
  }
  if (piece.top < overlap.top) out.push_back({piece.left, piece.top, piece.right, overlap.top});
  if (overlap.bottom < piece.bottom) {
    out.push_back({piece.left, overlap.bottom, piece.right, piece.bottom});
  }
  if (piece.left < overlap.left) {
    out.push_back({piece.left, overlap.top, overlap.left, overlap.bottom});
  }
  if (overlap.right < piece.right) {
    out.push_back({overlap.right, overlap.top, piece.right, overlap.bottom});
  }
}

}  // namespace

std::vector<RECT> disjointRects(const std::vector<RECT>& rects, const RECT& bounds) {
  std::vector<RECT> result;
  for (const RECT& rect : rects) {
    std::vector<RECT> pieces{intersect(normalized(rect), bounds)};
    if (isEmpty(pieces.front())) continue;
    for (const RECT& kept : result) {
      std::vector<RECT> remaining;
      for (const RECT& piece : pieces) subtract(piece, kept, remaining);
      pieces = std::move(remaining);
    }
    result.insert(result.end(), pieces.begin(), pieces.end());
  }
  return result;
}

}  // namespace handheld::gdi
