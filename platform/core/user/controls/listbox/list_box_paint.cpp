// The list in the handheld's look: the field colours (WM_CTLCOLORLISTBOX), selected items in
// the selection colours, the focus rectangle on the caret while focused, grey text when
// disabled. Owner-drawn lists ask the parent to draw each item.
#include "user/controls/control_support.h"
#include "user/controls/listbox/list_box.h"

namespace handheld::user::controls {

namespace {

UINT itemStateOf(HWND list, const ListBoxState& state, int index) {
  return (isSelected(state, selectionKind(list), index) ? ODS_SELECTED : 0) |
         (state.focused && state.caret == index ? ODS_FOCUS : 0) | (IsWindowEnabled(list) ? 0 : ODS_DISABLED);
}

void drawOwnerItem(HWND list, HDC hdc, const ListBoxState& state, int index, RECT r) {
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_LISTBOX;
  item.CtlID = static_cast<UINT>(GetDlgCtrlID(list));
  item.itemID = static_cast<UINT>(index);
  item.itemAction = ODA_DRAWENTIRE;
  item.itemState = itemStateOf(list, state, index);
  item.hwndItem = list;
  item.hDC = hdc;
  item.rcItem = r;
  item.itemData = state.items[static_cast<size_t>(index)].data;
  SendMessageW(GetParent(list), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

void paintListBox(HWND list, HDC hdc, ListBoxState& state) {
  HGDIOBJ oldFont = SelectObject(hdc, fontOr(state.font));
  HBRUSH background = controlColors(list, hdc, WM_CTLCOLORLISTBOX);
  const COLORREF text = IsWindowEnabled(list) ? GetTextColor(hdc) : GetSysColor(COLOR_GRAYTEXT);
  RECT client{};
  GetClientRect(list, &client);
  FillRect(hdc, &client, background);
  const bool ownerDrawn = isOwnerDrawn(list);
  const int unit = lineWidth();
  const int count = static_cast<int>(state.items.size());
  const int rows = visibleRows(list, state) + 1;  // a partial row at the bottom
  SetBkMode(hdc, TRANSPARENT);
  for (int index = state.top; index < count && index < state.top + rows; ++index) {
    RECT r = itemRect(list, state, index);
    if (ownerDrawn) {
      drawOwnerItem(list, hdc, state, index, r);
      continue;
    }
    const UINT itemState = itemStateOf(list, state, index);
    if (itemState & ODS_SELECTED) FillRect(hdc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(hdc, (itemState & ODS_SELECTED) ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text);
    RECT textBox{r.left + 2 * unit, r.top, r.right - 2 * unit, r.bottom};
    const auto& label = state.items[static_cast<size_t>(index)].text;
    DrawTextW(hdc, label.c_str(), static_cast<int>(label.size()), &textBox,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    if (itemState & ODS_FOCUS) DrawFocusRect(hdc, &r);
  }
  SelectObject(hdc, oldFont);
}

}  // namespace handheld::user::controls
