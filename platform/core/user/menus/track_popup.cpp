// TrackPopupMenuEx: a modal loop on the calling thread over the menu's windows. The stylus
// goes to the menu through the capture; keys that reach the thread are taken by the loop;
// everything else is dispatched as usual.
#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <memory>
#include <vector>

#include "user/menus/open_menus.h"
#include "user/menus/popup_window.h"
#include "user/window.h"

using namespace handheld;
using namespace handheld::user;

namespace {

constexpr size_t kMaxLevels = 16;  // deeper nesting than any screen can show

// The character after a single '&', upper-cased, or 0.
char16_t mnemonic(const std::u16string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != u'&') continue;
    if (text[i + 1] != u'&') return static_cast<char16_t>(std::towupper(text[i + 1]));
    ++i;
  }
  return 0;
}

bool selectable(const MenuEntry& entry) { return !(entry.state & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED)); }

bool containsPoint(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

RECT offset(const RECT& r, const RECT& by) { return {r.left + by.left, r.top + by.top, r.right + by.left, r.bottom + by.top}; }

HWND topLevelOf(HWND window) {
  while (window && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) window = GetParent(window);
  return window;
}

thread_local bool tracking = false;

class Tracker {
 public:
  Tracker(HWND owner, UINT flags) : owner_(owner), flags_(flags) {}
  Tracker(const Tracker&) = delete;
  Tracker& operator=(const Tracker&) = delete;
  ~Tracker() {
    publishMenuItems(this, {});
    closeFrom(0);
  }

  // The chosen command, or 0.
  UINT run(std::shared_ptr<Menu> root, POINT at, const RECT* exclude);

 private:
  bool notifies() const { return !(flags_ & TPM_NONOTIFY); }
  bool open(std::shared_ptr<Menu> menu, UINT position, const RECT* parentItem, POINT at, const RECT* exclude);
  void openSubmenu(size_t level, int item);
  void closeFrom(size_t level);
  void setHot(size_t level, int item);
  void publish();
  // The level and entry at a screen point (entry -1: inside a menu, on no item).
  bool hit(POINT screen, size_t& level, int& item) const;
  const MenuEntry* entryAt(size_t level, int item) const;
  void activate(size_t level, int item);
  void stylus(const MSG& msg);
  void key(WPARAM vk);
  void moveHot(int step);

  HWND owner_;
  UINT flags_;
  std::vector<std::unique_ptr<PopupLevel>> levels_;
  bool done_ = false;
  UINT chosen_ = 0;
};

bool Tracker::open(std::shared_ptr<Menu> menu, UINT position, const RECT* parentItem, POINT at, const RECT* exclude) {
  if (levels_.size() >= kMaxLevels) return false;
  if (notifies())
    SendMessageW(owner_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu->handle()), MAKELPARAM(position, FALSE));
  if (!IsWindow(owner_)) return false;
  auto level = std::make_unique<PopupLevel>();
  level->menu = std::move(menu);
  measurePopup(*level);
  const SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  level->screen = parentItem ? placeSubmenu(level->layout.size, levels_.back()->screen, *parentItem,
                                            level->metrics.frame(), screen)
                             : placePopup(level->layout.size, at, flags_, exclude, screen);
  level->window = createPopupWindow(*level, topLevelOf(owner_));
  if (!level->window) return false;
  levels_.push_back(std::move(level));
  publish();
  return true;
}

void Tracker::openSubmenu(size_t level, int item) {
  closeFrom(level + 1);
  std::shared_ptr<Menu> popup;
  {
    std::lock_guard guard(menuLock());
    const MenuEntry* entry = entryAt(level, item);
    if (!entry || !entry->popup || !selectable(*entry)) return;
    popup = entry->popup;
  }
  const RECT itemOnScreen = offset(levels_[level]->layout.items[static_cast<size_t>(item)], levels_[level]->screen);
  open(std::move(popup), static_cast<UINT>(item), &itemOnScreen, {}, nullptr);
}

