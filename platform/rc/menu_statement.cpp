// MENU name MENU BEGIN { POPUP "text" [, options] BEGIN ... END | MENUITEM "text", id
// [, options] | MENUITEM SEPARATOR } END, options GRAYED CHECKED INACTIVE MENUBARBREAK
// MENUBREAK HELP.
#include <utility>

#include "byte_writer.h"
#include "resources/template_layout.h"
#include "statements.h"

namespace handheld::rc {

namespace layout = resources::layout;

namespace {

constexpr int kMaxMenuDepth = 32;

struct MenuItem {
  uint16_t flags = 0;
  uint16_t id = 0;
  std::u16string text;
  std::vector<MenuItem> children;
};

uint16_t parseOptions(StatementReader& reader) {
  static constexpr std::pair<std::string_view, uint16_t> kOptions[] = {
      {"GRAYED", layout::kMenuGrayed},         {"CHECKED", layout::kMenuChecked},
      {"INACTIVE", layout::kMenuInactive},     {"MENUBARBREAK", layout::kMenuBarBreak},
      {"MENUBREAK", layout::kMenuBreak},       {"HELP", layout::kMenuHelp}};
  uint16_t flags = 0;
  while (true) {
    bool comma = reader.accept(",");
    bool found = false;
    for (const auto& [name, flag] : kOptions) {
      if (reader.acceptKeyword(name)) {
        flags |= flag;
        found = true;
        break;
      }
    }
    if (!found) {
      if (comma) throw reader.peek().error("unknown menu option '" + reader.peek().text + "'");
      return flags;
    }
  }
}

std::vector<MenuItem> parseItems(StatementReader& reader, int depth) {
  if (depth > kMaxMenuDepth) throw reader.peek().error("menus nested too deeply");
  Token begin = reader.expectBlockStart("to start the menu items");
  std::vector<MenuItem> items;
  while (!reader.takeBlockEnd(begin)) {
    Token keyword = reader.take();
    MenuItem item;
    if (keyword.isKeyword("MENUITEM")) {
      if (reader.acceptKeyword("SEPARATOR")) {
        item.flags = layout::kMenuSeparator;
      } else {
        item.text = reader.text("the menu item text");
        reader.expect(",", "after the menu item text");
        item.id = reader.word("menu item id");
        item.flags = parseOptions(reader);
      }
    } else if (keyword.isKeyword("POPUP")) {
      item.text = reader.text("the pop-up menu text");
      item.flags = static_cast<uint16_t>(parseOptions(reader) | layout::kMenuPopup);
      item.children = parseItems(reader, depth + 1);
      if (item.children.empty()) throw keyword.error("POPUP without items");
    } else {
      throw keyword.error("expected MENUITEM or POPUP, found '" + keyword.text + "'");
    }
    items.push_back(std::move(item));
  }
  return items;
}

void encode(ByteWriter& out, const std::vector<MenuItem>& items) {
  for (size_t i = 0; i < items.size(); ++i) {
    const MenuItem& item = items[i];
    uint16_t flags = item.flags;
    if (i + 1 == items.size()) flags |= layout::kMenuEnd;
    out.u16(flags);
    if (!(item.flags & layout::kMenuPopup)) out.u16(item.id);
    out.terminatedText(item.text);
    if (item.flags & layout::kMenuPopup) encode(out, item.children);
  }
}

}  // namespace

std::vector<uint8_t> parseMenu(StatementReader& reader, const Token& keyword) {
  std::vector<MenuItem> items = parseItems(reader, 0);
  if (items.empty()) throw keyword.error("MENU without items");
  ByteWriter out;
  out.u16(0);  // version
  out.u16(0);  // offset to the items
  encode(out, items);
  return out.take();
}

}  // namespace handheld::rc
