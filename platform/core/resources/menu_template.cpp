#include "byte_reader.h"
#include "resources/template_layout.h"
#include "templates.h"

namespace handheld::resources {

namespace {

// Deeper nesting is damaged or hostile data; the compiler refuses it too.
constexpr int kMaxDepth = 32;

bool readLevel(ByteReader& reader, std::vector<MenuItem>& items, int depth) {
  if (depth > kMaxDepth) return false;
  while (true) {
    MenuItem item;
    uint16_t flags = reader.u16();
    item.flags = static_cast<uint16_t>(flags & ~layout::kMenuEnd);
    if (!(flags & layout::kMenuPopup)) item.id = reader.u16();
    item.text = reader.terminatedText();
    if (!reader.ok()) return false;
    if ((flags & layout::kMenuPopup) && !readLevel(reader, item.children, depth + 1)) return false;
    items.push_back(std::move(item));
    if (flags & layout::kMenuEnd) return true;
  }
}

}  // namespace

bool MenuItem::isPopup() const { return (flags & layout::kMenuPopup) != 0; }
bool MenuItem::isSeparator() const {
  return (flags & layout::kMenuSeparator) != 0 || (!isPopup() && id == 0 && text.empty());
}
bool MenuItem::grayed() const { return (flags & layout::kMenuGrayed) != 0; }
bool MenuItem::inactive() const { return (flags & layout::kMenuInactive) != 0; }
bool MenuItem::checked() const { return (flags & layout::kMenuChecked) != 0; }
bool MenuItem::menuBreak() const { return (flags & layout::kMenuBreak) != 0; }
bool MenuItem::menuBarBreak() const { return (flags & layout::kMenuBarBreak) != 0; }

std::optional<MenuTemplate> decodeMenu(std::span<const uint8_t> bytes) {
  ByteReader reader(bytes);
  uint16_t version = reader.u16();
  uint16_t headerExtra = reader.u16();
  if (!reader.ok() || version != 0) return std::nullopt;
  reader.skip(headerExtra);
  MenuTemplate menu;
  if (!readLevel(reader, menu.items, 0)) return std::nullopt;
  return menu;
}

}  // namespace handheld::resources
