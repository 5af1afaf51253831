// inkpad: one ink control over the work area to write and type on. `inkpad [FILE]` streams FILE in
// when it exists and streams the content out to it on close. Its menu bar has an "Edit" menu
// (undo, cut, copy, paste), a "Page" menu of page styles, and buttons that step through the
// modes (writing, typing, selecting, erasing), zoom, record and stop; the view (mode, zoom,
// page) is kept in the registry so that a reopened file looks as it was left.
#include <aygshell.h>
#include <windows.h>

#include <commctrl.h>
#include <inkx.h>

#include <algorithm>
#include <array>
#include <string>

#include "inkpad_resource.h"

namespace {

constexpr int kInkId = 300;

constexpr char16_t kWindowClass[] = u"InkPad";
constexpr char16_t kSettingsKey[] = u"Software\\InkPad";
constexpr int kZoomSteps[] = {25, 50, 75, 100, 150, 200, 300};
// The page styles offered, with the flags the control takes for each.
constexpr std::array<std::pair<const char16_t*, DWORD>, 7> kPages{{{u"Blank", INKPAGE_BLANK},
                                                                   {u"Grid", INKPAGE_GRID},
                                                                   {u"Ruled lines", INKPAGE_RULED},
                                                                   {u"Dotted lines", INKPAGE_DOTTED},
                                                                   {u"Left margin", INKPAGE_LEFT_MARGIN},
                                                                   {u"Top margin", INKPAGE_TOP_MARGIN},
                                                                   {u"Left-top margin", INKPAGE_LEFT_TOP_MARGIN}}};

struct Pad {
  HINSTANCE instance = nullptr;
  std::u16string file;
  HWND ink = nullptr, inner = nullptr, bar = nullptr;
  DWORD mode = INKMODE_WRITING, zoom = 100, page = 0;
  // A file this control could not read (a later version, a read error) is never written over.
  bool keepFile = false;
};
Pad g_pad;

DWORD readSetting(const char16_t* name, DWORD fallback) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, 0, &key) != ERROR_SUCCESS) return fallback;
  DWORD value = fallback, size = sizeof(value), type = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    value = fallback;
  RegCloseKey(key);
  return value;
}

void writeSettings() {
  HKEY key;
  DWORD disposition;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, 0, nullptr, &key, &disposition) != ERROR_SUCCESS)
    return;
  for (auto [name, value] : {std::pair{u"Mode", g_pad.mode}, {u"Zoom", g_pad.zoom}, {u"Page", g_pad.page}})
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
  RegCloseKey(key);
}

DWORD CALLBACK readPiece(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  DWORD got = 0;
  if (!ReadFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(count), &got, nullptr)) return 1;
  *done = static_cast<LONG>(got);
  return 0;
}

DWORD CALLBACK writePiece(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  DWORD written = 0;
  if (!WriteFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(count), &written, nullptr) ||
      written != static_cast<DWORD>(count))
    return 1;
  *done = count;
  return 0;
}

void load() {
  HANDLE file = CreateFileW(g_pad.file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(file), 0, readPiece};
  SendMessageW(g_pad.ink, EM_STREAMIN, INK_STREAM_FORMAT, reinterpret_cast<LPARAM>(&stream));
  CloseHandle(file);
  // Damaged content loads what was sound, and saving keeps that; anything else keeps the file.
  g_pad.keepFile = stream.dwError != 0 && stream.dwError != INK_STREAM_DAMAGED;
}

// Written beside the file first, so that a failed save leaves the old file whole.
void save() {
  const std::u16string temporary = g_pad.file + u".new";
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(file), 0, writePiece};
  SendMessageW(g_pad.ink, EM_STREAMOUT, INK_STREAM_FORMAT, reinterpret_cast<LPARAM>(&stream));
  CloseHandle(file);
  if (stream.dwError != 0) {
    DeleteFileW(temporary.c_str());
    return;
  }
  DeleteFileW(g_pad.file.c_str());
  MoveFileW(temporary.c_str(), g_pad.file.c_str());
}

