#include "shellsvc/gesture/hold_feedback.h"

#include <cmath>
#include <numbers>

#include "user/controls/control_support.h"

namespace handheld::shellsvc {

namespace {

// At QVGA; VGA doubles both through the line width.
constexpr int kRingRadius = 14;
constexpr int kDotRadius = 2;
constexpr COLORREF kDotColour = RGB(0, 0, 160);

}  // namespace

HoldFeedback::HoldFeedback(HWND window, POINT at, bool enabled)
    : window_(window), at_(at), enabled_(enabled), unit_(user::controls::lineWidth()) {}

HoldFeedback::~HoldFeedback() {
  if (!drawn_ || !IsWindow(window_)) return;
  // The window paints over the dots itself, at once, so none is left on the screen.
  RECT r = area();
  InvalidateRect(window_, &r, TRUE);
  UpdateWindow(window_);
}

RECT HoldFeedback::area() const {
  const int reach = (kRingRadius + kDotRadius + 1) * unit_;
  return {at_.x - reach, at_.y - reach, at_.x + reach + 1, at_.y + reach + 1};
}

void HoldFeedback::show(int shown) {
  if (!enabled_ || shown <= drawn_ || !IsWindow(window_)) return;
  HDC hdc = GetDC(window_);
  if (!hdc) return;
  HBRUSH brush = CreateSolidBrush(kDotColour);
  HGDIOBJ oldBrush = SelectObject(hdc, brush);
  HGDIOBJ oldPen = SelectObject(hdc, GetStockObject(NULL_PEN));
  const int dot = kDotRadius * unit_;
  for (int i = drawn_; i < shown && i < kDots; ++i) {
    // Clockwise from the top, as a clock hand would sweep.
    const double angle = 2.0 * std::numbers::pi * i / kDots;
    const int x = at_.x + static_cast<int>(std::lround(std::sin(angle) * kRingRadius * unit_));
    const int y = at_.y - static_cast<int>(std::lround(std::cos(angle) * kRingRadius * unit_));
    Ellipse(hdc, x - dot, y - dot, x + dot + 1, y + dot + 1);
  }
  SelectObject(hdc, oldPen);
  SelectObject(hdc, oldBrush);
  DeleteObject(brush);
  ReleaseDC(window_, hdc);
  drawn_ = shown;
}

}  // namespace handheld::shellsvc
