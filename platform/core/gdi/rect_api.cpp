// The rectangle helpers: SetRect, IntersectRect, PtInRect and the rest.
#include <windows.h>

#include "gdi/geometry.h"

using handheld::gdi::intersect;
using handheld::gdi::isEmpty;
using handheld::gdi::unite;

HANDHELD_API BOOL WINAPI SetRect(LPRECT rect, int left, int top, int right, int bottom) {
  if (!rect) return FALSE;
  *rect = {left, top, right, bottom};
  return TRUE;
}

HANDHELD_API BOOL WINAPI SetRectEmpty(LPRECT rect) { return SetRect(rect, 0, 0, 0, 0); }

HANDHELD_API BOOL WINAPI CopyRect(LPRECT destination, const RECT* source) {
  if (!destination || !source) return FALSE;
  *destination = *source;
  return TRUE;
}

HANDHELD_API BOOL WINAPI InflateRect(LPRECT rect, int dx, int dy) {
  if (!rect) return FALSE;
  *rect = {rect->left - dx, rect->top - dy, rect->right + dx, rect->bottom + dy};
  return TRUE;
}

HANDHELD_API BOOL WINAPI OffsetRect(LPRECT rect, int dx, int dy) {
  if (!rect) return FALSE;
  *rect = handheld::gdi::offsetBy(*rect, dx, dy);
  return TRUE;
}

HANDHELD_API BOOL WINAPI IntersectRect(LPRECT destination, const RECT* first, const RECT* second) {
  if (!destination || !first || !second) return FALSE;
  *destination = intersect(*first, *second);
  return !isEmpty(*destination);
}

HANDHELD_API BOOL WINAPI UnionRect(LPRECT destination, const RECT* first, const RECT* second) {
  if (!destination || !first || !second) return FALSE;
  *destination = unite(*first, *second);
  return !isEmpty(*destination);
}

HANDHELD_API BOOL WINAPI EqualRect(const RECT* first, const RECT* second) {
  if (!first || !second) return FALSE;
  return first->left == second->left && first->top == second->top &&
         first->right == second->right && first->bottom == second->bottom;
}

HANDHELD_API BOOL WINAPI IsRectEmpty(const RECT* rect) { return !rect || isEmpty(*rect); }

HANDHELD_API BOOL WINAPI PtInRect(const RECT* rect, POINT point) {
  return rect && point.x >= rect->left && point.x < rect->right && point.y >= rect->top &&
         point.y < rect->bottom;
}
