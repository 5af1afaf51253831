#include "today_screen.h"

#include <todaycmn.h>

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "controls/date_format.h"
#include "fault_guard.h"
#include "item_libraries.h"
#include "item_list.h"
#include "theme.h"

namespace handheld::shell {

std::vector<HWND>& todayScreens() {
  static std::vector<HWND> screens;
  return screens;
}

namespace {

constexpr const char16_t* kClassName = u"HandheldTodayScreen";
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMilliseconds = 2000;
// Posted after an item faulted or went away: lay the bands out again.
constexpr UINT kTodayLayout = kTodayRebuild + 1;
// The date band, in units of the border metric (1 at QVGA, 2 at VGA).
constexpr int kDateBandHeight = 22;
constexpr int kDateFontHeight = 12;
constexpr int kDateIndent = 6;

class TodayScreen;

struct HostedItem {
  TodayItemInfo info;
  TodayScreen* screen = nullptr;
  // Custom items only.
  std::unique_ptr<TODAYLISTITEM> listItem;
  HMODULE module = nullptr;
  HWND window = nullptr;
  WNDPROC itemProcedure = nullptr;
  bool broken = false;
  bool heightLogged = false;
  int height = 0;
};

// The item windows this process hosts, for the guarding procedure put in front of theirs.
std::unordered_map<HWND, HostedItem*>& hostedWindows() {
  static std::unordered_map<HWND, HostedItem*> windows;
  return windows;
}

int scaleY() { return std::max(1, GetSystemMetrics(SM_CYBORDER)); }

void copyTruncated(WCHAR* destination, size_t capacity, const std::u16string& text) {
  const size_t length = std::min(text.size(), capacity - 1);
  std::copy_n(text.data(), length, destination);
  destination[length] = 0;
}

LRESULT CALLBACK guardedItemProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class TodayScreen {
 public:
  explicit TodayScreen(HWND window) : window_(window) {
    LOGFONTW font{};
    font.lfHeight = -kDateFontHeight * scaleY();
    font.lfWeight = FW_BOLD;
    copyTruncated(font.lfFaceName, LF_FACESIZE, u"Tahoma");
    dateFont_ = CreateFontIndirectW(&font);
    todayScreens().push_back(window);
  }
  ~TodayScreen() {
    auto& screens = todayScreens();
    screens.erase(std::remove(screens.begin(), screens.end(), window_), screens.end());
    if (dateFont_) DeleteObject(dateFont_);
  }
  TodayScreen(const TodayScreen&) = delete;
  TodayScreen& operator=(const TodayScreen&) = delete;

  void build() {
    ItemCalls calls(*this);
    registered_ = readTodayItems();
    for (const TodayItemInfo& info : registered_) {
      if (!info.enabled) continue;
      auto item = std::make_unique<HostedItem>();
      item->info = info;
      item->screen = this;
      if (info.isDateBand()) {
        item->height = kDateBandHeight * scaleY();
      } else if (info.type != kCustomItemType) {
        logToday("item \"%s\" is of type %u, which this screen does not draw; left out",
                 utf8(info.name).c_str(), info.type);
        continue;
      } else if (!start(*item)) {
        continue;
      }
      items_.push_back(std::move(item));
    }
    layout();
  }

  void clear() {
    for (auto& item : items_) stop(*item);
    items_.clear();
  }

  // An item that runs a message loop while the screen walks its items would have them freed
  // under it: the rebuild waits until the walk is over.
  void requestRebuild() {
    if (itemCalls_ > 0) {
      rebuildPending_ = true;
      return;
    }
    rebuild();
  }

  void rebuild() {
    clear();
    theme_ = std::make_unique<TodayTheme>();
    build();
    InvalidateRect(window_, nullptr, TRUE);
  }

  // Asks every item whether it changed; lays the bands out again when a height did.
  void refresh() {
    ItemCalls calls(*this);
    bool moved = false;
    for (auto& item : items_)
      if (item->window && !item->broken) moved = queryHeight(*item) || moved;
    if (moved) layout();
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (now.wDay != shownDay_.wDay || now.wMonth != shownDay_.wMonth || now.wYear != shownDay_.wYear)
      InvalidateRect(window_, &dateBand_, FALSE);
  }

  void shown(bool visible) {
    if (!visible) {
      KillTimer(window_, kRefreshTimer);
      hiddenOnce_ = true;
      return;
    }
    if (hiddenOnce_) {
      ItemCalls calls(*this);
      // Back in front: new registrations rebuild the screen, otherwise the items drop their
      // caches and are asked again.
      if (readTodayItems() != registered_) {
        rebuildPending_ = true;
      } else {
        for (auto& item : items_) {
          if (!item->window || item->broken) continue;
          SendMessageW(item->window, WM_TODAYCUSTOM_CLEARCACHE, reinterpret_cast<WPARAM>(item->listItem.get()), 0);
        }
        refresh();
        layout();
      }
    }
    SetTimer(window_, kRefreshTimer, kRefreshMilliseconds, nullptr);
  }

  void layout() {
    RECT client{};
    GetClientRect(window_, &client);
    int y = 0;
    dateBand_ = RECT{0, 0, 0, 0};
    for (auto& item : items_) {
      if (item->info.isDateBand()) {
        dateBand_ = RECT{0, y, client.right, y + item->height};
      } else if (!item->window || item->broken) {
        continue;
      } else {
        SetWindowPos(item->window, nullptr, 0, y, client.right, item->height, SWP_NOZORDER | SWP_NOACTIVATE);
      }
      y += item->height;
    }
    InvalidateRect(window_, nullptr, FALSE);
  }

  void paint() {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(window_, &ps);
    theme_->drawBackground(hdc, ps.rcPaint, POINT{0, 0});
    if (dateBand_.bottom > dateBand_.top) paintDateBand(hdc);
    EndPaint(window_, &ps);
  }

  LRESULT drawWatermark(LPARAM lParam) {
    // The structure is a pointer of this process: refuse it from anywhere else.
    if (InSendMessage()) return FALSE;
    const auto* info = reinterpret_cast<const TODAYDRAWWATERMARKINFO*>(lParam);
    if (!info || !info->hdc || !IsWindow(info->hwnd) || GetParent(info->hwnd) != window_) return FALSE;
    POINT origin{0, 0};
    MapWindowPoints(info->hwnd, window_, &origin, 1);
    theme_->drawBackground(info->hdc, info->rc, origin);
    return TRUE;
  }

  LRESULT color(WPARAM which) const {
    COLORREF value = 0;
    return theme_->color(which, value) ? static_cast<LRESULT>(value) : 0;
  }

  // The guarding procedure found that a call into the item faulted.
  void faulted(HostedItem& item, int signal, UINT message) {
    logToday("item \"%s\" (%s) faulted (%s) handling message 0x%04X; left out until the shell starts again",
             utf8(item.info.name).c_str(), utf8(item.info.dll).c_str(), faultName(signal).c_str(), message);
    item.broken = true;
    markBrokenLibrary(item.info.dll);
    if (item.window) ShowWindow(item.window, SW_HIDE);
    PostMessageW(window_, kTodayLayout, 0, 0);
  }

  void windowGone(HostedItem& item) {
    item.window = nullptr;
    PostMessageW(window_, kTodayLayout, 0, 0);
  }

 private:
  // Counts the walks over the items that call into them (see requestRebuild).
  class ItemCalls {
   public:
    explicit ItemCalls(TodayScreen& screen) : screen_(screen) { ++screen_.itemCalls_; }
    ~ItemCalls() {
      if (--screen_.itemCalls_ == 0 && screen_.rebuildPending_) {
        screen_.rebuildPending_ = false;
        PostMessageW(screen_.window_, kTodayRebuild, 0, 0);
      }
    }
    ItemCalls(const ItemCalls&) = delete;
    ItemCalls& operator=(const ItemCalls&) = delete;

   private:
    TodayScreen& screen_;
  };

  // Loads a custom item and has it create its window; false (logged) when it is left out.
  bool start(HostedItem& item) {
    const TodayItemInfo& info = item.info;
    const std::string name = utf8(info.name), dll = utf8(info.dll);
    if (info.dll.empty()) {
      logToday("item \"%s\" names no library; left out", name.c_str());
      return false;
    }
    if (isBrokenLibrary(info.dll)) {
      logToday("item \"%s\": %s faulted before; left out", name.c_str(), dll.c_str());
      return false;
    }
    item.module = LoadLibraryW(info.dll.c_str());
    if (!item.module) {
      logToday("item \"%s\": cannot load %s (error %u); left out", name.c_str(), dll.c_str(), GetLastError());
      return false;
    }
    auto initialize = reinterpret_cast<PFNCUSTOMINITIALIZE>(
        reinterpret_cast<void (*)()>(GetProcAddressW(item.module, MAKEINTRESOURCEW(240))));
    if (!initialize) {
      logToday("item \"%s\": %s has no ordinal 240; left out", name.c_str(), dll.c_str());
      unload(item);
      return false;
    }
    item.listItem = std::make_unique<TODAYLISTITEM>();
    TODAYLISTITEM& entry = *item.listItem;
    copyTruncated(entry.szName, MAX_ITEMNAME, info.name);
    entry.tlit = tlitCustom;
    entry.dwOrder = info.order;
    entry.fEnabled = TRUE;
    entry.fOptions = info.options;
    entry.grfFlags = info.flags;
    copyTruncated(entry.szDLLPath, MAX_PATH, info.dll);
    entry.hinstDLL = item.module;

    const std::vector<HWND> before = threadWindows();
    HWND created = nullptr;
    int signal = 0;
    if (!guardedCall([&] { created = initialize(&entry, window_); }, &signal)) {
      logToday("item \"%s\": %s faulted (%s) in ordinal 240; left out until the shell starts again",
               name.c_str(), dll.c_str(), faultName(signal).c_str());
      markBrokenLibrary(info.dll);
      // Whatever it created runs its code: take its procedure away before it goes.
      for (HWND child : threadWindows()) {
        if (std::find(before.begin(), before.end(), child) != before.end()) continue;
        SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
        DestroyWindow(child);
      }
      item.module = nullptr;  // stays loaded
      return false;
    }
    if (!created) {
      logToday("item \"%s\": %s created no window; left out", name.c_str(), dll.c_str());
      unload(item);
      return false;
    }
    const bool made = IsWindow(created) && GetWindowThreadProcessId(created, nullptr) == GetCurrentThreadId() &&
                      std::find(before.begin(), before.end(), created) == before.end();
    if (!made || GetParent(created) != window_ || !(GetWindowLongW(created, GWL_STYLE) & WS_CHILD)) {
      logToday("item \"%s\": %s returned a window that is not a new child of the Today screen; left out",
               name.c_str(), dll.c_str());
      // Only a window the call made goes: an item may hand back any window of the shell.
      if (made && !guardedCall([&] { DestroyWindow(created); })) {
        markBrokenLibrary(info.dll);
        item.module = nullptr;
        return false;
      }
      unload(item);
      return false;
    }
    item.window = created;
    entry.hwndCustom = created;
    item.itemProcedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(created, GWLP_WNDPROC));
    hostedWindows()[created] = &item;
    SetWindowLongPtrW(created, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(guardedItemProcedure));
    queryHeight(item);
    if (item.broken) {
      stop(item);
      return false;
    }
    return true;
  }

