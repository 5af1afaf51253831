// Creating and destroying windows: the messages and their order, refused creation, owned
// windows and children, windows of other threads.
#include <gtest/gtest.h>

#include <thread>

#include "windows_fixture.h"

namespace handheld::testing {
namespace {

class Lifecycle : public WindowsTest {};

TEST_F(Lifecycle, CreationSendsItsMessagesInOrder) {
  int parameter = 0;
  LPVOID seenParameter = nullptr;
  std::u16string seenClass;
  recorder.react(WM_CREATE, [&](HWND, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    seenParameter = create->lpCreateParams;
    seenClass = create->lpszClass;
    EXPECT_EQ(create->cx, 100);
    EXPECT_EQ(create->y, 20);
    return 0;
  });
  HWND w = CreateWindowExW(0, u"recorded", u"Title", WS_VISIBLE, 10, 20, 100, 50, nullptr, nullptr, nullptr,
                           &parameter);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(seenParameter, &parameter);
  EXPECT_EQ(seenClass, u"recorded");
  EXPECT_TRUE(recorder.matches({
      {WM_NCCREATE, kSent},
      {WM_CREATE, kSent},
      {WM_SIZE, kSent | kWParam | kLParam, SIZE_RESTORED, MAKELPARAM(100, 50)},
      {WM_MOVE, kSent | kLParam, 0, MAKELPARAM(10, 20)},
      {WM_SHOWWINDOW, kSent | kWParam, TRUE},
      {WM_WINDOWPOSCHANGING, kSent},
      {WM_ACTIVATE, kSent | kWParam, WA_ACTIVE},
      {WM_SETFOCUS, kSent},
      {WM_WINDOWPOSCHANGED, kSent},
  }));
  recorder.clear();
  recorder.pumpPending();
  EXPECT_TRUE(recorder.matches({{WM_PAINT, kPosted}, {WM_ERASEBKGND, kSent}}));
  WCHAR text[16];
  EXPECT_EQ(GetWindowTextW(w, text, 16), 5);
  EXPECT_EQ(std::u16string(text), u"Title");
  EXPECT_TRUE(IsWindowVisible(w));
}

TEST_F(Lifecycle, MinusOneFromCreateOrFalseFromNcCreateRefusesTheWindow) {
  recorder.react(WM_CREATE, [](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> { return -1; });
  EXPECT_EQ(create(WS_VISIBLE), nullptr);
  EXPECT_TRUE(recorder.matches({{WM_NCCREATE}, {WM_CREATE}, {WM_DESTROY}, {WM_NCDESTROY}}));
  HWND refused = recorder.messages().front().window;
  EXPECT_FALSE(IsWindow(refused));
  EXPECT_EQ(FindWindowW(u"Recorded", nullptr), nullptr);

  recorder.clear();
  recorder.react(WM_NCCREATE, [](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> { return FALSE; });
  EXPECT_EQ(create(0), nullptr);
  EXPECT_TRUE(recorder.matches({{WM_NCCREATE}, {WM_NCDESTROY}}));
}

TEST_F(Lifecycle, DestroyingTakesOwnedWindowsFirstThenTheWindowAndItsChildren) {
  HWND parent = create(0, nullptr, {0, 0, 200, 200});
  HWND first = create(WS_CHILD | WS_VISIBLE, parent, {0, 0, 50, 50}, 1);
  HWND grandchild = create(WS_CHILD | WS_VISIBLE, first, {0, 0, 10, 10}, 3);
  HWND second = create(WS_CHILD | WS_VISIBLE, parent, {60, 0, 110, 50}, 2);
  HWND owned = create(WS_POPUP, parent);
  ASSERT_TRUE(parent && first && grandchild && second && owned);
  EXPECT_EQ(GetParent(owned), parent);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), parent);
  SetFocus(second);
  SetCapture(grandchild);
  recorder.pumpPending();
  recorder.ignore({WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_ACTIVATE, WM_SHOWWINDOW, WM_PAINT,
                   WM_ERASEBKGND, WM_MOVE, WM_SIZE, WM_SETFOCUS});
  recorder.clear();

  ASSERT_TRUE(DestroyWindow(parent));
  EXPECT_TRUE(recorder.matches({
      {WM_DESTROY, 0, 0, 0, owned},
      {WM_NCDESTROY, 0, 0, 0, owned},
      {WM_CAPTURECHANGED, kLParam, 0, 0, grandchild},
      {WM_KILLFOCUS, kWParam, 0, 0, second},
      {WM_DESTROY, 0, 0, 0, parent},
      {WM_DESTROY, 0, 0, 0, first},
      {WM_DESTROY, 0, 0, 0, grandchild},
      {WM_DESTROY, 0, 0, 0, second},
      {WM_NCDESTROY, 0, 0, 0, grandchild},
      {WM_NCDESTROY, 0, 0, 0, first},
      {WM_NCDESTROY, 0, 0, 0, second},
      {WM_NCDESTROY, 0, 0, 0, parent},
  }));
  for (HWND w : {parent, first, grandchild, second, owned}) EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_FALSE(DestroyWindow(parent));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(Lifecycle, ChildrenDuringTheirParentsDestroyStillExist) {
  HWND parent = create(0);
  HWND child = create(WS_CHILD, parent, {0, 0, 10, 10}, 7);
  bool childAlive = false;
  recorder.react(WM_DESTROY, [&](HWND w, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (w == parent) childAlive = IsWindow(child) && GetDlgItem(parent, 7) == child;
    return 0;
  });
  DestroyWindow(parent);
  EXPECT_TRUE(childAlive);
}

TEST_F(Lifecycle, OnlyTheCreatingThreadDestroysAndItsEndTakesItsWindows) {
  HWND foreign = nullptr;
  HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE finish = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread owner([&] {
    foreign = create(0, nullptr, {0, 0, 10, 10}, 0, u"Thread window");
    SetEvent(created);
    WaitForSingleObject(finish, INFINITE);
  });
  WaitForSingleObject(created, INFINITE);
  ASSERT_NE(foreign, nullptr);
  EXPECT_FALSE(DestroyWindow(foreign));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(FindWindowW(u"Recorded", u"Thread window"), foreign);
  SetEvent(finish);
  owner.join();
  EXPECT_FALSE(IsWindow(foreign));
  EXPECT_EQ(FindWindowW(u"Recorded", u"Thread window"), nullptr);
  CloseHandle(created);
  CloseHandle(finish);
}

TEST_F(Lifecycle, WmCloseDestroysThroughTheDefaultProcedure) {
  recorder.react(WM_DESTROY, [](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> {
    PostQuitMessage(3);
    return 0;
  });
  HWND w = create(WS_VISIBLE);
  PostMessageW(w, WM_CLOSE, 0, 0);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 3u);
  EXPECT_FALSE(IsWindow(w));
}

LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER + 1) return 7;
  auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return CallWindowProcW(previous, window, message, wParam, lParam);
}

TEST_F(Lifecycle, SubclassingKeepsAndCallsThePreviousProcedure) {
  HWND w = create(0);
  auto previous = SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclassProc));
  EXPECT_EQ(previous, reinterpret_cast<LONG_PTR>(MessageRecorder::procedure));
  SetWindowLongPtrW(w, GWLP_USERDATA, previous);
  EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(subclassProc));
  recorder.clear();
  EXPECT_EQ(SendMessageW(w, WM_USER + 1, 0, 0), 7);
  EXPECT_EQ(SendMessageW(w, WM_USER + 2, 5, 6), 0);
  EXPECT_TRUE(recorder.matches({{WM_USER + 2, kWParam | kLParam, 5, 6}}));
  // A 32-bit value cannot hold a procedure on this 64-bit platform.
  SetLastError(0);
  EXPECT_EQ(GetWindowLongW(w, GWLP_WNDPROC), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
}

}  // namespace
}  // namespace handheld::testing