void Tracker::closeFrom(size_t level) {
  while (levels_.size() > level) {
    if (levels_.back()->window) DestroyWindow(levels_.back()->window);
    levels_.pop_back();
  }
  publish();
}

void Tracker::setHot(size_t level, int item) {
  auto& l = *levels_[level];
  if (l.hot == item) return;
  l.hot = item;
  InvalidateRect(l.window, nullptr, FALSE);
  publish();
}

const MenuEntry* Tracker::entryAt(size_t level, int item) const {
  if (level >= levels_.size() || item < 0) return nullptr;
  const auto& l = *levels_[level];
  const auto& entries = l.menu->entries();
  const auto index = static_cast<size_t>(item);
  return index < entries.size() && index < l.layout.items.size() ? &entries[index] : nullptr;
}

bool Tracker::hit(POINT screen, size_t& level, int& item) const {
  for (size_t i = levels_.size(); i-- > 0;) {
    const auto& l = *levels_[i];
    if (!containsPoint(l.screen, screen)) continue;
    level = i;
    item = -1;
    const POINT inside{screen.x - l.screen.left, screen.y - l.screen.top};
    for (size_t j = 0; j < l.layout.items.size(); ++j)
      if (containsPoint(l.layout.items[j], inside)) item = static_cast<int>(j);
    return true;
  }
  return false;
}

void Tracker::publish() {
  std::vector<ipc::MenuItemRecord> items;
  std::lock_guard guard(menuLock());
  for (const auto& l : levels_) {
    const auto& entries = l->menu->entries();
    for (size_t i = 0; i < entries.size() && i < l->layout.items.size(); ++i) {
      const auto& e = entries[i];
      const RECT r = offset(l->layout.items[i], l->screen);
      UINT state = e.state & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR);
      if (e.popup) state |= MF_POPUP;
      if (static_cast<int>(i) == l->hot) state |= MF_HILITE;
      items.push_back({handleValue(l->window), e.text, e.popup ? 0xFFFFFFFFu : e.id, state, r.left, r.top, r.right,
                       r.bottom});
    }
  }
  publishMenuItems(this, std::move(items));
}

// A tap or enter on an item: a command ends the menu, a pop-up opens beside it.
void Tracker::activate(size_t level, int item) {
  std::shared_ptr<Menu> keep;  // the entry may go while a pop-up's owner handles WM_INITMENUPOPUP
  bool popup = false;
  {
    std::lock_guard guard(menuLock());
    const MenuEntry* entry = entryAt(level, item);
    if (!entry || !selectable(*entry)) return;
    if (!entry->popup) {
      chosen_ = entry->id;
      done_ = true;
      return;
    }
    keep = entry->popup;
    popup = true;
  }
  if (popup && !(levels_.size() > level + 1 && levels_[level + 1]->menu == keep)) openSubmenu(level, item);
}

void Tracker::stylus(const MSG& msg) {
  size_t level = 0;
  int item = -1;
  const bool inside = hit(msg.pt, level, item);
  if (msg.message == WM_LBUTTONDOWN && !inside) {
    done_ = true;  // a tap outside closes the menu
    return;
  }
  if (!inside || (msg.message == WM_MOUSEMOVE && !(msg.wParam & MK_LBUTTON))) return;
  bool canHighlight = false, isPopup = false;
  {
    std::lock_guard guard(menuLock());
    const MenuEntry* entry = entryAt(level, item);
    canHighlight = entry && selectable(*entry);
    isPopup = canHighlight && entry->popup;
  }
  if (msg.message == WM_LBUTTONUP) {
    if (canHighlight && !isPopup) activate(level, item);
    return;
  }
  // Down or drag: highlight what is under the stylus; a pop-up item opens its sub-menu.
  setHot(level, canHighlight ? item : -1);
  if (isPopup) activate(level, item);
  else if (canHighlight) closeFrom(level + 1);
}

