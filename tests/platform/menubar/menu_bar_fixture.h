// A device, a recorded owner window filling the screen, and menu bars made for it.
#pragma once

#include <aygshell.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/windows/windows_fixture.h"
#include "resource.h"

namespace handheld::testing {

class MenuBarTest : public WindowsTest {
 protected:
  void SetUp() override {
    WindowsTest::SetUp();
    owner = create(WS_VISIBLE, nullptr, {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  }
  void TearDown() override {
    if (IsWindow(owner)) DestroyWindow(owner);
    WindowsTest::TearDown();
  }

  SHMENUBARINFO info(UINT id, DWORD flags = 0) {
    SHMENUBARINFO i{};
    i.cbSize = sizeof(i);
    i.hwndParent = owner;
    i.dwFlags = flags;
    i.nToolBarId = id;
    i.hInstRes = GetModuleHandleW(nullptr);
    return i;
  }
  HWND make(UINT id, DWORD flags = 0) {
    SHMENUBARINFO i = info(id, flags);
    EXPECT_TRUE(SHCreateMenuBar(&i)) << id;
    return i.hwndMB;
  }
  // The bar's toolbar child.
  static HWND toolbarOf(HWND bar) { return GetWindow(bar, GW_CHILD); }
  static RECT buttonRect(HWND bar, WPARAM index) {
    RECT r{};
    EXPECT_TRUE(SendMessageW(bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)));
    return r;
  }
  static LPARAM middleOf(RECT r) { return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
  static nlohmann::json stateOf(HWND window) {
    nlohmann::json out = nlohmann::json::object();
    SendMessageW(window, 0x03F0, 0, reinterpret_cast<LPARAM>(&out));
    return out;
  }
  // The WM_COMMANDs the owner received: (command, lParam).
  std::vector<std::pair<WORD, LPARAM>> commands() {
    std::vector<std::pair<WORD, LPARAM>> out;
    for (const auto& m : recorder.messages())
      if (m.window == owner && m.message == WM_COMMAND) out.emplace_back(LOWORD(m.wParam), m.lParam);
    return out;
  }

  HWND owner = nullptr;
};

}  // namespace handheld::testing
