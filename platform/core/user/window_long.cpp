// GetWindowLong(Ptr)W / SetWindowLong(Ptr)W, GetDlgItem, GetDlgCtrlID.
#include <cstring>

#include "user/device_link.h"
#include "user/messages.h"
#include "user/window.h"

using namespace handheld::user;

namespace {

template <class T>
bool readExtra(const Window& w, int index, T& value) {
  if (index < 0 || static_cast<size_t>(index) + sizeof(T) > w.extra.size()) return false;
  std::memcpy(&value, w.extra.data() + index, sizeof(T));
  return true;
}

template <class T>
bool writeExtra(Window& w, int index, T value, T& old) {
  if (!readExtra(w, index, old)) return false;
  std::memcpy(w.extra.data() + index, &value, sizeof(T));
  return true;
}

// A pointer-sized value, and whether the index names one at all.
bool readValue(const Window& w, int index, LONG_PTR& value) {
  switch (index) {
    case GWL_STYLE: value = static_cast<LONG>(w.style); return true;
    case GWL_EXSTYLE: value = static_cast<LONG>(w.exStyle); return true;
    case GWLP_ID: value = w.id; return true;
    case GWLP_USERDATA: value = w.userData; return true;
    case GWLP_WNDPROC: value = reinterpret_cast<LONG_PTR>(w.procedure); return true;
    case GWLP_HINSTANCE: value = reinterpret_cast<LONG_PTR>(w.instance); return true;
    case GWLP_HWNDPARENT:
      value = reinterpret_cast<LONG_PTR>(w.isChild() ? w.parent : w.owner);
      return true;
    default: return readExtra(w, index, value);
  }
}

// Writes a value; `mirror` tells when the server's copy must follow.
bool writeValue(Window& w, int index, LONG_PTR value, LONG_PTR& old, bool& mirror) {
  if (!readValue(w, index, old)) return false;
  switch (index) {
    case GWLP_ID: w.id = value; return true;
    case GWLP_USERDATA: w.userData = value; return true;
    case GWLP_WNDPROC: w.procedure = reinterpret_cast<WNDPROC>(value); return true;
    case GWLP_HINSTANCE: w.instance = reinterpret_cast<HINSTANCE>(value); return true;
    case GWLP_HWNDPARENT:
      if (w.isChild()) return false;  // a child's parent is not changed this way
      w.owner = reinterpret_cast<HWND>(value);
      mirror = true;
      return true;
    default: return writeExtra(w, index, value, old);
  }
}

bool isPointerIndex(int index) {
  return index == GWLP_WNDPROC || index == GWLP_HINSTANCE || index == GWLP_HWNDPARENT;
}

std::optional<LONG_PTR> getValue(HWND window, int index) {
  if (classifyHandle(window) == HandleKind::Foreign) {
    auto record = describeForeign(window);
    if (!record) return std::nullopt;
    switch (index) {
      case GWL_STYLE: return static_cast<LONG>(record->style);
      case GWL_EXSTYLE: return static_cast<LONG>(record->exStyle);
      case GWLP_ID: return record->id;
      default: SetLastError(ERROR_ACCESS_DENIED); return std::nullopt;
    }
  }
  UserGuard guard(userLock());
  auto w = findOwnWindow(window);
  if (!w) return std::nullopt;
  LONG_PTR value = 0;
  if (!readValue(*w, index, value)) {
    SetLastError(ERROR_INVALID_INDEX);
    return std::nullopt;
  }
  return value;
}

// GWL_STYLE and GWL_EXSTYLE: the window is told before (and may change the new style in
// WM_STYLECHANGING) and after, so that a control can follow its style.
std::optional<LONG_PTR> setStyle(HWND window, int index, DWORD style) {
  auto current = getValue(window, index);
  if (!current) return std::nullopt;
  STYLESTRUCT change{static_cast<DWORD>(*current), style};
  sendMessage(window, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
  {
    UserGuard guard(userLock());
    auto w = findOwnWindow(window);
    if (!w) return std::nullopt;  // destroyed while it was told
    DWORD& field = index == GWL_STYLE ? w->style : w->exStyle;
    change.styleOld = field;
    field = change.styleNew;
  }
  syncTopLevel(window);
  sendMessage(window, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
  return static_cast<LONG>(change.styleOld);
}

std::optional<LONG_PTR> setValue(HWND window, int index, LONG_PTR value) {
  if (classifyHandle(window) == HandleKind::Foreign) {
    SetLastError(ERROR_ACCESS_DENIED);
    return std::nullopt;
  }
  if (index == GWL_STYLE || index == GWL_EXSTYLE) return setStyle(window, index, static_cast<DWORD>(value));
  LONG_PTR old = 0;
  bool mirror = false;
  {
    UserGuard guard(userLock());
    auto w = findOwnWindow(window);
    if (!w) return std::nullopt;
    if (!writeValue(*w, index, value, old, mirror)) {
      SetLastError(ERROR_INVALID_INDEX);
      return std::nullopt;
    }
  }
  if (mirror) syncTopLevel(window);
  return old;
}

}  // namespace

HANDHELD_API LONG_PTR WINAPI GetWindowLongPtrW(HWND window, int index) {
  return getValue(window, index).value_or(0);
}

HANDHELD_API LONG_PTR WINAPI SetWindowLongPtrW(HWND window, int index, LONG_PTR value) {
  return setValue(window, index, value).value_or(0);
}

HANDHELD_API LONG WINAPI GetWindowLongW(HWND window, int index) {
  if (isPointerIndex(index)) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  if (index >= 0) {
    UserGuard guard(userLock());
    auto w = findOwnWindow(window);
    LONG value = 0;
    if (w && !readExtra(*w, index, value)) SetLastError(ERROR_INVALID_INDEX);
    return value;
  }
  return static_cast<LONG>(getValue(window, index).value_or(0));
}

HANDHELD_API LONG WINAPI SetWindowLongW(HWND window, int index, LONG value) {
  if (isPointerIndex(index)) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  if (index >= 0) {
    UserGuard guard(userLock());
    auto w = findOwnWindow(window);
    LONG old = 0;
    if (w && !writeExtra(*w, index, value, old)) SetLastError(ERROR_INVALID_INDEX);
    return old;
  }
  return static_cast<LONG>(setValue(window, index, value).value_or(0));
}

HANDHELD_API HWND WINAPI GetDlgItem(HWND dialog, int id) {
  UserGuard guard(userLock());
  auto w = findOwnWindow(dialog);
  if (!w) return nullptr;
  for (HWND child : w->children) {
    auto c = WindowTable::get().find(child);
    if (c && static_cast<int>(c->id) == id) return child;
  }
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return nullptr;
}

HANDHELD_API int WINAPI GetDlgCtrlID(HWND window) {
  if (classifyHandle(window) == HandleKind::Foreign) {
    auto record = describeForeign(window);
    return record && record->parent ? static_cast<int>(record->id) : 0;
  }
  UserGuard guard(userLock());
  auto w = findOwnWindow(window);
  return w && w->isChild() ? static_cast<int>(w->id) : 0;
}
