// What windows and classes keep: window values and extra bytes, classes and their errors,
// text, geometry and the relations between windows.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "windows_fixture.h"

namespace handheld::testing {
namespace {

class WindowValues : public WindowsTest {};

TEST_F(WindowValues, WindowLongsAndExtraBytes) {
  WNDCLASSW extra{};
  extra.lpfnWndProc = DefWindowProcW;
  extra.cbWndExtra = 16;
  extra.lpszClassName = u"Extra";
  ASSERT_NE(RegisterClassW(&extra), 0);
  HWND w = CreateWindowExW(0, u"Extra", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);

  const LONG_PTR big = static_cast<LONG_PTR>(0x123456789ABCDEF0ll);
  EXPECT_EQ(SetWindowLongPtrW(w, GWLP_USERDATA, big), 0);
  EXPECT_EQ(GetWindowLongPtrW(w, GWLP_USERDATA), big);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(w, GWLP_USERDATA)), 0x9ABCDEF0u);  // the low half

  EXPECT_EQ(SetWindowLongPtrW(w, 8, big), 0);
  EXPECT_EQ(GetWindowLongPtrW(w, 8), big);
  EXPECT_EQ(SetWindowLongW(w, 12, 77), 0x12345678);
  EXPECT_EQ(GetWindowLongW(w, 12), 77);
  SetLastError(0);
  EXPECT_EQ(GetWindowLongPtrW(w, 9), 0);  // would read past the 16 bytes
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
  EXPECT_EQ(SetWindowLongW(w, 13, 1), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
  EXPECT_EQ(GetWindowLongPtrW(w, -100), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));

  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE)), static_cast<DWORD>(WS_POPUP));
  SetWindowLongW(w, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetWindowLongW(w, GWL_EXSTYLE), WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetWindowLongPtrW(w, GWLP_HINSTANCE), reinterpret_cast<LONG_PTR>(GetModuleHandleW(nullptr)));
  EXPECT_EQ(GetWindowLongPtrW(nullptr, GWL_STYLE), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowValues, StyleChangesAreAnnouncedAndTheAnnouncementMayAlterThem) {
  HWND w = create(WS_POPUP);
  ASSERT_NE(w, nullptr);
  std::vector<STYLESTRUCT> seen;
  recorder.react(0x007C, [&](HWND, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    auto* change = reinterpret_cast<STYLESTRUCT*>(lParam);
    seen.push_back(*change);
    change->styleNew |= 0x0004;  // what the window asks for is what gets set
    return 0;
  });
  recorder.react(0x007D, [&](HWND, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    seen.push_back(*reinterpret_cast<STYLESTRUCT*>(lParam));
    return 0;
  });
  recorder.clear();

  EXPECT_EQ(static_cast<DWORD>(SetWindowLongW(w, GWL_STYLE, WS_POPUP | 0x0001)), 0x80000000u);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE)), 0x80000005u);
  EXPECT_TRUE(recorder.matches({{0x007C, kSent | kWParam, static_cast<WPARAM>(-16)},
                                {0x007D, kSent | kWParam, static_cast<WPARAM>(-16)}},
                               w));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].styleOld, 0x80000000u);
  EXPECT_EQ(seen[0].styleNew, 0x80000001u);
  EXPECT_EQ(seen[1].styleOld, 0x80000000u);
  EXPECT_EQ(seen[1].styleNew, 0x80000005u);

  recorder.clear();
  seen.clear();
  EXPECT_EQ(SetWindowLongPtrW(w, GWL_EXSTYLE, 0x00000080), 0);
  EXPECT_EQ(GetWindowLongW(w, GWL_EXSTYLE), 0x00000084);
  EXPECT_TRUE(recorder.matches({{0x007C, kSent | kWParam, static_cast<WPARAM>(-20)},
                                {0x007D, kSent | kWParam, static_cast<WPARAM>(-20)}},
                               w));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].styleOld, 0u);
  EXPECT_EQ(seen[1].styleNew, 0x00000084u);

  // Other values are set without a word.
  recorder.clear();
  SetWindowLongPtrW(w, GWLP_USERDATA, 5);
  EXPECT_TRUE(recorder.matches(std::vector<ExpectedMessage>{}, w));
}

TEST_F(WindowValues, ClassesAndTheirErrors) {
  WNDCLASSW again{};
  again.lpfnWndProc = DefWindowProcW;
  again.lpszClassName = u"RECORDED";  // names compare without regard to case
  EXPECT_EQ(RegisterClassW(&again), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));

  EXPECT_EQ(CreateWindowExW(0, u"Nothing", u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
  EXPECT_EQ(create(WS_CHILD), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD));

  HWND w = create(0);
  EXPECT_FALSE(UnregisterClassW(u"Recorded", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));

  WNDCLASSW info{};
  ASSERT_TRUE(GetClassInfoW(nullptr, u"Recorded", &info));
  EXPECT_EQ(info.lpfnWndProc, MessageRecorder::procedure);
  EXPECT_EQ(info.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  WCHAR name[4];
  EXPECT_EQ(GetClassNameW(w, name, 4), 3);  // truncated, terminated
  EXPECT_EQ(std::u16string(name), u"Rec");

  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  EXPECT_EQ(SetClassLongW(w, GCL_HBRBACKGROUND, static_cast<LONG>(reinterpret_cast<uintptr_t>(red))),
            static_cast<DWORD>(COLOR_WINDOW + 1));
  EXPECT_EQ(GetClassLongPtrW(w, GCLP_HBRBACKGROUND), reinterpret_cast<ULONG_PTR>(red));
  EXPECT_EQ(GetClassLongW(w, GCLP_WNDPROC), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));

  DestroyWindow(w);
  EXPECT_TRUE(UnregisterClassW(u"recorded", nullptr));
  EXPECT_FALSE(UnregisterClassW(u"Recorded", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST));

  UINT first = RegisterWindowMessageW(u"Handheld.Test");
  EXPECT_GE(first, 0xC000u);
  EXPECT_EQ(RegisterWindowMessageW(u"handheld.test"), first);
  EXPECT_NE(RegisterWindowMessageW(u"Handheld.Other"), first);
}

