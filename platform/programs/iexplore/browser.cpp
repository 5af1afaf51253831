// The device's web browser. The device has no network: the browser shows the address it was
// asked to open and says that the page cannot be reached. The command line is the address.
#include <windows.h>

#include <string>

#include "program_window.h"

namespace {

constexpr WCHAR kWindowClass[] = u"BrowserWindow";
constexpr int kAddressId = 100;
constexpr int kMessageId = 101;

std::u16string addressFrom(LPCWSTR commandLine) {
  std::u16string address = commandLine ? commandLine : u"";
  const size_t first = address.find_first_not_of(u' ');
  address.erase(0, first == std::u16string::npos ? address.size() : first);
  while (!address.empty() && address.back() == u' ') address.pop_back();
  if (address.size() >= 2 && address.front() == u'"' && address.back() == u'"')
    address = address.substr(1, address.size() - 2);
  return address;
}

std::u16string g_address;

void layOut(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  const int unit = GetSystemMetrics(SM_CXBORDER) > 1 ? 2 : 1;
  const int margin = 4 * unit, line = 20 * unit, width = client.right - 2 * margin;
  MoveWindow(GetDlgItem(window, kAddressId), margin, margin, width, line, TRUE);
  MoveWindow(GetDlgItem(window, kMessageId), margin, 2 * margin + line, width, 4 * line, TRUE);
  MoveWindow(GetDlgItem(window, IDCANCEL), client.right - margin - 60 * unit, 3 * margin + 5 * line, 60 * unit, line,
             TRUE);
}

void create(HWND window) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  const auto child = [&](LPCWSTR cls, LPCWSTR text, DWORD style, int id) {
    CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  };
  child(u"EDIT", g_address.empty() ? u"(no address)" : g_address.c_str(), WS_BORDER | ES_READONLY | ES_AUTOHSCROLL,
        kAddressId);
  child(u"STATIC", u"The page cannot be shown: this device has no network connection.", SS_LEFT, kMessageId);
  child(u"BUTTON", u"Close", BS_PUSHBUTTON, IDCANCEL);
  layOut(window);
}

LRESULT CALLBACK browserProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      create(window);
      return 0;
    case WM_SIZE:
      layOut(window);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int show) {
  OutputDebugStringW((u"iexplore.exe command line: " + std::u16string(commandLine ? commandLine : u"")).c_str());
  g_address = addressFrom(commandLine);
  return RunProgramWindow(instance, kWindowClass, browserProc, u"Browser", show);
}