void applyView() {
  SendMessageW(g_pad.inner, INKM_SET_MODE, g_pad.mode, 0);
  SendMessageW(g_pad.inner, INKM_SET_ZOOM, 0, static_cast<LPARAM>(g_pad.zoom));
  SendMessageW(g_pad.ink, INKM_SET_PAGE, g_pad.page < kPages.size() ? kPages[g_pad.page].second : INKPAGE_BLANK, 0);
  // The mode button shows the mode in force.
  static constexpr int kModeImages[] = {IMG_WRITING, IMG_TYPING, IMG_SELECTING, IMG_ERASING};
  TBBUTTONINFOW info{};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_IMAGE;
  info.iImage = kModeImages[g_pad.mode % 4];
  SendMessageW(g_pad.bar, TB_SETBUTTONINFOW, IDM_MODE, reinterpret_cast<LPARAM>(&info));
}

void stepZoom(int direction) {
  size_t at = 0;
  while (at + 1 < std::size(kZoomSteps) && kZoomSteps[at] < static_cast<int>(g_pad.zoom)) ++at;
  const int next = static_cast<int>(at) + direction;
  if (next >= 0 && next < static_cast<int>(std::size(kZoomSteps))) g_pad.zoom = static_cast<DWORD>(kZoomSteps[next]);
  applyView();
}

// Before a menu of the bar drops down: the page in force checked, undo only when there is any.
void prepareMenu(HMENU menu) {
  if (menu == reinterpret_cast<HMENU>(SendMessageW(g_pad.bar, SHCMBM_GETSUBMENU, 0, IDM_PAGE))) {
    for (size_t i = 0; i < kPages.size(); ++i)
      CheckMenuItem(menu, IDM_PAGE_STYLE + static_cast<UINT>(i), MF_BYCOMMAND | (i == g_pad.page ? MF_CHECKED : MF_UNCHECKED));
  } else if (menu == reinterpret_cast<HMENU>(SendMessageW(g_pad.bar, SHCMBM_GETSUBMENU, 0, IDM_EDIT))) {
    const bool canUndo = SendMessageW(g_pad.inner, EM_CANUNDO, 0, 0) != 0;
    EnableMenuItem(menu, IDM_UNDO, MF_BYCOMMAND | (canUndo ? MF_ENABLED : MF_GRAYED));
  }
}

void command(int id) {
  switch (id) {
    case IDM_MODE: g_pad.mode = (g_pad.mode + 1) % 4; applyView(); break;
    case IDM_ZOOM_IN: stepZoom(1); break;
    case IDM_ZOOM_OUT: stepZoom(-1); break;
    case IDM_RECORD:
      SendMessageW(g_pad.ink, INKM_RECORD_MODE, 1, 0);
      SendMessageW(g_pad.ink, INKM_RECORD, 0, 0);
      break;
    case IDM_STOP: SendMessageW(g_pad.ink, INKM_STOP, 0, 0); break;
    case IDM_UNDO:
      if (SendMessageW(g_pad.inner, EM_CANUNDO, 0, 0)) {
        SendMessageW(g_pad.inner, INKM_UNDO, 0, 0);
        g_pad.zoom = static_cast<DWORD>(SendMessageW(g_pad.inner, INKM_GET_ZOOM, 0, 0));
      }
      break;
    case IDM_CUT: SendMessageW(g_pad.ink, WM_CUT, 0, 0); break;
    case IDM_COPY: SendMessageW(g_pad.ink, WM_COPY, 0, 0); break;
    case IDM_PASTE: SendMessageW(g_pad.ink, WM_PASTE, 0, 0); break;
    default:
      if (id < IDM_PAGE_STYLE || id >= IDM_PAGE_STYLE + static_cast<int>(kPages.size())) return;
      g_pad.page = static_cast<DWORD>(id - IDM_PAGE_STYLE);
      applyView();
      break;
  }
  SetFocus(g_pad.inner);
}

