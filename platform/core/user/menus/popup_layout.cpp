#include "user/menus/popup_layout.h"

#include <algorithm>

namespace handheld::user {

namespace {

constexpr int kMinTextWidth = 40;  // a menu of short words is still easy to hit

RECT at(int left, int top, SIZE size) { return {left, top, left + size.cx, top + size.cy}; }

// Moves a span of `length` starting at `start` into [0, limit).
int keepInside(int start, int length, int limit) { return std::max(0, std::min(start, limit - length)); }

bool overlaps(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

PopupLayout layOutPopup(const std::vector<MenuEntry>& entries, const std::vector<int>& textWidths,
                        const PopupMetrics& metrics) {
  PopupLayout layout;
  int widest = kMinTextWidth * metrics.unit;
  for (int width : textWidths) widest = std::max(widest, width);
  const int frame = metrics.frame();
  const int inner = metrics.markGutter() + widest + metrics.arrowGutter();
  int y = frame;
  for (const auto& entry : entries) {
    const int height = (entry.state & MF_SEPARATOR) ? metrics.separatorHeight() : metrics.itemHeight();
    layout.items.push_back({frame, y, frame + inner, y + height});
    y += height;
  }
  layout.size = {inner + 2 * frame, y + frame};
  return layout;
}

RECT placePopup(SIZE size, POINT point, UINT flags, const RECT* exclude, SIZE screen) {
  int left = point.x, top = point.y;
  if (flags & TPM_RIGHTALIGN) left -= size.cx;
  else if (flags & TPM_CENTERALIGN) left -= size.cx / 2;
  if (flags & TPM_BOTTOMALIGN) top -= size.cy;
  else if (flags & TPM_VCENTERALIGN) top -= size.cy / 2;
  // Off the screen on one side: open towards the other side of the point.
  if (left + size.cx > screen.cx && !(flags & (TPM_RIGHTALIGN | TPM_CENTERALIGN))) left = point.x - size.cx;
  if (left < 0 && (flags & TPM_RIGHTALIGN)) left = point.x;
  if (top + size.cy > screen.cy && !(flags & (TPM_BOTTOMALIGN | TPM_VCENTERALIGN))) top = point.y - size.cy;
  if (top < 0 && (flags & TPM_BOTTOMALIGN)) top = point.y;
  RECT placed = at(keepInside(left, size.cx, screen.cx), keepInside(top, size.cy, screen.cy), size);
  if (!exclude || !overlaps(placed, *exclude)) return placed;
  if (flags & TPM_VERTICAL) {
    const int below = exclude->bottom, above = exclude->top - size.cy;
    return at(placed.left, below + size.cy <= screen.cy || above < 0 ? below : above, size);
  }
  const int right = exclude->right, leftOf = exclude->left - size.cx;
  return at(right + size.cx <= screen.cx || leftOf < 0 ? right : leftOf, placed.top, size);
}

RECT placeSubmenu(SIZE size, const RECT& parent, const RECT& item, int frame, SIZE screen) {
  int left = parent.right;
  if (left + size.cx > screen.cx && parent.left - size.cx >= 0) left = parent.left - size.cx;
  const int top = keepInside(item.top - frame, size.cy, screen.cy);
  return at(keepInside(left, size.cx, screen.cx), top, size);
}

}  // namespace handheld::user
