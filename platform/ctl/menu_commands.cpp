// menu, choose: the pop-up menu open on the device, as its process describes it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <string>
#include <vector>

#include "commands.h"
#include "strings/utf.h"
#include "winerror.h"

namespace handheld::ctl {

namespace {

// The class the platform gives menu windows.
constexpr const char16_t* kMenuClass = u"PopupMenu";

struct OpenMenus {
  std::vector<uint32_t> levels;  // menu windows, the first opened first
  std::vector<ipc::MenuItemRecord> items;
};

// The open menus of the process owning the front-most menu window; exit code in `code` when
// there are none or the device could not tell.
std::optional<OpenMenus> openMenus(Context& c, int& code) {
  auto list = c.device().call<ipc::WindowList>({});
  if (!list) {
    code = fail("the device did not answer");
    return std::nullopt;
  }
  uint32_t pid = 0;
  OpenMenus menus;
  for (auto w = list->windows.rbegin(); w != list->windows.rend(); ++w)
    if (w->visible && w->className == kMenuClass) {
      pid = w->pid;  // the front-most one wins
    }
  if (!pid) {
    code = fail("no pop-up menu is open");
    return std::nullopt;
  }
  for (auto w = list->windows.rbegin(); w != list->windows.rend(); ++w)
    if (w->visible && w->className == kMenuClass && w->pid == pid) menus.levels.push_back(w->handle);
  ipc::WindowDescribe::Request request;
  request.pid = pid;
  request.tree = true;
  auto reply = c.device().call<ipc::WindowDescribe>(request);
  if (!reply) {
    code = fail("the device did not answer");
    return std::nullopt;
  }
  if (reply->error) {
    code = refused(reply->error, "the menu's process did not describe it");
    return std::nullopt;
  }
  menus.items = std::move(reply->menuItems);
  return menus;
}

// Text as the menu shows it, for comparing: '&' prefixes gone, lower case.
std::u16string shown(const std::u16string& text) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) ++i;
    out += static_cast<char16_t>(std::towlower(text[i]));
  }
  return out;
}

Json itemJson(const ipc::MenuItemRecord& item) {
  auto flag = [&](UINT bits) { return (item.state & bits) != 0; };
  const bool popup = (item.state & MF_POPUP) != 0;
  return {{"text", strings::toUtf8(item.text)},
          {"id", popup ? Json(nullptr) : Json(item.id)},
          {"rect", Json::array({item.left, item.top, item.right - item.left, item.bottom - item.top})},
          {"checked", flag(MF_CHECKED)},
          {"grayed", flag(MF_GRAYED | MF_DISABLED)},
          {"separator", flag(MF_SEPARATOR)},
          {"popup", popup},
          {"highlighted", flag(MF_HILITE)}};
}

}  // namespace

Json menuItemsJson(const std::vector<ipc::MenuItemRecord>& items, uint32_t window) {
  Json out;
  for (const auto& item : items)
    if (item.window == window) out.push_back(itemJson(item));
  return out;
}

int runMenu(Context& c, const Args& args) {
  if (!args.empty()) return fail("usage: menu", 2);
  int code = 0;
  auto menus = openMenus(c, code);
  if (!menus) return code;
  Json levels = Json::array();
  for (size_t i = 0; i < menus->levels.size(); ++i) {
    Json items = menuItemsJson(menus->items, menus->levels[i]);
    levels.push_back({{"handle", hexHandle(menus->levels[i])},
                      {"level", i},
                      {"items", items.is_null() ? Json::array() : std::move(items)}});
  }
  printJson(levels);
  return 0;
}

int runChoose(Context& c, const Args& args) {
  if (args.empty()) return fail("usage: choose TEXT", 2);
  std::string joined;
  for (size_t i = 0; i < args.size(); ++i) joined += (i ? " " : "") + args[i];
  const std::u16string wanted = shown(strings::fromUtf8(joined));
  int code = 0;
  auto menus = openMenus(c, code);
  if (!menus) return code;
  // The most recently opened level first: a sub-menu's item before its parent's.
  for (auto level = menus->levels.rbegin(); level != menus->levels.rend(); ++level) {
    for (const auto& item : menus->items) {
      if (item.window != *level || (item.state & MF_SEPARATOR) || shown(item.text) != wanted) continue;
      if (item.state & (MF_GRAYED | MF_DISABLED))
        return fail("the menu item \"" + joined + "\" is grayed: a tap on it does nothing");
      const int32_t x = (item.left + item.right) / 2, y = (item.top + item.bottom) / 2;
      auto reply = c.device().call<ipc::StylusGesture>({ipc::GestureKind::Tap, x, y, x, y, 0});
      if (!reply) return fail("the device did not answer");
      if (reply->error) return refused(reply->error);
      return 0;
    }
  }
  return fail("the open menu has no item \"" + joined + "\"");
}

}  // namespace handheld::ctl