// The bar along the bottom of the screen; false when it cannot be made.
bool makeBar(HWND window) {
  SHMENUBARINFO info{};
  info.cbSize = sizeof(info);
  info.hwndParent = window;
  info.nToolBarId = IDR_INKPAD_BAR;
  info.hInstRes = g_pad.instance;
  info.nBmpId = GetSystemMetrics(SM_CXSMICON) > 16 ? IDB_INKPAD_TOOLS32 : IDB_INKPAD_TOOLS16;
  info.cBmpImages = INKPAD_TOOL_IMAGES;
  if (!SHCreateMenuBar(&info)) return false;
  g_pad.bar = info.hwndMB;
  // One per image button, in the bar's order; the bar keeps the pointer.
  static const char16_t* kTips[] = {u"Mode", u"Zoom in", u"Zoom out", u"Record", u"Stop"};
  SendMessageW(g_pad.bar, TB_SETTOOLTIPS, std::size(kTips), reinterpret_cast<LPARAM>(kTips));
  return true;
}

bool create(HWND window) {
  if (!makeBar(window)) return false;
  // The control fills the window down to the bar.
  RECT client, bar;
  GetClientRect(window, &client);
  GetWindowRect(g_pad.bar, &bar);
  POINT barTop{bar.left, bar.top};
  ScreenToClient(window, &barTop);
  g_pad.ink = CreateWindowExW(0, INKX_CLASS, u"", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, 0, client.right,
                              std::min(client.bottom, barTop.y), window,
                              reinterpret_cast<HMENU>(static_cast<intptr_t>(kInkId)), g_pad.instance, nullptr);
  if (!g_pad.ink) return false;
  g_pad.inner = reinterpret_cast<HWND>(SendMessageW(g_pad.ink, INKM_GET_INNER, 0, 0));
  g_pad.mode = readSetting(u"Mode", INKMODE_WRITING) % 4;
  g_pad.zoom = readSetting(u"Zoom", 100);
  g_pad.page = readSetting(u"Page", 0);
  if (!g_pad.file.empty()) load();
  applyView();
  SendMessageW(g_pad.inner, EM_EMPTYUNDOBUFFER, 0, 0);
  SetFocus(g_pad.inner);
  return true;
}

LRESULT CALLBACK mainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return create(window) ? 0 : -1;
    case WM_COMMAND:
      if (lParam != 0 && reinterpret_cast<HWND>(lParam) == g_pad.ink) return 0;  // focus and change notes
      command(LOWORD(wParam));
      return 0;
    case WM_INITMENUPOPUP: prepareMenu(reinterpret_cast<HMENU>(wParam)); return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && g_pad.inner) SetFocus(g_pad.inner);
      return 0;
    case WM_CLOSE:
      if (!g_pad.file.empty() && !g_pad.keepFile) save();
      writeSettings();
      DestroyWindow(window);
      return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

// The command line is the file, perhaps in quotes.
std::u16string fileFrom(const char16_t* line) {
  std::u16string file = line ? line : u"";
  while (!file.empty() && (file.back() == u' ' || file.back() == u'"')) file.pop_back();
  const size_t start = file.find_first_not_of(u" \"");
  return start == std::u16string::npos ? std::u16string{} : file.substr(start);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int show) {
  g_pad.instance = instance;
  g_pad.file = fileFrom(commandLine);
  HMODULE library = LoadLibraryW(u"\\Windows\\InkX.dll");
  FARPROC address = library ? GetProcAddressW(library, u"InitInkX") : nullptr;
  auto init = reinterpret_cast<INITINKXPROC>(reinterpret_cast<void (*)()>(address));
  if (!init || !init()) return 1;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = mainProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kWindowClass;
  if (!RegisterClassW(&windowClass)) return 1;
  // Between the navigation bar and the menu bar.
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  HWND window = CreateWindowExW(0, kWindowClass, u"Ink Pad", WS_VISIBLE, area.left, area.top, area.right - area.left,
                                area.bottom - area.top, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
