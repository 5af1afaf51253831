// The message queue of one thread: retrieval order, filters, removal, quit, what may not be
// posted, key translation and waiting.
#include <gtest/gtest.h>

#include <thread>

#include "user/messages.h"
#include "windows_fixture.h"

namespace handheld::testing {
namespace {

class Messages : public WindowsTest {
 protected:
  // Waits (without spinning) until a message sent from another thread is queued here.
  static void awaitSentMessage() {
    while (HIWORD(GetQueueStatus(QS_SENDMESSAGE)) == 0)
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_SENDMESSAGE);
  }
};

TEST_F(Messages, SentThenPostedThenInputThenPaintAndTimersLast) {
  HWND w = create(WS_VISIBLE);
  recorder.pumpPending();
  recorder.clear();
  SetTimer(w, 5, 10, nullptr);
  InvalidateRect(w, nullptr, TRUE);
  PostMessageW(w, WM_USER + 1, 0, 0);
  ASSERT_TRUE(user::queueInputMessage(MSG{w, WM_KEYDOWN, VK_SPACE, 0, GetTickCount(), {}}));
  PostMessageW(w, WM_USER + 2, 0, 0);
  std::thread sender([w] { SendMessageW(w, WM_USER + 3, 0, 0); });
  awaitSentMessage();
  Sleep(30);  // the timer is due
  recorder.pumpPending();
  sender.join();
  KillTimer(w, 5);
  EXPECT_TRUE(recorder.matches({
      {WM_USER + 3, kSent},
      {WM_USER + 1, kPosted},
      {WM_USER + 2, kPosted},
      {WM_KEYDOWN, kPosted},
      {WM_CHAR, kPosted | kWParam, u' '},
      {WM_PAINT, kPosted},
      {WM_ERASEBKGND, kSent},
      {WM_TIMER, kPosted | kWParam, 5},
  }));
}

TEST_F(Messages, FiltersAndPeekingWithoutRemoving) {
  HWND a = create(0);
  HWND b = create(0);
  HWND child = create(WS_CHILD, a, {0, 0, 5, 5}, 1);
  PostMessageW(b, WM_USER + 1, 1, 0);
  PostMessageW(a, WM_USER + 2, 2, 0);
  PostMessageW(child, WM_USER + 3, 3, 0);
  PostThreadMessageW(GetCurrentThreadId(), WM_USER + 4, 4, 0);
  PostQuitMessage(9);

  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 1));
  ASSERT_TRUE(PeekMessageW(&m, a, 0, 0, PM_REMOVE));  // a and its children only
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 2));
  ASSERT_TRUE(PeekMessageW(&m, a, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.hwnd, child);
  EXPECT_FALSE(PeekMessageW(&m, a, 0, 0, PM_REMOVE));
  ASSERT_TRUE(PeekMessageW(&m, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));  // thread messages
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 4));
  EXPECT_EQ(m.hwnd, nullptr);
  EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_USER + 2, WM_USER + 9, PM_REMOVE));
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_USER, WM_USER + 1, PM_REMOVE));
  EXPECT_EQ(m.hwnd, b);
  // The quit request comes once the posted messages are gone.
  EXPECT_EQ(GetMessageW(&m, nullptr, 0, 0), FALSE);
  EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(m.wParam, 9u);
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Messages, AWindowsPendingMessagesGoWithIt) {
  HWND going = create(0);
  HWND staying = create(0);
  PostMessageW(going, WM_USER + 1, 0, 0);
  PostMessageW(staying, WM_USER + 2, 0, 0);
  PostMessageW(going, WM_USER + 3, 0, 0);
  DestroyWindow(going);
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 2));
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PostMessageW(going, WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

// Within the process a posted pointer stays good: a program posts text and list items to its
// own windows.
TEST_F(Messages, PointerMessagesMayBePostedWithinTheProcess) {
  HWND w = create(0);
  recorder.clear();
  EXPECT_TRUE(PostMessageW(w, 0x000C, 0, reinterpret_cast<LPARAM>(u"posted title")));
  EXPECT_TRUE(PostMessageW(w, 0x0180, 0, reinterpret_cast<LPARAM>(u"item")));  // a list box's
  EXPECT_TRUE(PostMessageW(w, 0x00F1, 1, 0));                                 // a button's
  EXPECT_TRUE(PostThreadMessageW(GetCurrentThreadId(), 0x000C, 0, reinterpret_cast<LPARAM>(u"t")));
  recorder.pumpPending();
  EXPECT_TRUE(recorder.matches({{0x000C, kPosted}, {0x0180, kPosted | kLParam, 0, reinterpret_cast<LPARAM>(u"item")},
                                {0x00F1, kPosted | kWParam, 1}},
                               w));
  WCHAR title[32] = {};
  GetWindowTextW(w, title, 32);
  EXPECT_EQ(std::u16string(title), u"posted title");
}

TEST_F(Messages, BadHandlesAreRefused) {
  HWND w = create(0);
  // A slot no process has, a value beyond 32 bits, the desktop.
  for (HWND bad : {reinterpret_cast<HWND>(0xFFF00001u), reinterpret_cast<HWND>(0x1234500000001ull),
                   GetDesktopWindow()}) {
    SetLastError(0);
    EXPECT_EQ(SendMessageW(bad, WM_USER, 0, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(PostMessageW(bad, WM_USER, 0, 0));
    EXPECT_FALSE(IsWindow(bad) && bad != GetDesktopWindow());
  }
  // A timer message from elsewhere cannot make the thread call an address it names.
  static bool called = false;
  TIMERPROC lure = [](HWND, UINT, UINT_PTR, DWORD) { called = true; };
  PostMessageW(w, WM_TIMER, 1, reinterpret_cast<LPARAM>(lure));
  recorder.clear();
  recorder.pumpPending();
  EXPECT_FALSE(called);
  EXPECT_TRUE(recorder.matches({{WM_TIMER, kPosted}}));
}

TEST_F(Messages, TranslateMessageMakesCharactersFromTheKeyState) {
  HWND w = create(0);
  auto setKey = [&](UINT key, bool down) { ASSERT_TRUE(device().call<ipc::KeyStateSet>({key, down})); };
  MSG key{w, WM_KEYDOWN, 'A', 0x1E0001, 0, {}};
  PostMessageW(w, WM_USER, 0, 0);
  EXPECT_TRUE(TranslateMessage(&key));
  setKey(VK_SHIFT, true);
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0);
  EXPECT_TRUE(TranslateMessage(&key));
  setKey(VK_SHIFT, false);
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
  MSG enter{w, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  TranslateMessage(&enter);
  MSG up{w, WM_KEYUP, 'A', 0, 0, {}};
  EXPECT_TRUE(TranslateMessage(&up));
  MSG other{w, WM_USER, 0, 0, 0, {}};
  EXPECT_FALSE(TranslateMessage(&other));

  // Each character comes next: before what was posted earlier.
  std::u16string characters;
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
    characters += m.message == WM_CHAR ? static_cast<char16_t>(m.wParam) : u'|';
  EXPECT_EQ(characters, u"\rAa|");

  setKey(VK_CAPITAL, true);
  setKey(VK_CAPITAL, false);
  EXPECT_EQ(GetKeyState(VK_CAPITAL), 1);  // toggled, not down
}

TEST_F(Messages, QueueStatusAndWaitingForMessagesOrObjects) {
  HWND w = create(0);
  recorder.pumpPending();
  GetQueueStatus(QS_ALLINPUT);
  PostMessageW(w, WM_USER, 0, 0);
  EXPECT_EQ(GetQueueStatus(QS_POSTMESSAGE), static_cast<DWORD>(MAKELONG(QS_POSTMESSAGE, QS_POSTMESSAGE)));
  EXPECT_EQ(GetQueueStatus(QS_POSTMESSAGE), static_cast<DWORD>(MAKELONG(0, QS_POSTMESSAGE)));
  // Only what arrives after the queue was looked at ends the wait.
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT), static_cast<DWORD>(WAIT_TIMEOUT));

  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread other([&] {
    Sleep(20);
    PostMessageW(w, WM_USER + 1, 0, 0);
  });
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 5000, QS_POSTMESSAGE), WAIT_OBJECT_0 + 1);
  other.join();
  SetEvent(event);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 0, QS_ALLINPUT), WAIT_OBJECT_0);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, TRUE, 0, QS_ALLINPUT), WAIT_FAILED);
  CloseHandle(event);
  GetMessageW(nullptr, nullptr, 0, 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  MSG m;
  EXPECT_EQ(GetMessageW(&m, reinterpret_cast<HWND>(0xFFF00001u), 0, 0), -1);
}

// A queue holds 10000 posted messages; the next post fails with ERROR_NOT_ENOUGH_QUOTA
// (1816), to a window and to the thread, until one is taken.
TEST_F(Messages, AFullQueueRefusesTheNextPost) {
  HWND w = create(0);
  for (int n = 0; n < 10000; ++n) ASSERT_TRUE(PostMessageW(w, WM_USER, static_cast<WPARAM>(n), 0)) << n;
  SetLastError(0);
  EXPECT_FALSE(PostMessageW(w, WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), 1816u);
  SetLastError(0);
  EXPECT_FALSE(PostThreadMessageW(GetCurrentThreadId(), WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), 1816u);
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.wParam, 0u);
  EXPECT_TRUE(PostMessageW(w, WM_USER, 10000, 0));
  int taken = 0;
  while (PeekMessageW(&m, nullptr, WM_USER, WM_USER, PM_REMOVE)) ++taken;
  EXPECT_EQ(taken, 10000);
  EXPECT_EQ(m.wParam, 10000u);
}

}  // namespace
}  // namespace handheld::testing
