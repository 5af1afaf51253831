// Messages between threads of one process: sends queued to the owner thread, nested sends
// in both directions, early replies, a receiving thread that ends, thread messages.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "windows_fixture.h"

namespace handheld::testing {
namespace {

// A platform thread with one window and a message loop, ended by posting WM_QUIT.
class WindowThread {
 public:
  explicit WindowThread(HWND (*make)()) : make_(make), ready_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = CreateThread(nullptr, 0, run, this, 0, &threadId_);
    WaitForSingleObject(ready_, INFINITE);
  }
  ~WindowThread() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(ready_);
  }
  HWND window() const { return window_; }
  DWORD threadId() const { return threadId_; }

 private:
  static DWORD WINAPI run(LPVOID self) {
    auto* t = static_cast<WindowThread*>(self);
    t->window_ = t->make_();
    SetEvent(t->ready_);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
    return 0;
  }

  HWND (*make_)();
  HANDLE ready_;
  HANDLE thread_ = nullptr;
  HWND window_ = nullptr;
  DWORD threadId_ = 0;
};

HWND g_mainWindow = nullptr;
DWORD g_showThread = 0;

LRESULT CALLBACK workerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_USER + 1:  // asks the main thread back while the main thread waits for us
      return SendMessageW(g_mainWindow, WM_USER + 2, wParam, 0) + 1;
    case WM_USER + 3:
      ReplyMessage(77);  // the sender goes on; this thread keeps working
      return 5;
    case WM_USER + 4:
      ExitThread(0);  // ends while processing a sent message
    case WM_USER + 5:
      return InSendMessage();
    case WM_SHOWWINDOW:
      g_showThread = GetCurrentThreadId();
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

HWND makeWorkerWindow() {
  return CreateWindowExW(0, u"Worker", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

class Threads : public WindowsTest {
 protected:
  void SetUp() override {
    WindowsTest::SetUp();
    WNDCLASSW worker{};
    worker.lpfnWndProc = workerProc;
    worker.lpszClassName = u"Worker";
    ASSERT_NE(RegisterClassW(&worker), 0);
    g_mainWindow = create(0);
    recorder.clear();
  }
};

TEST_F(Threads, SendsAcrossThreadsServeNestedSendsBack) {
  WindowThread worker(makeWorkerWindow);
  bool inSend = false;
  recorder.react(WM_USER + 2, [&](HWND, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    inSend = InSendMessage();
    return static_cast<LRESULT>(wParam) * 10;
  });
  EXPECT_EQ(SendMessageW(worker.window(), WM_USER + 1, 4, 0), 41);
  EXPECT_TRUE(inSend);
  EXPECT_TRUE(recorder.matches({{WM_USER + 2, kSent | kWParam, 4}}));
  EXPECT_FALSE(InSendMessage());
  EXPECT_EQ(SendMessageW(worker.window(), WM_USER + 5, 0, 0), TRUE);
  EXPECT_EQ(SendMessageW(worker.window(), WM_USER + 3, 0, 0), 77);
  EXPECT_FALSE(ReplyMessage(1));  // nothing of another thread is being processed here

  // Changing another thread's window: its procedure runs on its own thread.
  EXPECT_FALSE(ShowWindow(worker.window(), SW_SHOWNA));
  EXPECT_EQ(g_showThread, worker.threadId());
  EXPECT_TRUE(IsWindowVisible(worker.window()));
}

TEST_F(Threads, TwoThreadsSendingToEachOtherAtOnceDoNotDeadlock) {
  WindowThread worker(makeWorkerWindow);
  std::atomic<int> done{0};
  recorder.react(WM_USER + 2, [](HWND, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    return static_cast<LRESULT>(wParam);
  });
  std::thread third([&] {
    for (int i = 0; i < 200; ++i) SendMessageW(worker.window(), WM_USER + 1, 1, 0);
    done = 1;
  });
  for (int i = 0; i < 200; ++i) EXPECT_EQ(SendMessageW(worker.window(), WM_USER + 1, 2, 0), 3);
  EXPECT_TRUE(recorder.pumpUntil([&] { return done.load() == 1; }));
  third.join();
}

TEST_F(Threads, AReceiverThatEndsAnswersZero) {
  WindowThread worker(makeWorkerWindow);
  HWND w = worker.window();
  EXPECT_EQ(SendMessageW(w, WM_USER + 4, 0, 0), 0);
  EXPECT_FALSE(IsWindow(w));  // its thread took it along
  EXPECT_EQ(SendMessageW(w, WM_USER + 5, 0, 0), 0);
  EXPECT_FALSE(PostThreadMessageW(worker.threadId(), WM_USER, 0, 0));
}

TEST_F(Threads, NotificationsAndThreadMessages) {
  WindowThread worker(makeWorkerWindow);
  EXPECT_TRUE(SendNotifyMessageW(worker.window(), WM_USER + 5, 0, 0));
  EXPECT_FALSE(SendNotifyMessageW(worker.window(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"x")));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MESSAGE_SYNC_ONLY));
  EXPECT_TRUE(PostThreadMessageW(GetCurrentThreadId(), WM_USER + 9, 1, 2));
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 9));
  // A thread of this process without a queue, and a thread that exists nowhere.
  HANDLE hold = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD bare = 0;
  HANDLE plain = CreateThread(nullptr, 0, [](LPVOID event) -> DWORD {
    return WaitForSingleObject(static_cast<HANDLE>(event), INFINITE);
  }, hold, 0, &bare);
  EXPECT_FALSE(PostThreadMessageW(bare, WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_THREAD_ID));
  SetEvent(hold);
  WaitForSingleObject(plain, INFINITE);
  CloseHandle(plain);
  CloseHandle(hold);
  EXPECT_FALSE(PostThreadMessageW(0x7FFFFFF0, WM_USER, 0, 0));
}

}  // namespace
}  // namespace handheld::testing
