#include "byte_reader.h"
#include "resources/template_layout.h"
#include "templates.h"

namespace handheld::resources {

std::optional<ShellMenuBar> decodeShellMenuBar(std::span<const uint8_t> bytes) {
  ByteReader reader(bytes);
  ShellMenuBar bar;
  bar.menuId = reader.u16();
  uint16_t count = reader.u16();
  // Exactly the buttons announced: a count that disagrees with the data is a script mistake.
  if (!reader.ok() || reader.remaining() != size_t{count} * layout::kShellMenuBarButtonWords * 2) {
    return std::nullopt;
  }
  for (uint16_t i = 0; i < count; ++i) {
    ShellMenuBarButton button;
    button.imageIndex = reader.i16();
    button.command = reader.u16();
    button.state = static_cast<uint8_t>(reader.u16());
    button.style = static_cast<uint8_t>(reader.u16());
    button.stringId = reader.u16();
    reader.u16();  // always 0
    uint16_t subMenu = reader.u16();
    if (subMenu != layout::kShellMenuBarNoSubMenu) button.subMenu = subMenu;
    bar.buttons.push_back(button);
  }
  return bar;
}

}  // namespace handheld::resources
