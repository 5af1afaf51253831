// A device, a recorded parent window and helpers for the control and dialog tests.
#pragma once

#include <windows.h>

#include "platform/windows/windows_fixture.h"

namespace handheld::testing {

class ControlsTest : public WindowsTest {
 protected:
  void SetUp() override {
    WindowsTest::SetUp();
    parent = create(WS_VISIBLE, nullptr, {0, 0, 240, 200});
  }
  void TearDown() override {
    // The controls free their state when destroyed; a test that ends with them alive would
    // leave that to the process's end, which the leak checker reports.
    if (IsWindow(parent)) DestroyWindow(parent);
    WindowsTest::TearDown();
  }

  HWND control(const char16_t* className, const char16_t* text, DWORD style, int id,
               RECT r = {10, 10, 110, 40}) {
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, parent,
                           reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
  }

  // The colour at a point of a window's client area, once it has painted.
  COLORREF pixel(HWND window, int x, int y) {
    recorder.pumpPending();
    HDC hdc = GetDC(window);
    COLORREF color = GetPixel(hdc, x, y);
    ReleaseDC(window, hdc);
    return color;
  }

  HWND parent = nullptr;
};

}  // namespace handheld::testing
