// Timers: WM_TIMER when due, a second SetTimer restarting the same timer, windowless timers
// with their procedure, and waiting for a timer without spinning.
#include <gtest/gtest.h>
#include <time.h>

#include <vector>

#include "windows_fixture.h"

namespace handheld::testing {
namespace {

class Timers : public WindowsTest {};

std::vector<UINT_PTR> g_fired;
void CALLBACK onTimer(HWND window, UINT message, UINT_PTR id, DWORD) {
  EXPECT_EQ(window, nullptr);
  EXPECT_EQ(message, static_cast<UINT>(WM_TIMER));
  g_fired.push_back(id);
}

size_t timersOf(const MessageRecorder& recorder, WPARAM id) {
  size_t n = 0;
  for (const auto& m : recorder.messages()) n += m.message == WM_TIMER && m.wParam == id;
  return n;
}

TEST_F(Timers, FireRestartAndStop) {
  HWND w = create(0);
  EXPECT_EQ(SetTimer(w, 7, 20, nullptr), 7u);
  const DWORD start = GetTickCount();
  ASSERT_TRUE(recorder.pumpUntil([&] { return timersOf(recorder, 7) >= 2; }));
  EXPECT_GE(GetTickCount() - start, 35u);

  // Setting it again restarts it with the new period.
  EXPECT_EQ(SetTimer(w, 7, 400, nullptr), 7u);
  recorder.clear();
  EXPECT_FALSE(recorder.pumpUntil([&] { return timersOf(recorder, 7) > 0; }, 150));
  EXPECT_TRUE(KillTimer(w, 7));
  EXPECT_FALSE(KillTimer(w, 7));
  EXPECT_FALSE(recorder.pumpUntil([&] { return timersOf(recorder, 7) > 0; }, 450));

  DestroyWindow(w);
  EXPECT_EQ(SetTimer(w, 1, 10, nullptr), 0u);
}

TEST_F(Timers, WindowlessTimersGetTheirOwnIds) {
  g_fired.clear();
  UINT_PTR first = SetTimer(nullptr, 0, 10, onTimer);
  UINT_PTR second = SetTimer(nullptr, 0, 10, onTimer);
  ASSERT_NE(first, 0u);
  EXPECT_NE(first, second);
  EXPECT_EQ(SetTimer(nullptr, first, 15, onTimer), first);  // an id given out before: replaced
  EXPECT_TRUE(KillTimer(nullptr, second));
  EXPECT_TRUE(recorder.pumpUntil([] { return g_fired.size() >= 2; }));
  for (UINT_PTR id : g_fired) EXPECT_EQ(id, first);
  KillTimer(nullptr, first);
}

TEST_F(Timers, WaitingForATimerDoesNotSpin) {
  HWND w = create(0);
  SetTimer(w, 1, 300, nullptr);
  timespec before{}, after{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &before);
  MSG m;
  ASSERT_GT(GetMessageW(&m, nullptr, 0, 0), 0);
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &after);
  EXPECT_EQ(m.message, static_cast<UINT>(WM_TIMER));
  const double cpuMs = (after.tv_sec - before.tv_sec) * 1e3 + (after.tv_nsec - before.tv_nsec) / 1e6;
  EXPECT_LT(cpuMs, 20.0);
}

}  // namespace
}  // namespace handheld::testing
