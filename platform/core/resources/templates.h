// Decoded dialog, menu and shell menu-bar resources, as value types for the code that builds
// dialogs, menus and menu bars. Every decoder checks each length against the data and returns
// nothing for data it cannot read completely.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace handheld::resources {

// A resource name or class in a template: a 16-bit ordinal or a string.
struct NameOrOrdinal {
  std::optional<uint16_t> ordinal;
  std::u16string name;

  bool empty() const { return !ordinal && name.empty(); }
  bool operator==(const NameOrOrdinal&) const = default;
};

struct DialogItem {
  NameOrOrdinal windowClass;  // an atom (0x80 Button ... 0x85 ComboBox) or a class name
  NameOrOrdinal text;         // the caption, or a resource (an ICON control's icon)
  uint32_t id = 0;            // DIALOG ids are 16-bit: IDC_STATIC (-1) reads 0xFFFF
  uint32_t style = 0;
  uint32_t exStyle = 0;
  uint32_t helpId = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;

  // The class name with the predefined atoms spelled out ("Button", "Edit", "Static",
  // "ListBox", "ScrollBar", "ComboBox").
  std::u16string className() const;
};

struct DialogTemplate {
  bool isEx = false;
  uint32_t style = 0;
  uint32_t exStyle = 0;
  uint32_t helpId = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  NameOrOrdinal menu;                     // empty: none
  NameOrOrdinal windowClass;              // empty: the dialog class
  std::u16string caption;
  bool hasFont = false;                   // DS_SETFONT
  uint16_t fontSize = 0;                  // points
  uint16_t fontWeight = 0;                // DIALOGEX only
  bool fontItalic = false;
  uint8_t fontCharset = 0;
  std::u16string fontFace;
  std::vector<DialogItem> items;
};

struct MenuItem {
  std::u16string text;  // '&' mnemonics and "\t" accelerator text kept
  uint16_t id = 0;      // 0 for pop-ups and separators
  uint16_t flags = 0;   // the platform's MF_ bits as written (MF_GRAYED, MF_CHECKED, ...)
  std::vector<MenuItem> children;  // a pop-up's items

  bool isPopup() const;
  bool isSeparator() const;
  bool grayed() const;
  bool inactive() const;  // MF_DISABLED
  bool checked() const;
  bool menuBreak() const;
  bool menuBarBreak() const;
};

struct MenuTemplate {
  std::vector<MenuItem> items;
};

struct ShellMenuBarButton {
  int16_t imageIndex = 0;  // I_IMAGENONE (-2) for a text button
  uint16_t command = 0;
  uint8_t state = 0;       // TBSTATE_*
  uint8_t style = 0;       // TBSTYLE_*
  uint16_t stringId = 0;   // the button text / tooltip string
  std::optional<uint16_t> subMenu;  // index of the pop-up in the menu bar's menu; none: NOMENU
};

struct ShellMenuBar {
  uint16_t menuId = 0;  // the MENU resource holding the pop-ups
  std::vector<ShellMenuBarButton> buttons;
};

std::optional<DialogTemplate> decodeDialog(std::span<const uint8_t> bytes);
std::optional<MenuTemplate> decodeMenu(std::span<const uint8_t> bytes);
std::optional<ShellMenuBar> decodeShellMenuBar(std::span<const uint8_t> bytes);

}  // namespace handheld::resources