  void stop(HostedItem& item) {
    if (item.window) {
      HWND window = item.window;
      DestroyWindow(window);  // through the guarding procedure
      hostedWindows().erase(window);
      item.window = nullptr;
    }
    if (item.broken) item.module = nullptr;  // stays loaded
    unload(item);
  }

  void unload(HostedItem& item) {
    if (item.module) FreeLibrary(item.module);
    item.module = nullptr;
  }

  // True when the item's height changed. A height past the screen is cut to it; a negative
  // one is refused (the last good height stays); each is logged once per item.
  bool queryHeight(HostedItem& item) {
    TODAYLISTITEM& entry = *item.listItem;
    const LRESULT changed =
        SendMessageW(item.window, WM_TODAYCUSTOM_QUERYREFRESHCACHE, 0, reinterpret_cast<LPARAM>(&entry));
    if (item.broken || !changed) return item.broken;
    const int limit = GetSystemMetrics(SM_CYSCREEN);
    int height = static_cast<int>(entry.cyp);
    if (height < 0) {
      if (!item.heightLogged)
        logToday("item \"%s\" answered the height %d; kept %d", utf8(item.info.name).c_str(), height, item.height);
      item.heightLogged = true;
      entry.cyp = static_cast<DWORD>(item.height);
      return false;
    }
    if (height > limit) {
      if (!item.heightLogged)
        logToday("item \"%s\" answered the height %d; cut to the screen's %d", utf8(item.info.name).c_str(),
                 height, limit);
      item.heightLogged = true;
      height = limit;
      entry.cyp = static_cast<DWORD>(limit);
    }
    if (height == item.height) {
      InvalidateRect(item.window, nullptr, TRUE);
      return false;
    }
    item.height = height;
    return true;
  }

