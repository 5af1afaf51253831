#include "user/controls/scrollbar/scroll_state.h"

#include <algorithm>
#include <cstdint>

namespace handheld::user {

int ScrollBarState::lastPosition() const {
  const int64_t last = int64_t{max} - std::max<int64_t>(int64_t{page} - 1, 0);
  return static_cast<int>(std::max<int64_t>(last, min));
}

int ScrollBarState::clampPosition(int position) const {
  return std::clamp(position, min, lastPosition());
}

ScrollBarState* ScrollBars::find(int bar) {
  switch (bar) {
    case SB_HORZ: return &horizontal;
    case SB_VERT: return &vertical;
    case SB_CTL: return &control;
    default: return nullptr;
  }
}

BarVisibility applyScrollInfo(ScrollBarState& state, const SCROLLINFO& info, bool windowBar) {
  if (info.fMask & SIF_RANGE) {
    state.min = info.nMin;
    state.max = std::max(info.nMax, info.nMin);  // a reversed range is empty
  }
  if (info.fMask & SIF_PAGE) state.page = info.nPage;
  // The page never exceeds the range it shows.
  const int64_t span = int64_t{state.max} - state.min + 1;
  if (int64_t{state.page} > span) state.page = static_cast<UINT>(span);
  if (info.fMask & SIF_POS) state.pos = info.nPos;
  state.pos = state.clampPosition(state.pos);

  if (!(info.fMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL))) return BarVisibility::Keep;
  if (!state.scrollable()) {
    if (info.fMask & SIF_DISABLENOSCROLL) {
      state.disabledArrows = ESB_DISABLE_BOTH;
      return BarVisibility::Keep;
    }
    return windowBar ? BarVisibility::Hide : BarVisibility::Keep;
  }
  if (!(info.fMask & (SIF_RANGE | SIF_PAGE))) return BarVisibility::Keep;
  state.disabledArrows = ESB_ENABLE_BOTH;
  return windowBar ? BarVisibility::Show : BarVisibility::Keep;
}

void readScrollInfo(const ScrollBarState& state, SCROLLINFO& info) {
  if (info.fMask & SIF_RANGE) {
    info.nMin = state.min;
    info.nMax = state.max;
  }
  if (info.fMask & SIF_PAGE) info.nPage = state.page;
  if (info.fMask & SIF_POS) info.nPos = state.pos;
  if (info.fMask & SIF_TRACKPOS) info.nTrackPos = state.tracking ? state.trackPos : state.pos;
}

}  // namespace handheld::user
