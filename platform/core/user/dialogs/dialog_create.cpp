// CreateDialogParamW, CreateDialogIndirectParamW and what DialogBox shares with them: a
// dialog from its template, laid out in the dialog font's units.
#include "resources/resource_access.h"
#include "user/dialogs/dialog_font.h"
#include "user/dialogs/dialog_info.h"
#include "user/dialogs/dialogs.h"

using namespace handheld;
using namespace handheld::user::dialogs;

namespace {

// A template in memory carries no size; its decoder reads no further than its own fields
// say, so this only bounds what a damaged template could make it walk.
constexpr size_t kMaxIndirectTemplate = 1 << 20;

HFONT templateFont(const resources::DialogTemplate& t, bool& owned) {
  owned = false;
  if (!t.hasFont || t.fontFace.empty()) return defaultDialogFont();
  HFONT font = createPointFont(t.fontFace, t.fontSize, t.fontWeight, t.fontItalic);
  if (!font) return defaultDialogFont();
  owned = true;
  return font;
}

// Where the dialog goes on the screen: centred (DS_CENTER), at screen coordinates
// (DS_ABSALIGN), or relative to the owner's client area.
POINT placement(const resources::DialogTemplate& t, HWND owner, const RECT& pixels, SIZE windowSize) {
  if (t.style & DS_CENTER) {
    return {(GetSystemMetrics(SM_CXSCREEN) - windowSize.cx) / 2, (GetSystemMetrics(SM_CYSCREEN) - windowSize.cy) / 2};
  }
  POINT at{pixels.left, pixels.top};
  if (owner && !(t.style & DS_ABSALIGN)) ClientToScreen(owner, &at);
  return at;
}

LPCWSTR textOf(const resources::NameOrOrdinal& text) {
  return text.ordinal ? MAKEINTRESOURCEW(*text.ordinal) : text.name.c_str();
}

bool createItems(HWND dialog, HINSTANCE instance, const resources::DialogTemplate& t, SIZE base, HFONT font) {
  for (const auto& item : t.items) {
    std::u16string className = item.className();
    if (className.empty()) {
      SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
      return false;
    }
    RECT r = unitsToPixels({item.x, item.y, item.x + item.cx, item.y + item.cy}, base);
    HWND control = CreateWindowExW(item.exStyle | WS_EX_NOPARENTNOTIFY, className.c_str(), textOf(item.text),
                                   item.style | WS_CHILD, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                   dialog, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id & 0xFFFF)),
                                   instance, nullptr);
    if (!control) {
      if (t.style & DS_NOFAILCREATE) continue;
      return false;
    }
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // The first default push button is the dialog's default, whichever button looks it later.
    if (dialogCode(control) & DLGC_DEFPUSHBUTTON)
      changeDialog(dialog, [&](DialogInfo& info) {
        if (!info.defaultId) info.defaultId = static_cast<WORD>(item.id);
      });
  }
  return true;
}

}  // namespace

namespace handheld::user::dialogs {

std::optional<resources::DialogTemplate> decodeIndirect(LPCDLGTEMPLATEW dialogTemplate) {
  if (!dialogTemplate) return std::nullopt;
  return resources::decodeDialog({reinterpret_cast<const uint8_t*>(dialogTemplate), kMaxIndirectTemplate});
}

HWND createDialog(HINSTANCE instance, const resources::DialogTemplate& t, HWND owner, DLGPROC procedure,
                  LPARAM initParam, bool modal) {
  if (owner && !IsWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  // Controls load their images from the module the template came from.
  if (!instance) instance = GetModuleHandleW(nullptr);
  // A dialog's owner is a top-level window; a child dialog lives in the window it was given
  // (a page of a sheet, a panel inside a scrolling view).
  if (!(t.style & WS_CHILD))
    while (owner && (GetWindowLongW(owner, GWL_STYLE) & WS_CHILD)) owner = GetParent(owner);

  bool ownsFont = false;
  HFONT font = templateFont(t, ownsFont);
  const SIZE base = baseUnits(font);
  const RECT client = unitsToPixels({t.x, t.y, t.x + t.cx, t.y + t.cy}, base);
  DWORD style = t.style & ~(WS_VISIBLE | WS_CHILD);
  if (t.style & WS_CHILD) style |= WS_CHILD;  // a dialog inside a window (property pages)
  DWORD exStyle = t.exStyle | ((t.style & DS_MODALFRAME) ? WS_EX_DLGMODALFRAME : 0);
  const SIZE size{client.right - client.left, client.bottom - client.top};
  const POINT at = (style & WS_CHILD) ? POINT{client.left, client.top} : placement(t, owner, client, size);
  const RECT frame{at.x, at.y, at.x + size.cx, at.y + size.cy};

  std::u16string className = t.windowClass.empty() ? u"#32770" : t.windowClass.name;
  LPCWSTR classArg = t.windowClass.ordinal ? MAKEINTATOM(*t.windowClass.ordinal) : className.c_str();
  HWND dialog = CreateWindowExW(exStyle, classArg, t.caption.c_str(), style, frame.left, frame.top, size.cx,
                                size.cy, owner, nullptr, instance, nullptr);
  if (!dialog) {
    if (ownsFont) DeleteObject(font);
    return nullptr;
  }
  // The template measures the client area; the frame the style gives goes around it.
  RECT inner{};
  GetClientRect(dialog, &inner);
  const int grow = size.cx - inner.right, growY = size.cy - inner.bottom;
  if (grow || growY)
    SetWindowPos(dialog, nullptr, 0, 0, size.cx + grow, size.cy + growY, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  DialogInfo info;
  info.font = font;
  info.ownsFont = ownsFont;
  info.baseUnits = base;
  // The owner of a modal dialog is disabled before the dialog sees WM_INITDIALOG.
  if (modal && owner && IsWindowEnabled(owner)) {
    EnableWindow(owner, FALSE);
    info.disabledOwner = owner;
  }
  addDialog(dialog, info);
  SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(procedure));
  SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (!createItems(dialog, instance, t, base, font)) {
    if (info.disabledOwner) EnableWindow(info.disabledOwner, TRUE);
    DestroyWindow(dialog);
    return nullptr;
  }

  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  LRESULT setFocus = SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), initParam);
  if (!IsWindow(dialog)) {
    if (info.disabledOwner && IsWindow(info.disabledOwner)) EnableWindow(info.disabledOwner, TRUE);
    return nullptr;
  }
  if (!procedure) setFocus = TRUE;
  const bool show = !modal && (t.style & WS_VISIBLE);
  if (show) ShowWindow(dialog, SW_SHOW);
  if (setFocus && !(style & WS_CHILD)) {
    first = GetNextDlgTabItem(dialog, nullptr, FALSE);  // the procedure may have changed them
    if (first) {
      changeDialog(dialog, [&](DialogInfo& i) { i.lastFocus = first; });
      if (show || GetForegroundWindow() == dialog) setDialogFocus(dialog, first);
    }
  }
  return dialog;
}

}  // namespace handheld::user::dialogs

HANDHELD_API HWND WINAPI CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate,
                                                    HWND owner, DLGPROC procedure, LPARAM initParam) {
  auto decoded = decodeIndirect(dialogTemplate);
  if (!decoded) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  return createDialog(instance, *decoded, owner, procedure, initParam, false);
}

HANDHELD_API HWND WINAPI CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner,
                                            DLGPROC procedure, LPARAM initParam) {
  auto decoded = resources::loadDialog(instance, templateName);
  if (!decoded) return nullptr;
  return createDialog(instance, *decoded, owner, procedure, initParam, false);
}