void Tracker::moveHot(int step) {
  auto& l = *levels_.back();
  std::lock_guard guard(menuLock());
  const int count = static_cast<int>(std::min(l.menu->entries().size(), l.layout.items.size()));
  int at = l.hot;
  for (int tries = 0; tries < count; ++tries) {
    at = at < 0 ? (step > 0 ? 0 : count - 1) : (at + step + count) % count;
    if (selectable(l.menu->entries()[static_cast<size_t>(at)])) {
      setHot(levels_.size() - 1, at);
      return;
    }
  }
}

void Tracker::key(WPARAM vk) {
  const size_t deepest = levels_.size() - 1;
  const int hot = levels_.back()->hot;
  switch (vk) {
    case VK_UP: moveHot(-1); return;
    case VK_DOWN: moveHot(1); return;
    case VK_LEFT:
      if (deepest > 0) closeFrom(deepest);
      return;
    case VK_ESCAPE:
      if (deepest > 0) closeFrom(deepest);
      else done_ = true;
      return;
    case VK_RIGHT:
    case VK_RETURN: {
      bool isPopup = false;
      {
        std::lock_guard guard(menuLock());
        const MenuEntry* entry = entryAt(deepest, hot);
        isPopup = entry && entry->popup;
      }
      if (vk == VK_RIGHT && !isPopup) return;
      activate(deepest, hot);
      if (levels_.size() > deepest + 1) moveHot(1);  // the sub-menu opens with its first item
      return;
    }
    default:
      break;
  }
  // A letter or digit chooses the item it is the accelerator of.
  int match = -1;
  {
    std::lock_guard guard(menuLock());
    const auto& entries = levels_.back()->menu->entries();
    for (size_t i = 0; i < entries.size() && match < 0; ++i)
      if (selectable(entries[i]) && mnemonic(entries[i].text) == static_cast<char16_t>(vk)) match = static_cast<int>(i);
  }
  if (match < 0) return;
  setHot(deepest, match);
  activate(deepest, match);
  if (levels_.size() > deepest + 1) moveHot(1);
}

UINT Tracker::run(std::shared_ptr<Menu> root, POINT at, const RECT* exclude) {
  if (notifies()) SendMessageW(owner_, WM_ENTERMENULOOP, TRUE, 0);
  if (!open(std::move(root), 0, nullptr, at, exclude)) done_ = true;
  if (!done_) SetCapture(levels_.front()->window);
  MSG msg;
  while (!done_) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // the caller's loop ends too
      break;
    }
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
      stylus(msg);
    } else if (msg.message == WM_KEYDOWN) {
      key(msg.wParam);
    } else if (msg.message == WM_KEYUP || msg.message == WM_CHAR || msg.message == WM_SYSKEYDOWN ||
               msg.message == WM_SYSKEYUP || msg.message == WM_SYSCHAR) {
      // taken by the menu
    } else {
      DispatchMessageW(&msg);
    }
    if (!IsWindow(owner_) || levels_.empty() || !IsWindow(levels_.front()->window)) {
      chosen_ = 0;
      break;
    }
  }
  const bool ownerAlive = IsWindow(owner_);
  if (!levels_.empty() && GetCapture() == levels_.front()->window) ReleaseCapture();
  closeFrom(0);
  if (ownerAlive && notifies()) SendMessageW(owner_, WM_EXITMENULOOP, TRUE, 0);
  return ownerAlive ? chosen_ : 0;
}

}  // namespace

HANDHELD_API BOOL WINAPI TrackPopupMenuEx(HMENU handle, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params) {
  auto menu = lookupMenu(handle);
  if (!menu) return FALSE;
  if (!IsWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (params && params->cbSize != sizeof(TPMPARAMS)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (tracking) {  // one menu at a time on a thread
    SetLastError(ERROR_BUSY);
    return FALSE;
  }
  tracking = true;
  UINT chosen = 0;
  {
    Tracker tracker(owner, flags);
    chosen = tracker.run(std::move(menu), {x, y}, params ? &params->rcExclude : nullptr);
  }
  tracking = false;
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
  if (chosen && !(flags & TPM_NONOTIFY)) PostMessageW(owner, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
  return TRUE;
}

HANDHELD_API BOOL WINAPI TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}
