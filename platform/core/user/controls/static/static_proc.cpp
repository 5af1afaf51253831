// The static's window procedure.
#include <optional>

#include "user/controls/control_support.h"
#include "user/controls/static/static_control.h"

namespace handheld::user::controls {

namespace {

UINT typeOf(HWND control) { return static_cast<UINT>(GetWindowLongW(control, GWL_STYLE)) & SS_TYPEMASK; }

// The image type a static of this type shows, or none.
std::optional<UINT> imageTypeOf(UINT type) {
  if (type == SS_ICON) return IMAGE_ICON;
  if (type == SS_BITMAP) return IMAGE_BITMAP;
  return std::nullopt;
}

SIZE imageSize(HANDLE image, UINT imageType) {
  if (imageType == IMAGE_BITMAP) {
    BITMAP bitmap{};
    if (GetObjectW(image, sizeof bitmap, &bitmap)) return {bitmap.bmWidth, bitmap.bmHeight};
    return {};
  }
  int size = GetSystemMetrics(SM_CXICON);
  return {size, size};
}

// An image static takes its image's size unless it centres the image.
void fitToImage(HWND control, HANDLE image, UINT imageType) {
  if (!image || (GetWindowLongW(control, GWL_STYLE) & SS_CENTERIMAGE)) return;
  SIZE size = imageSize(image, imageType);
  if (size.cx > 0 && size.cy > 0)
    SetWindowPos(control, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The template's icon or bitmap: a resource of the module creating the static.
void loadTemplateImage(HWND control, StaticState& state, const CREATESTRUCTW& create) {
  auto imageType = imageTypeOf(static_cast<UINT>(create.style) & SS_TYPEMASK);
  if (!imageType || !create.lpszName || (!IS_INTRESOURCE(create.lpszName) && !create.lpszName[0])) return;
  state.image = *imageType == IMAGE_ICON ? static_cast<HANDLE>(LoadIconW(create.hInstance, create.lpszName))
                                         : static_cast<HANDLE>(LoadBitmapW(create.hInstance, create.lpszName));
  fitToImage(control, state.image, *imageType);
}

LRESULT CALLBACK staticProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) attachState<StaticState>(control);
  StaticState* state = stateOf<StaticState>(control);
  if (!state) return DefWindowProcW(control, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      detachState<StaticState>(control);
      return DefWindowProcW(control, message, wParam, lParam);
    case WM_CREATE:
      loadTemplateImage(control, *state, *reinterpret_cast<const CREATESTRUCTW*>(lParam));
      return 0;
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(control, &ps);
      if (hdc) paintStatic(control, hdc, *state);
      EndPaint(control, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return TRUE;  // painting covers it all
    case WM_SETTEXT: {
      LRESULT result = DefWindowProcW(control, message, wParam, lParam);
      InvalidateRect(control, nullptr, FALSE);
      return result;
    }
    case WM_SETFONT:
      state->font = reinterpret_cast<HFONT>(wParam);
      if (lParam) InvalidateRect(control, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(state->font);
    case WM_ENABLE:
      InvalidateRect(control, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (GetWindowLongW(control, GWL_STYLE) & SS_NOTIFY) notifyParent(control, STN_CLICKED);
      return 0;
    case STM_SETIMAGE: {
      // Always repaints: windows rely on STM_SETIMAGE to redraw a static of any type.
      InvalidateRect(control, nullptr, FALSE);
      auto imageType = imageTypeOf(typeOf(control));
      if (!imageType || *imageType != wParam) return 0;
      HANDLE old = state->image;
      state->image = reinterpret_cast<HANDLE>(lParam);
      fitToImage(control, state->image, *imageType);
      return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETIMAGE: {
      auto imageType = imageTypeOf(typeOf(control));
      return imageType && *imageType == wParam ? reinterpret_cast<LRESULT>(state->image) : 0;
    }
    default:
      return DefWindowProcW(control, message, wParam, lParam);
  }
}

}  // namespace

WNDCLASSW staticClass() {
  WNDCLASSW c{};
  c.style = CS_DBLCLKS | CS_PARENTDC;
  c.lpfnWndProc = staticProc;
  c.cbWndExtra = kStateExtraBytes;
  c.lpszClassName = u"STATIC";
  return c;
}

}  // namespace handheld::user::controls
