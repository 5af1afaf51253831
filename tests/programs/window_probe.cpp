// A device program with one top-level window, for tests of windows and messages between
// processes. Command line: "window CLASS TITLE [REPORT]" or "instance CLASS TITLE [REPORT]"
// (the second form first looks for a running instance, tells it and ends, as the system's
// program does). REPORT is the hex handle of a test window told of what happens here.
//
// The window procedure answers:
//   WM_USER+1 (wParam, lParam)  returns wParam + lParam
//   WM_USER+2 (window, n)       sends WM_USER+3 (n) to `window`, returns its result + 1000
//   WM_USER+3 (n)               returns n * 2
//   WM_USER+4                   never returns (Sleep)
//   WM_USER+5 (ms)              computes for ms milliseconds, returns 1
//   WM_USER+6                   SetForegroundWindow on itself, returns 1
//   WM_USER+7                   waits until the named event ProbeRelease is set, returns 1
//   WM_USER+8 (n)               a numbered post: counted, and n added to a sum
//   WM_USER+9                   returns how many numbered posts came
//   WM_USER+11                  returns the sum of their numbers
// and reports to REPORT: WM_ACTIVATE as WM_APP+1 (state, own handle), WM_SETFOCUS as WM_APP+2,
// WM_KILLFOCUS as WM_APP+3, a second start as WM_APP+10 (its process id).
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "command_words.h"

namespace {

HWND g_report = nullptr;
LRESULT g_numberedPosts = 0;
LRESULT g_numberSum = 0;

HWND parseHandle(const std::u16string& text) {
  uintptr_t value = 0;
  for (char16_t c : text.substr(text.rfind(u'x') == std::u16string::npos ? 0 : text.rfind(u'x') + 1)) {
    value *= 16;
    if (c >= u'0' && c <= u'9') value += static_cast<uintptr_t>(c - u'0');
    else if (c >= u'a' && c <= u'f') value += static_cast<uintptr_t>(c - u'a' + 10);
    else if (c >= u'A' && c <= u'F') value += static_cast<uintptr_t>(c - u'A' + 10);
  }
  return reinterpret_cast<HWND>(value);
}

void report(UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_report) PostMessageW(g_report, message, wParam, lParam);
}

LRESULT CALLBACK probeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_USER + 1:
      return static_cast<LRESULT>(wParam) + lParam;
    case WM_USER + 2:
      return SendMessageW(reinterpret_cast<HWND>(wParam), WM_USER + 3, static_cast<WPARAM>(lParam), 0) + 1000;
    case WM_USER + 3:
      return static_cast<LRESULT>(wParam) * 2;
    case WM_USER + 4:
      Sleep(INFINITE);
      return 0;
    case WM_USER + 5: {
      auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(wParam);
      while (std::chrono::steady_clock::now() < until) {
      }
      return 1;
    }
    case WM_USER + 6:
      return SetForegroundWindow(window);
    case WM_USER + 7: {
      HANDLE release = CreateEventW(nullptr, TRUE, FALSE, u"ProbeRelease");
      WaitForSingleObject(release, INFINITE);
      CloseHandle(release);
      return 1;
    }
    case WM_USER + 8:
      ++g_numberedPosts;
      g_numberSum += static_cast<LRESULT>(wParam);
      return 0;
    case WM_USER + 9:
      return g_numberedPosts;
    case WM_USER + 11:
      return g_numberSum;
    case WM_USER + 10:
      report(WM_APP + 10, wParam, 0);
      return 0;
    case WM_ACTIVATE:
      report(WM_APP + 1, LOWORD(wParam), reinterpret_cast<LPARAM>(window));
      break;
    case WM_SETFOCUS:
      report(WM_APP + 2, 0, reinterpret_cast<LPARAM>(window));
      break;
    case WM_KILLFOCUS:
      report(WM_APP + 3, 0, reinterpret_cast<LPARAM>(window));
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
  auto w = words(commandLine);
  if (w.size() < 3 || (w[0] != u"window" && w[0] != u"instance")) return 100;
  if (w.size() > 3) g_report = parseHandle(w[3]);
  if (w[0] == u"instance") {
    if (HWND running = FindWindowW(w[1].c_str(), w[2].c_str())) {
      PostMessageW(running, WM_USER + 10, GetCurrentProcessId(), 0);
      return 0;
    }
  }
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = probeProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = w[1].c_str();
  if (!RegisterClassW(&windowClass)) return 2;
  HWND window = CreateWindowExW(0, w[1].c_str(), w[2].c_str(), WS_VISIBLE, 0, 0, 120, 80, nullptr,
                                nullptr, instance, nullptr);
  if (!window) return 3;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
