// A push button that shows one bitmap and, when the stylus is lifted after pressing it, posts
// WM_USER + its command to its parent. Each kind of button has a window class of its own,
// named by its creator.
#pragma once

#include <windows.h>

#include <string>

class BitmapButton {
 public:
  BitmapButton() = default;
  virtual ~BitmapButton();
  BitmapButton(const BitmapButton&) = delete;
  BitmapButton& operator=(const BitmapButton&) = delete;

  // The button window, or null when it cannot be made. A bitmap that cannot be loaded leaves
  // the button blank; it still posts its command.
  HWND create(HWND parent, HINSTANCE instance, UINT bitmapId, LPCWSTR className, UINT command,
              int x, int y, int width, int height);
  void destroy();
  void move(int x, int y, int width, int height);

  HWND window() const { return window_; }

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void paint();
  void press();
  void release();
  void deleteBitmap();

  HWND window_ = nullptr;
  HWND parent_ = nullptr;
  HINSTANCE instance_ = nullptr;
  std::u16string className_;
  UINT command_ = 0;
  HBITMAP bitmap_ = nullptr;
  bool pressed_ = false;
  int x_ = 0;
  int y_ = 0;
  int width_ = 0;
  int height_ = 0;
};
