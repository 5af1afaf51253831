// Columns, kept here and shown by the header child: inserting, deleting, reading, changing,
// widths (measured with LVSCW_AUTOSIZE) and the taps on their headings.
#include <algorithm>

#include "controls/listview/listview.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

using user::controls::fontOr;
using user::controls::lineWidth;
using user::controls::notifyParent;

namespace {

constexpr int kMaxColumnWidth = 32767;

bool validColumn(const ListViewState& state, WPARAM index) { return index < state.columns.size(); }

int headerFormat(int columnFormat, int previous) {
  return (previous & (HDF_SORTUP | HDF_SORTDOWN)) | (columnFormat & LVCFMT_JUSTIFYMASK) | HDF_STRING;
}

// Shows a column in the header (inserting it, or updating the heading at `index`).
void showInHeader(HWND header, int index, const ListColumn& column, bool insert) {
  if (!header) return;
  HDITEMW heading{};
  heading.mask = HDI_FORMAT;
  SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&heading));
  heading.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
  heading.cxy = column.width;
  heading.pszText = const_cast<LPWSTR>(column.text.c_str());
  heading.fmt = headerFormat(column.format, insert ? 0 : heading.fmt);
  SendMessageW(header, insert ? HDM_INSERTITEMW : HDM_SETITEMW, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&heading));
}

void applyColumn(ListColumn& column, const LVCOLUMNW& given) {
  if (given.mask & LVCF_FMT) column.format = given.fmt & LVCFMT_JUSTIFYMASK;
  if (given.mask & LVCF_WIDTH) column.width = std::clamp(given.cx, 0, kMaxColumnWidth);
  if (given.mask & LVCF_TEXT) column.text = given.pszText ? std::u16string(given.pszText) : std::u16string();
  if (given.mask & LVCF_SUBITEM) column.subItem = std::max(0, given.iSubItem);
}

int textWidth(HDC hdc, const std::u16string& text) {
  SIZE size{};
  GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// The widest text of the column, with the images of the first column and the cell margins;
// with the heading too when asked.
int fittingWidth(HWND list, int index, bool withHeading) {
  ListViewState* state = liveState(list);
  if (!state) return 0;
  const int unit = lineWidth();
  HDC hdc = GetDC(list);
  HGDIOBJ old = SelectObject(hdc, fontOr(state->font));
  const int subItem = state->columns[static_cast<size_t>(index)].subItem;
  int widest = withHeading ? textWidth(hdc, state->columns[static_cast<size_t>(index)].text) + 6 * unit : 0;
  const size_t count = state->items.size();
  for (size_t i = 0; i < count; ++i) {
    auto text = displayText(list, static_cast<int>(i), subItem);
    state = liveState(list);
    if (!text || !state || index >= static_cast<int>(state->columns.size())) break;
    const RECT label = cellRect(list, *state, static_cast<int>(i), index, LVIR_LABEL);
    const RECT bounds = cellRect(list, *state, static_cast<int>(i), index, LVIR_BOUNDS);
    widest = std::max<int>(widest, static_cast<int>(label.left - bounds.left) + textWidth(hdc, *text) + 4 * unit);
  }
  SelectObject(hdc, old);
  ReleaseDC(list, hdc);
  return widest;
}

}  // namespace

LRESULT insertColumn(HWND list, WPARAM index, const LVCOLUMNW* given) {
  ListViewState* state = liveState(list);
  if (!state || !given || static_cast<INT_PTR>(index) < 0) return -1;
  const int at = static_cast<int>(std::min<size_t>(index, state->columns.size()));
  ListColumn column;
  column.subItem = at;
  applyColumn(column, *given);
  state->columns.insert(state->columns.begin() + at, column);
  showInHeader(state->header, at, column, true);
  InvalidateRect(list, nullptr, FALSE);
  return at;
}

LRESULT deleteColumn(HWND list, WPARAM index) {
  ListViewState* state = liveState(list);
  if (!state || !validColumn(*state, index)) return FALSE;
  state->columns.erase(state->columns.begin() + static_cast<std::ptrdiff_t>(index));
  if (state->header) SendMessageW(state->header, HDM_DELETEITEM, index, 0);
  InvalidateRect(list, nullptr, FALSE);
  return TRUE;
}

LRESULT getColumn(const ListViewState& state, WPARAM index, LVCOLUMNW* out) {
  if (!out || !validColumn(state, index)) return FALSE;
  const ListColumn& column = state.columns[index];
  if (out->mask & LVCF_FMT) out->fmt = column.format;
  if (out->mask & LVCF_WIDTH) out->cx = column.width;
  if (out->mask & LVCF_SUBITEM) out->iSubItem = column.subItem;
  if ((out->mask & LVCF_TEXT) && out->pszText && out->cchTextMax > 0) {
    const size_t count = std::min(column.text.size(), static_cast<size_t>(out->cchTextMax - 1));
    std::copy_n(column.text.data(), count, out->pszText);
    out->pszText[count] = u'\0';
  }
  return TRUE;
}

LRESULT setColumn(HWND list, WPARAM index, const LVCOLUMNW* given) {
  ListViewState* state = liveState(list);
  if (!state || !given || !validColumn(*state, index)) return FALSE;
  applyColumn(state->columns[index], *given);
  showInHeader(state->header, static_cast<int>(index), state->columns[index], false);
  InvalidateRect(list, nullptr, FALSE);
  return TRUE;
}

LRESULT setColumnWidth(HWND list, WPARAM index, int width) {
  ListViewState* state = liveState(list);
  if (!state || !validColumn(*state, index)) return FALSE;
  if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER) {
    width = fittingWidth(list, static_cast<int>(index), width == LVSCW_AUTOSIZE_USEHEADER);
    state = liveState(list);
    if (!state || !validColumn(*state, index)) return FALSE;
  }
  state->columns[index].width = std::clamp(width, 0, kMaxColumnWidth);
  showInHeader(state->header, static_cast<int>(index), state->columns[index], false);
  InvalidateRect(list, nullptr, FALSE);
  return TRUE;
}

LRESULT headerNotification(HWND list, const NMHDR* notice) {
  ListViewState* state = liveState(list);
  if (!state || !notice || notice->hwndFrom != state->header || notice->code != HDN_ITEMCLICKW) return 0;
  if (GetWindowLongW(list, GWL_STYLE) & LVS_NOSORTHEADER) return 0;
  NMLISTVIEW click{};
  click.iItem = -1;
  click.iSubItem = reinterpret_cast<const NMHEADERW*>(notice)->iItem;
  notifyParent(list, click.hdr, LVN_COLUMNCLICK);
  return 0;
}

}  // namespace handheld::controls
