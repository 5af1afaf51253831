// A well-behaved Today item: a fixed height that changes on command, text in the Today
// screen's colour over its watermark, and an options dialog.
#include <windows.h>

#include <todaycmn.h>

#include "test_item.h"

namespace {

HINSTANCE g_module = nullptr;

struct ItemState {
  int height = TEST_ITEM_SHORT;
  bool reported = false;
  COLORREF text = 0;
  LRESULT clears = 0, paints = 0, watermarks = 0, queries = 0;
};
ItemState g_state;

DWORD readTall() {
  HKEY key = nullptr;
  DWORD value = 0, size = sizeof(value), type = 0;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEST_ITEM_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
  if (RegQueryValueExW(key, u"Tall", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
    value = 0;
  RegCloseKey(key);
  return value;
}

LRESULT CALLBACK itemProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TODAYCUSTOM_QUERYREFRESHCACHE: {
      ++g_state.queries;
      auto* item = reinterpret_cast<TODAYLISTITEM*>(lParam);
      if (!item || (g_state.reported && item->cyp == static_cast<DWORD>(g_state.height))) return FALSE;
      item->cyp = static_cast<DWORD>(g_state.height);
      g_state.reported = true;
      return TRUE;
    }
    case WM_TODAYCUSTOM_CLEARCACHE: ++g_state.clears; g_state.reported = false; return 0;
    case WM_ERASEBKGND: {
      TODAYDRAWWATERMARKINFO info{};
      info.hdc = reinterpret_cast<HDC>(wParam);
      info.hwnd = window;
      GetClientRect(window, &info.rc);
      if (SendMessageW(GetParent(window), TODAYM_DRAWWATERMARK, 0, reinterpret_cast<LPARAM>(&info))) {
        ++g_state.watermarks;
      } else {
        FillRect(info.hdc, &info.rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      }
      return 1;
    }
    case WM_PAINT: {
      ++g_state.paints;
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(window, &ps);
      RECT r{};
      GetClientRect(window, &r);
      r.left += 8;
      SetBkMode(hdc, TRANSPARENT);
      SetTextColor(hdc, g_state.text);
      DrawTextW(hdc, u"Test item: all is well", -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
      EndPaint(window, &ps);
      return 0;
    }
    case TEST_ITEM_SET_HEIGHT: g_state.height = static_cast<int>(wParam); return 0;
    case TEST_ITEM_CLEARS: return g_state.clears;
    case TEST_ITEM_PAINTS: return g_state.paints;
    case TEST_ITEM_TEXT_COLOR: return static_cast<LRESULT>(g_state.text);
    case TEST_ITEM_WATERMARKS: return g_state.watermarks;
    case TEST_ITEM_QUERIES: return g_state.queries;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_module = instance;
  return TRUE;
}

extern "C" HWND InitializeCustomItem(TODAYLISTITEM* item, HWND parent) {
  if (!item->fEnabled) return nullptr;
  g_state = ItemState{};
  g_state.height = readTall() ? TEST_ITEM_TALL : TEST_ITEM_SHORT;
  g_state.text = static_cast<COLORREF>(SendMessageW(parent, TODAYM_GETCOLOR, TODAYCOLOR_TEXT, 0));
  WNDCLASSW windowClass{};
  if (!GetClassInfoW(g_module, u"GoodTodayItem", &windowClass)) {
    windowClass.lpfnWndProc = itemProcedure;
    windowClass.hInstance = g_module;
    windowClass.lpszClassName = u"GoodTodayItem";
    RegisterClassW(&windowClass);
  }
  return CreateWindowExW(0, u"GoodTodayItem", u"Good item", WS_CHILD | WS_VISIBLE, 0, 0, 240, 0, parent, nullptr,
                         item->hinstDLL, nullptr);
}

extern "C" INT_PTR CustomItemOptionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    CheckDlgButton(dialog, TEST_ITEM_TALL_CHECK, readTall() ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEST_ITEM_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, &disposition) ==
        ERROR_SUCCESS) {
      const DWORD tall = IsDlgButtonChecked(dialog, TEST_ITEM_TALL_CHECK) == BST_CHECKED ? 1 : 0;
      RegSetValueExW(key, u"Tall", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&tall), sizeof(tall));
      RegCloseKey(key);
    }
    EndDialog(dialog, IDOK);
    return TRUE;
  }
  return FALSE;
}
