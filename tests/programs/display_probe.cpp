// A device program for display tests. Command line:
//   pattern LEFT TOP WIDTH HEIGHT RRGGBB [EVENT]
//                                         a borderless top-level window at that place painted
//                                         in quadrants: red, green / blue, RRGGBB (hex); it
//                                         stays until closed. With EVENT, sets that named event
//                                         whenever the stylus goes down on it
//   picture LEFT TOP                      a borderless top-level window showing the known
//                                         picture of shapes and text (known_picture.h)
//   keystate VK                           exit code: 1 when GetAsyncKeyState says the key is
//                                         down, plus 2 when GetKeyState's toggle bit is set
//   metrics FILE                          writes "width height border smallicon logpixelsy"
//                                         (GetSystemMetrics, GetDeviceCaps) to device file FILE
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "known_picture.h"

#include "command_words.h"

namespace {

int digitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// A decimal, or hexadecimal number (with or without 0x); -1 when it is not one.
long number(std::u16string text, int base = 10) {
  if (base == 16 && text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) text = text.substr(2);
  long value = 0;
  for (char16_t c : text) {
    const int digit = digitValue(c);
    if (digit < 0 || digit >= base) return -1;
    value = value * base + digit;
  }
  return value;
}

COLORREF g_fourth = 0;
HANDLE g_tapped = nullptr;
void (*g_paint)(HWND, HDC) = nullptr;

// Quadrants: red, green / blue, g_fourth.
void paintPattern(HWND window, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  const LONG midX = client.right / 2, midY = client.bottom / 2;
  const struct {
    RECT rect;
    COLORREF colour;
  } quadrants[] = {{{0, 0, midX, midY}, RGB(255, 0, 0)},
                   {{midX, 0, client.right, midY}, RGB(0, 255, 0)},
                   {{0, midY, midX, client.bottom}, RGB(0, 0, 255)},
                   {{midX, midY, client.right, client.bottom}, g_fourth}};
  for (const auto& q : quadrants) {
    HBRUSH brush = CreateSolidBrush(q.colour);
    FillRect(dc, &q.rect, brush);
    DeleteObject(brush);
  }
}

void paintPicture(HWND, HDC dc) { handheld::testing::drawKnownPicture(dc); }

LRESULT CALLBACK probeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      g_paint(window, dc);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_LBUTTONDOWN:
      if (g_tapped) SetEvent(g_tapped);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// A borderless top-level window painted by `paint`, until it is closed.
int runWindow(HINSTANCE instance, void (*paint)(HWND, HDC), long left, long top, long width, long height) {
  g_paint = paint;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = probeProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = u"DisplayProbe";
  if (!RegisterClassW(&windowClass)) return 2;
  HWND window = CreateWindowExW(0, u"DisplayProbe", u"Probe", WS_POPUP | WS_VISIBLE, static_cast<int>(left),
                                static_cast<int>(top), static_cast<int>(width), static_cast<int>(height), nullptr,
                                nullptr, instance, nullptr);
  if (!window) return 3;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

int pattern(HINSTANCE instance, const std::vector<std::u16string>& w) {
  if (w.size() != 6 && w.size() != 7) return 100;
  if (w.size() == 7) g_tapped = CreateEventW(nullptr, FALSE, FALSE, w[6].c_str());
  const long rgb = number(w[5], 16);
  if (rgb < 0) return 100;
  g_fourth = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
  return runWindow(instance, paintPattern, number(w[1]), number(w[2]), number(w[3]), number(w[4]));
}

int picture(HINSTANCE instance, const std::vector<std::u16string>& w) {
  if (w.size() != 3) return 100;
  return runWindow(instance, paintPicture, number(w[1]), number(w[2]), handheld::testing::kKnownPictureWidth,
                   handheld::testing::kKnownPictureHeight);
}

int metrics(const std::u16string& file) {
  HDC dc = CreateCompatibleDC(nullptr);
  char text[128];
  const int length = std::snprintf(text, sizeof text, "%d %d %d %d %d", GetSystemMetrics(SM_CXSCREEN),
                                   GetSystemMetrics(SM_CYSCREEN), GetSystemMetrics(SM_CXBORDER),
                                   GetSystemMetrics(SM_CXSMICON), GetDeviceCaps(dc, LOGPIXELSY));
  DeleteDC(dc);
  HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return 2;
  DWORD written = 0;
  const BOOL ok = WriteFile(out, text, static_cast<DWORD>(length), &written, nullptr);
  CloseHandle(out);
  return ok ? 0 : 3;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
  auto w = words(commandLine);
  if (w.empty()) return 100;
  if (w[0] == u"pattern") return pattern(instance, w);
  if (w[0] == u"picture") return picture(instance, w);
  if (w[0] == u"metrics" && w.size() == 2) return metrics(w[1]);
  if (w[0] == u"keystate" && w.size() == 2) {
    const int key = static_cast<int>(number(w[1], 16));
    return ((GetAsyncKeyState(key) < 0) ? 1 : 0) | ((GetKeyState(key) & 1) ? 2 : 0);
  }
  return 100;
}
