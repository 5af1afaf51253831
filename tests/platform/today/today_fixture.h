// A device with the test item libraries installed, this process's registry helpers, and a
// Today screen in a window of this process.
#pragma once

#include <windows.h>

#include <todaycmn.h>

#include <string>

#include "platform/windows/windows_fixture.h"
#include "today_screen.h"

namespace handheld::testing {

class TodayTest : public WindowsTest {
 protected:
  void SetUp() override {
    WindowsTest::SetUp();
    goodItem = installTestProgram("GoodItem.dll");
    badItem = installTestProgram("BadItem.dll");
    // The default hive's date band first, unless a test moves it.
    setItem(u"Date", 0, 0, u"", 0, 1, 0);
  }
  void TearDown() override {
    if (IsWindow(frame)) DestroyWindow(frame);
    WindowsTest::TearDown();
  }

  static std::u16string itemKey(const std::u16string& name) { return u"SOFTWARE\\Microsoft\\Today\\Items\\" + name; }

  static void setDword(const std::u16string& path, const char16_t* name, DWORD value) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  static void setString(const std::u16string& path, const char16_t* name, const std::u16string& value) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(char16_t))),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  static DWORD getDword(const std::u16string& path, const char16_t* name, DWORD fallback = 0xDEAD) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return fallback;
    DWORD value = fallback, size = sizeof(value), type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
      value = fallback;
    RegCloseKey(key);
    return value;
  }

  // Registers an item; type 4 with a library, anything else built in.
  void setItem(const std::u16string& name, DWORD order, DWORD flags, const std::u16string& dll, DWORD type = 4,
               DWORD enabled = 1, DWORD options = 1) {
    setDword(itemKey(name), u"Type", type);
    setDword(itemKey(name), u"Order", order);
    setDword(itemKey(name), u"Flags", flags);
    setDword(itemKey(name), u"Enabled", enabled);
    setDword(itemKey(name), u"Options", options);
    if (!dll.empty()) setString(itemKey(name), u"DLL", dll);
  }

  // The screen below a 26-pixel bar, as the shell places it at QVGA.
  HWND openScreen() {
    frame = create(WS_VISIBLE, nullptr, {0, 0, 240, 320});
    screen = handheld::shell::createTodayScreen(GetModuleHandleW(nullptr), frame, RECT{0, 26, 240, 294});
    recorder.pumpPending();
    return screen;
  }

  // The first child of the screen of a window class.
  HWND child(const char16_t* className) const {
    for (HWND w = GetWindow(screen, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
      WCHAR name[64] = {};
      GetClassNameW(w, name, 64);
      if (std::u16string(name) == className) return w;
    }
    return nullptr;
  }
  RECT placeOf(HWND window) const {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, screen, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  int childCount() const {
    int count = 0;
    for (HWND w = GetWindow(screen, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) ++count;
    return count;
  }

  std::u16string goodItem, badItem;
  HWND frame = nullptr;
  HWND screen = nullptr;
};

}  // namespace handheld::testing
