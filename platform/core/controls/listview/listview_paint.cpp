// Painting only the rows that the update area touches: each row's background, state image,
// small image and cell texts, the selection in the selection colours (the label, or the whole
// row with LVS_EX_FULLROWSELECT), grid lines, the focus rectangle; then the empty part below.
#include <algorithm>

#include "controls/listview/listview.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

using user::controls::fontOr;
using user::controls::lineWidth;

namespace {

// What every row of one paint shares.
struct Look {
  HBRUSH background;
  HBRUSH textBackground;  // null: the row's background shows through
  COLORREF text;
  bool selectionShown;
  bool wholeRow;
  bool grid;
  bool focusShown;
};

void fill(HDC hdc, RECT r, HBRUSH brush) {
  if (r.right > r.left && r.bottom > r.top) FillRect(hdc, &r, brush);
}

UINT cellFormat(int format) {
  UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
  if ((format & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT) flags |= DT_RIGHT;
  if ((format & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER) flags |= DT_CENTER;
  return flags;
}

void drawImage(HDC hdc, HIMAGELIST images, int index, const RECT& box) {
  int cx = 0, cy = 0;
  if (!images || index < 0 || !ImageList_GetIconSize(images, &cx, &cy)) return;
  ImageList_Draw(images, index, hdc, box.left, box.top + (box.bottom - box.top - cy) / 2, ILD_TRANSPARENT);
}

// False when the list went away while the parent gave a text.
bool paintRow(HWND list, HDC hdc, int index, const Look& look, const RECT& rowsArea) {
  ListViewState* state = liveState(list);
  if (!state) return false;
  const int unit = lineWidth();
  RECT row = rowRect(list, *state, index);
  RECT full{rowsArea.left, row.top, rowsArea.right, row.bottom};
  fill(hdc, full, look.background);
  const UINT itemState = state->items[static_cast<size_t>(index)].state;
  const bool selected = look.selectionShown && (itemState & LVIS_SELECTED);
  if (selected && look.wholeRow) fill(hdc, row, GetSysColorBrush(COLOR_HIGHLIGHT));
  const int stateImage = static_cast<int>((itemState & LVIS_STATEIMAGEMASK) >> 12);
  if (state->stateImages && stateImage > 0) {
    RECT box = cellRect(list, *state, index, 0, LVIR_ICON);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(state->stateImages, &cx, &cy);
    box.left -= cx;
    drawImage(hdc, state->stateImages, stateImage - 1, box);
  }
  if (state->smallImages) {
    const RECT icon = cellRect(list, *state, index, 0, LVIR_ICON);
    const HIMAGELIST images = state->smallImages;
    const int image = displayImage(list, index);
    if (!(state = liveState(list))) return false;
    drawImage(hdc, images, image, icon);
  }
  RECT focus = row;
  const size_t columns = std::max<size_t>(state->columns.size(), 1);
  for (size_t c = 0; c < columns && c < state->columns.size(); ++c) {
    RECT label = cellRect(list, *state, index, static_cast<int>(c), LVIR_LABEL);
    const int format = state->columns[c].format;
    auto text = displayText(list, index, state->columns[c].subItem);
    if (!text || !(state = liveState(list))) return false;
    const bool highlighted = selected && (look.wholeRow || c == 0);
    RECT textBox{label.left + 2 * unit, label.top, label.right - 2 * unit, label.bottom};
    if (highlighted && !look.wholeRow) {
      // The label's highlight fits its text.
      RECT measured = textBox;
      DrawTextW(hdc, text->c_str(), static_cast<int>(text->size()), &measured, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
      label.right = std::min(label.right, measured.right + 2 * unit);
      fill(hdc, label, GetSysColorBrush(COLOR_HIGHLIGHT));
      focus = label;
    } else if (!highlighted && look.textBackground) {
      fill(hdc, label, look.textBackground);
    }
    SetTextColor(hdc, highlighted ? GetSysColor(COLOR_HIGHLIGHTTEXT) : look.text);
    if (textBox.right > textBox.left)
      DrawTextW(hdc, text->c_str(), static_cast<int>(text->size()), &textBox, cellFormat(format));
  }
  if (!look.wholeRow && !(itemState & LVIS_SELECTED)) focus = cellRect(list, *state, index, 0, LVIR_LABEL);
  if (look.grid) {
    HBRUSH line = GetSysColorBrush(COLOR_BTNFACE);
    fill(hdc, {row.left, row.bottom - unit, row.right, row.bottom}, line);
    for (size_t c = 0; c < state->columns.size(); ++c) {
      const RECT cell = cellRect(list, *state, index, static_cast<int>(c), LVIR_BOUNDS);
      fill(hdc, {cell.right - unit, cell.top, cell.right, cell.bottom}, line);
    }
  }
  if (look.focusShown && (itemState & LVIS_FOCUSED) && focus.right > focus.left) DrawFocusRect(hdc, &focus);
  return true;
}

}  // namespace

void paintList(HWND list, HDC hdc, const RECT& area) {
  ListViewState* state = liveState(list);
  if (!state) return;
  const LONG style = GetWindowLongW(list, GWL_STYLE);
  const bool enabled = IsWindowEnabled(list);
  const bool ownBackground = state->background != CLR_NONE && state->background != CLR_DEFAULT;
  HBRUSH background = CreateSolidBrush(ownBackground ? state->background : GetSysColor(COLOR_WINDOW));
  const bool ownTextBackground = state->textBackground != CLR_NONE && state->textBackground != CLR_DEFAULT;
  HBRUSH textBackground = ownTextBackground ? CreateSolidBrush(state->textBackground) : nullptr;
  Look look{background,
            textBackground,
            enabled ? state->textColor : GetSysColor(COLOR_GRAYTEXT),
            state->focused || (style & LVS_SHOWSELALWAYS),
            (state->extendedStyle & LVS_EX_FULLROWSELECT) != 0,
            (state->extendedStyle & LVS_EX_GRIDLINES) != 0,
            state->focused};
  HGDIOBJ oldFont = SelectObject(hdc, fontOr(state->font));
  SetBkMode(hdc, TRANSPARENT);
  const RECT rows = rowsArea(list, *state);
  const int height = std::max(1, state->rowHeight);
  const int first = state->topIndex + std::max(0, static_cast<int>(area.top - rows.top) / height);
  int bottom = rows.top;
  for (int i = first;; ++i) {
    state = liveState(list);
    if (!state || i >= static_cast<int>(state->items.size())) break;
    const RECT row = rowRect(list, *state, i);
    if (row.top >= area.bottom || row.top >= rows.bottom) break;
    if (!paintRow(list, hdc, i, look, rows)) break;
    bottom = row.bottom;
  }
  if ((state = liveState(list))) {
    if (state->items.empty() || first >= static_cast<int>(state->items.size()))
      bottom = std::max<int>(rows.top, rowRect(list, *state, static_cast<int>(state->items.size())).top);
    fill(hdc, {rows.left, std::max<LONG>(bottom, area.top), rows.right, rows.bottom}, background);
  }
  SelectObject(hdc, oldFont);
  DeleteObject(background);
  if (textBackground) DeleteObject(textBackground);
}

}  // namespace handheld::controls
