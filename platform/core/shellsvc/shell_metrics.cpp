#include "shellsvc/shell_metrics.h"

namespace handheld::shellsvc {

int barHeight() {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  if (dpi <= 0) dpi = 96;
  return kBarHeightAt96Dpi * dpi / 96;
}

RECT visibleDesktop(bool leaveMenuBar) {
  const int bar = barHeight();
  RECT area{0, bar, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (leaveMenuBar) area.bottom -= bar;
  if (area.bottom < area.top) area.bottom = area.top;
  return area;
}

}  // namespace handheld::shellsvc
