// The toolbar's buttons, strings and images.
#include <algorithm>

#include "controls/toolbar/toolbar.h"

namespace handheld::controls {

namespace {

// iString below 64 K is an index into the pool; above, the caller's text.
std::u16string textOf(const ToolbarState& state, INT_PTR string) {
  if (string < 0) return {};
  if ((static_cast<ULONG_PTR>(string) >> 16) == 0)
    return string < static_cast<INT_PTR>(state.strings.size()) ? state.strings[string] : std::u16string();
  return std::u16string(reinterpret_cast<LPCWSTR>(string));
}

}  // namespace

int indexOfCommand(const ToolbarState& state, WPARAM command) {
  for (size_t i = 0; i < state.buttons.size(); ++i)
    if (state.buttons[i].command == static_cast<int>(command) && !(state.buttons[i].style & TBSTYLE_SEP))
      return static_cast<int>(i);
  return -1;
}

bool addButtons(ToolbarState& state, int where, const TBBUTTON* given, size_t count) {
  if (!given || where < 0 || state.structSize != sizeof(TBBUTTON)) return false;
  where = std::min<int>(where, static_cast<int>(state.buttons.size()));
  std::vector<ToolbarButton> added;
  for (size_t i = 0; i < count; ++i) {
    ToolbarButton b;
    b.image = given[i].iBitmap;
    b.command = given[i].idCommand;
    b.state = given[i].fsState;
    b.style = given[i].fsStyle;
    b.data = given[i].dwData;
    b.string = given[i].iString;
    b.text = textOf(state, b.string);
    added.push_back(std::move(b));
  }
  state.buttons.insert(state.buttons.begin() + where, added.begin(), added.end());
  return true;
}

LRESULT addBitmap(ToolbarState& state, WPARAM count, const TBADDBITMAP* bitmap) {
  if (!bitmap) return -1;
  // Without an instance nID is a bitmap the caller keeps.
  HBITMAP strip = bitmap->hInst
                      ? LoadBitmapW(bitmap->hInst, MAKEINTRESOURCEW(static_cast<WORD>(bitmap->nID)))
                      : reinterpret_cast<HBITMAP>(bitmap->nID);
  BITMAP info{};
  if (!strip || !GetObjectW(strip, sizeof(info), &info) || info.bmHeight <= 0) return -1;
  if (state.bitmapSize.cx <= 0 || state.bitmapSize.cy <= 0) state.bitmapSize = {info.bmHeight, info.bmHeight};
  if (!state.images)
    state.images = ImageList_Create(state.bitmapSize.cx, state.bitmapSize.cy, ILC_COLOR32 | ILC_MASK, 8, 8);
  const int before = state.images ? ImageList_GetImageCount(state.images) : -1;
  // Magenta is the device's transparent colour in image strips: the button face shows there.
  const int first = state.images ? ImageList_AddMasked(state.images, strip, RGB(255, 0, 255)) : -1;
  if (bitmap->hInst) DeleteObject(strip);
  if (first < 0) return -1;
  // Only the images the caller counted belong to this strip.
  const int wanted = static_cast<int>(std::min<WPARAM>(count, INT32_MAX));
  if (wanted > 0)
    while (ImageList_GetImageCount(state.images) > before + wanted)
      ImageList_Remove(state.images, ImageList_GetImageCount(state.images) - 1);
  return first;
}

LRESULT addStrings(ToolbarState& state, HINSTANCE instance, LPARAM strings) {
  const int first = static_cast<int>(state.strings.size());
  if (instance) {
    LPCWSTR text = nullptr;
    const int length = LoadStringW(instance, static_cast<UINT>(LOWORD(strings)), reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text) return -1;
    state.strings.emplace_back(text, static_cast<size_t>(length));
    return first;
  }
  if (!strings) return -1;
  // A list of strings, each ended by a null, the list by an empty one; at most 64 K.
  auto* at = reinterpret_cast<LPCWSTR>(strings);
  for (int n = 0; *at && n < 0x10000; ++n) {
    std::u16string one(at);
    at += one.size() + 1;
    state.strings.push_back(std::move(one));
  }
  return first;
}

void setChecked(ToolbarState& state, int index, bool checked) {
  auto& buttons = state.buttons;
  if (checked && (buttons[index].style & TBSTYLE_CHECKGROUP) == TBSTYLE_CHECKGROUP) {
    // The group: the run of TBSTYLE_GROUP buttons around this one.
    int start = index, end = index;
    while (start > 0 && (buttons[start - 1].style & TBSTYLE_GROUP) && !(buttons[start - 1].style & TBSTYLE_SEP)) --start;
    while (end + 1 < static_cast<int>(buttons.size()) && (buttons[end + 1].style & TBSTYLE_GROUP) &&
           !(buttons[end + 1].style & TBSTYLE_SEP))
      ++end;
    for (int i = start; i <= end; ++i) buttons[i].state &= static_cast<BYTE>(~TBSTATE_CHECKED);
  }
  if (checked)
    buttons[index].state |= TBSTATE_CHECKED;
  else
    buttons[index].state &= static_cast<BYTE>(~TBSTATE_CHECKED);
}

TBBUTTON toTbButton(const ToolbarButton& button) {
  TBBUTTON out{};
  out.iBitmap = button.image;
  out.idCommand = button.command;
  out.fsState = button.state;
  out.fsStyle = button.style;
  out.dwData = button.data;
  out.iString = button.string;
  return out;
}

}  // namespace handheld::controls