TEST_F(WindowValues, TextReachesTheServersTable) {
  HWND w = create(0, nullptr, {0, 0, 10, 10}, 0, u"First");
  EXPECT_EQ(FindWindowW(u"Recorded", u"First"), w);
  ASSERT_TRUE(SetWindowTextW(w, u"Second title"));
  EXPECT_EQ(FindWindowW(u"Recorded", u"First"), nullptr);
  EXPECT_EQ(FindWindowW(nullptr, u"Second title"), w);
  EXPECT_EQ(GetWindowTextLengthW(w), 12);
  WCHAR text[7];
  EXPECT_EQ(GetWindowTextW(w, text, 7), 6);
  EXPECT_EQ(std::u16string(text), u"Second");
  EXPECT_EQ(GetWindowTextW(w, text, 0), 0);
}

TEST_F(WindowValues, GeometryOfNestedWindows) {
  HWND top = create(WS_POPUP | WS_CAPTION, nullptr, {20, 30, 220, 330});
  HWND child = create(WS_CHILD | WS_BORDER | WS_VISIBLE, top, {5, 6, 55, 46}, 1);
  HWND inner = create(WS_CHILD | WS_VISIBLE, child, {2, 3, 12, 13}, 2);
  const int border = GetSystemMetrics(SM_CXBORDER);
  const int caption = GetSystemMetrics(SM_CYCAPTION);

  RECT r;
  ASSERT_TRUE(GetClientRect(top, &r));
  EXPECT_EQ(r.right, 200 - 2 * border);
  EXPECT_EQ(r.bottom, 300 - caption - 2 * border);
  ASSERT_TRUE(GetWindowRect(child, &r));
  EXPECT_EQ(r.left, 20 + border + 5);
  EXPECT_EQ(r.top, 30 + caption + border + 6);
  POINT p{0, 0};
  ASSERT_TRUE(ClientToScreen(inner, &p));
  EXPECT_EQ(p.x, 20 + border + 5 + border + 2);
  EXPECT_EQ(p.y, 30 + caption + border + 6 + border + 3);
  ASSERT_TRUE(ScreenToClient(inner, &p));
  EXPECT_EQ(p.x, 0);
  POINT points[1] = {{1, 1}};
  MapWindowPoints(inner, top, points, 1);
  EXPECT_EQ(points[0].x, 5 + border + 2 + 1);

  EXPECT_EQ(ChildWindowFromPoint(top, POINT{10, 10}), child);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{100, 100}), top);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{-1, 10}), nullptr);

  recorder.clear();
  ASSERT_TRUE(MoveWindow(child, 7, 8, 60, 50, TRUE));
  EXPECT_TRUE(recorder.matches({{WM_WINDOWPOSCHANGING},
                                {WM_WINDOWPOSCHANGED},
                                {WM_MOVE, kLParam, 0, MAKELPARAM(7 + border, 8 + border)},
                                {WM_SIZE, kLParam, 0, MAKELPARAM(60 - 2 * border, 50 - 2 * border)}},
                               child));
  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  EXPECT_EQ(desktop.right, GetSystemMetrics(SM_CXSCREEN));
}

TEST_F(WindowValues, RelationsBetweenWindows) {
  HWND top = create(WS_VISIBLE, nullptr, {0, 0, 200, 200});
  HWND first = create(WS_CHILD | WS_VISIBLE, top, {0, 0, 50, 50}, 11);
  HWND second = create(WS_CHILD | WS_VISIBLE, top, {0, 0, 50, 50}, 12);
  HWND inner = create(WS_CHILD, second, {0, 0, 5, 5}, 13);
  EXPECT_EQ(GetWindow(top, GW_CHILD), first);  // the first created comes first
  EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
  EXPECT_EQ(GetWindow(second, GW_HWNDPREV), first);
  EXPECT_EQ(GetWindow(first, GW_HWNDLAST), second);
  EXPECT_EQ(GetParent(inner), second);
  EXPECT_EQ(GetParent(top), nullptr);
  EXPECT_TRUE(IsChild(top, inner));
  EXPECT_FALSE(IsChild(first, inner));
  EXPECT_EQ(GetDlgItem(top, 12), second);
  EXPECT_EQ(GetDlgItem(top, 13), nullptr);  // not a direct child
  EXPECT_EQ(GetDlgCtrlID(inner), 13);
  EXPECT_FALSE(IsWindowVisible(inner));

  std::vector<HWND> seen;
  EnumChildWindows(top, [](HWND w, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&seen));
  EXPECT_EQ(seen, (std::vector<HWND>{first, second, inner}));

  SetWindowPos(second, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(top, GW_CHILD), second);
  EXPECT_EQ(WindowFromPoint(POINT{10, 10}), second);

  EXPECT_TRUE(EnableWindow(second, FALSE) == FALSE);  // was enabled
  EXPECT_FALSE(IsWindowEnabled(second));
  EXPECT_EQ(WindowFromPoint(POINT{10, 10}), first);  // disabled windows are passed over
  EXPECT_TRUE(EnableWindow(second, TRUE));
  DWORD pid = 0;
  EXPECT_EQ(GetWindowThreadProcessId(inner, &pid), GetCurrentThreadId());
  EXPECT_EQ(pid, GetCurrentProcessId());
}

}  // namespace
}  // namespace handheld::testing
