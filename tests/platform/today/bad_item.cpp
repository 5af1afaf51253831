// A Today item that misbehaves the way its "Flags" value says: it faults in its ordinal 240,
// in its window's creation or painting, or in its options; it answers heights no screen has;
// it returns a window that is not a new child of the Today screen (a top-level one, the screen
// itself, another item's), or none; it throws; it overflows its stack; it runs a message loop
// where the screen calls it.
#include <windows.h>
#include <sys/mman.h>

#include <todaycmn.h>

#include <stdexcept>

#include "test_item.h"

namespace {

HINSTANCE g_module = nullptr;
DWORD g_mode = 0;

// A store to a page that allows nothing: a real SIGSEGV, not one raised by hand.
void fault() {
  void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  *static_cast<volatile int*>(page) = 1;
}

volatile bool g_stopRecursing = false;

int recurse(int depth) {
  if (g_stopRecursing) return depth;
  volatile char frame[1024];
  frame[0] = static_cast<char>(depth);
  return recurse(depth + 1) + frame[0];
}

LRESULT CALLBACK itemProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      if (g_mode == BAD_ITEM_FAULT_IN_CREATE) fault();
      return 0;
    case WM_PAINT:
      if (g_mode == BAD_ITEM_FAULT_IN_PAINT) fault();
      break;
    case WM_TODAYCUSTOM_QUERYREFRESHCACHE: {
      auto* item = reinterpret_cast<TODAYLISTITEM*>(lParam);
      if (g_mode == BAD_ITEM_PUMP_IN_QUERY) {
        MSG pending;
        while (PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&pending);
      }
      if (g_mode == BAD_ITEM_NEGATIVE_HEIGHT) item->cyp = static_cast<DWORD>(-40);
      else if (g_mode == BAD_ITEM_HUGE_HEIGHT) item->cyp = BAD_ITEM_HUGE_HEIGHT_VALUE;
      else item->cyp = 20;
      return TRUE;
    }
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_module = instance;
  return TRUE;
}

extern "C" HWND InitializeCustomItem(TODAYLISTITEM* item, HWND parent) {
  g_mode = item->grfFlags;
  if (g_mode == BAD_ITEM_FAULT_IN_INITIALIZE) fault();
  if (g_mode == BAD_ITEM_OVERFLOW_IN_INITIALIZE) recurse(0);
  if (g_mode == BAD_ITEM_THROW_IN_INITIALIZE) throw std::runtime_error("bad item");
  if (g_mode == BAD_ITEM_NO_WINDOW) return nullptr;
  if (g_mode == BAD_ITEM_RETURNS_ITS_PARENT) return parent;
  if (g_mode == BAD_ITEM_RETURNS_A_SIBLING) return GetWindow(parent, GW_CHILD);
  WNDCLASSW windowClass{};
  if (!GetClassInfoW(g_module, u"BadTodayItem", &windowClass)) {
    windowClass.lpfnWndProc = itemProcedure;
    windowClass.hInstance = g_module;
    windowClass.lpszClassName = u"BadTodayItem";
    RegisterClassW(&windowClass);
  }
  if (g_mode == BAD_ITEM_TOP_LEVEL_WINDOW)
    return CreateWindowExW(0, u"BadTodayItem", u"Bad item", WS_POPUP, 0, 0, 240, 20, nullptr, nullptr, g_module,
                           nullptr);
  return CreateWindowExW(0, u"BadTodayItem", u"Bad item", WS_CHILD | WS_VISIBLE, 0, 0, 240, 20, parent, nullptr,
                         g_module, nullptr);
}

extern "C" INT_PTR CustomItemOptionsDlgProc(HWND, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) fault();
  return FALSE;
}
