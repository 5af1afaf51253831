#include "ui/bitmap_button.h"

// The window goes with its object, so that no message can reach a destroyed button.
BitmapButton::~BitmapButton() { destroy(); }

HWND BitmapButton::create(HWND parent, HINSTANCE instance, UINT bitmapId, LPCWSTR className,
                          UINT command, int x, int y, int width, int height) {
  parent_ = parent;
  instance_ = instance;
  command_ = command;
  x_ = x;
  y_ = y;
  width_ = width;
  height_ = height;
  className_ = className;

  // A second button of the same kind finds its class registered and uses it.
  WNDCLASSW windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  // The program's own arrow, when it has one; a stylus shows no cursor anyway.
  windowClass.hCursor = LoadCursorW(instance, u"IDC_ARROW");
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = className_.c_str();
  RegisterClassW(&windowClass);

  deleteBitmap();
  bitmap_ = LoadBitmapW(instance, MAKEINTRESOURCEW(bitmapId));
  window_ = CreateWindowExW(0, className_.c_str(), u"Button", WS_CHILD | WS_VISIBLE, x, y, width,
                            height, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(command)),
                            instance, this);
  return window_;
}

void BitmapButton::destroy() {
  if (window_) DestroyWindow(window_);
  window_ = nullptr;
  deleteBitmap();
  className_.clear();
}

void BitmapButton::move(int x, int y, int width, int height) {
  x_ = x;
  y_ = y;
  width_ = width;
  height_ = height;
  if (window_) MoveWindow(window_, x, y, width, height, TRUE);
}

void BitmapButton::deleteBitmap() {
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = nullptr;
}

void BitmapButton::paint() {
  PAINTSTRUCT paint;
  HDC target = BeginPaint(window_, &paint);
  if (bitmap_) {
    HDC source = CreateCompatibleDC(target);
    HGDIOBJ previous = SelectObject(source, bitmap_);
    BitBlt(target, 0, 0, width_, height_, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
  }
  EndPaint(window_, &paint);
}

void BitmapButton::press() {
  pressed_ = true;
  InvalidateRect(window_, nullptr, FALSE);
  SetCapture(window_);
}

// Lifting the stylus counts wherever it happens, also outside the button.
void BitmapButton::release() {
  if (!pressed_) return;
  InvalidateRect(window_, nullptr, FALSE);
  ReleaseCapture();
  pressed_ = false;
  PostMessageW(parent_, WM_USER + command_, 0, 0);
}

LRESULT CALLBACK BitmapButton::procedure(HWND window, UINT message, WPARAM wParam,
                                         LPARAM lParam) {
  if (message == WM_CREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    return 0;
  }
  auto* button = reinterpret_cast<BitmapButton*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!button) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT:
      button->paint();
      return 0;
    case WM_LBUTTONDOWN:
      button->press();
      return 0;
    case WM_LBUTTONUP:
      button->release();
      return 0;
    default:
      DefWindowProcW(window, message, wParam, lParam);
      return 0;
  }
}
