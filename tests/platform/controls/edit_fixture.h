// Edits on a recorded parent, and typing into them as the keyboard would.
#pragma once

#include <windows.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <string>

#include "user/controls/automation_state.h"

#include "controls_fixture.h"

namespace handheld::testing {

class Edits : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    recorder.ignore({WM_PAINT, WM_ERASEBKGND, WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                     WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC,
                     WM_SETFOCUS, WM_KILLFOCUS, WM_GETDLGCODE, WM_STYLECHANGING, WM_STYLECHANGED,
                     WM_ACTIVATE, WM_GETTEXT, WM_GETTEXTLENGTH, WM_TIMER, WM_CAPTURECHANGED, WM_NCPAINT});
  }

  HWND edit(DWORD style, int id = 5, const char16_t* text = u"", RECT r = {10, 10, 110, 34}) {
    HWND e = control(u"EDIT", text, style, id, r);
    EXPECT_NE(e, nullptr);
    recorder.watch(e);
    recorder.clear();
    return e;
  }

  // Each character as WM_CHAR, as TranslateMessage makes them.
  static void type(HWND e, const std::u16string& text) {
    for (char16_t c : text) SendMessageW(e, WM_CHAR, c, 1);
  }
  static void key(HWND e, UINT vk) { SendMessageW(e, WM_KEYDOWN, vk, 1); }

  static std::u16string textOf(HWND e) {
    std::u16string text(static_cast<size_t>(GetWindowTextLengthW(e)) + 1, u'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(e, text.data(), static_cast<int>(text.size()))));
    return text;
  }
  static nlohmann::json automation(HWND e) {
    nlohmann::json state = nlohmann::json::object();
    SendMessageW(e, user::controls::WM_AUTOMATION_STATE, 0, reinterpret_cast<LPARAM>(&state));
    return state;
  }
  void putOnClipboard(const std::u16string& text) {
    ASSERT_TRUE(OpenClipboard(parent));
    EmptyClipboard();
    auto* block = static_cast<char16_t*>(LocalAlloc(0, (text.size() + 1) * sizeof(char16_t)));
    std::copy(text.begin(), text.end(), block);
    block[text.size()] = 0;
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
  }
  std::u16string clipboardText() {
    if (!OpenClipboard(parent)) return u"(not open)";
    const auto* data = static_cast<const char16_t*>(GetClipboardData(CF_UNICODETEXT));
    std::u16string text = data ? data : u"(none)";
    CloseClipboard();
    return text;
  }
  static std::pair<DWORD, DWORD> selection(HWND e) {
    DWORD start = 0, end = 0;
    SendMessageW(e, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }
};

}  // namespace handheld::testing