  // The screen's children and this thread's top-level windows with theirs: what an item's
  // ordinal 240 may add to.
  std::vector<HWND> threadWindows() const {
    std::vector<HWND> list;
    EnumWindows(
        [](HWND window, LPARAM lParam) -> BOOL {
          if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId())
            reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(window);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&list));
    for (size_t i = 0; i < list.size(); ++i)
      for (HWND child = GetWindow(list[i], GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        list.push_back(child);
    return list;
  }

  void paintDateBand(HDC hdc) {
    HBRUSH brush = CreateSolidBrush(theme_->highlight());
    FillRect(hdc, &dateBand_, brush);
    DeleteObject(brush);
    GetLocalTime(&shownDay_);
    const std::u16string text =
        controls::formatTime(controls::parsePicture(controls::longDatePicture()), shownDay_);
    RECT textRect = dateBand_;
    textRect.left += kDateIndent * std::max(1, GetSystemMetrics(SM_CXBORDER));
    HGDIOBJ oldFont = SelectObject(hdc, dateFont_);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, theme_->highlightText());
    DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    SelectObject(hdc, oldFont);
  }

  HWND window_;
  std::unique_ptr<TodayTheme> theme_ = std::make_unique<TodayTheme>();
  HFONT dateFont_ = nullptr;
  std::vector<TodayItemInfo> registered_;
  std::vector<std::unique_ptr<HostedItem>> items_;
  RECT dateBand_{};
  SYSTEMTIME shownDay_{};
  bool hiddenOnce_ = false;
  int itemCalls_ = 0;
  bool rebuildPending_ = false;
};

LRESULT CALLBACK guardedItemProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto& hosted = hostedWindows();
  auto found = hosted.find(window);
  if (found == hosted.end() || found->second->broken) {
    if (message == WM_PAINT) ValidateRect(window, nullptr);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  WNDPROC procedure = found->second->itemProcedure;
  LRESULT result = 0;
  int signal = 0;
  const bool sound =
      guardedCall([&] { result = CallWindowProcW(procedure, window, message, wParam, lParam); }, &signal);
  // The call may have destroyed the window and with it the record.
  found = hosted.find(window);
  if (found == hosted.end()) return sound ? result : 0;
  HostedItem& item = *found->second;
  if (!sound) {
    item.screen->faulted(item, signal, message);
    return 0;
  }
  if (message == WM_NCDESTROY) {
    hosted.erase(found);
    item.screen->windowGone(item);
  }
  return result;
}

TodayScreen* screenOf(HWND window) {
  return reinterpret_cast<TodayScreen*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK todayProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TodayScreen* screen = screenOf(window);
  switch (message) {
    case WM_CREATE: {
      screen = new TodayScreen(window);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(screen));
      screen->build();
      return 0;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      delete screen;
      return 0;
    default: break;
  }
  if (!screen) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_DESTROY: screen->clear(); return 0;
    case WM_SHOWWINDOW: screen->shown(wParam != 0); return 0;
    case WM_SIZE: screen->layout(); return 0;
    case WM_TIMER:
      if (wParam == kRefreshTimer) screen->refresh();
      return 0;
    case WM_ERASEBKGND: return 1;  // the paint draws the background
    case WM_PAINT: screen->paint(); return 0;
    case TODAYM_GETCOLOR: return screen->color(wParam);
    case TODAYM_DRAWWATERMARK: return screen->drawWatermark(lParam);
    case kTodayRebuild: screen->requestRebuild(); return 0;
    case kTodayLayout: screen->layout(); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

HWND createTodayScreen(HINSTANCE instance, HWND parent, const RECT& area) {
  WNDCLASSW existing{};
  if (!GetClassInfoW(instance, kClassName, &existing)) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = todayProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    windowClass.hCursor = nullptr;
    windowClass.hbrBackground = nullptr;
    if (!RegisterClassW(&windowClass)) return nullptr;
  }
  return CreateWindowExW(0, kClassName, u"Today", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, area.left, area.top,
                         area.right - area.left, area.bottom - area.top, parent, nullptr, instance, nullptr);
}

}  // namespace handheld::shell
