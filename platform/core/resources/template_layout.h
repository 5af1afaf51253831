// The binary layouts inside a resource table, shared by handheld-rc (which writes them) and
// the decoders in libhandheld (which read them), so that no offset or flag is written twice.
//
// DIALOG: the platform's DLGTEMPLATE layout; DIALOGEX: its DLGTEMPLATEEX layout. Both little
//   endian, items aligned to 4 bytes from the start of the resource, names and classes as
//   "0xFFFF, ordinal" or a terminated UTF-16 string, each item followed by a WORD count of
//   creation data bytes (always 0 from handheld-rc).
// MENU: the classic menu template: a 4-byte header (version 0, offset 0), then items: a WORD
//   of flags (kMenuPopup items have no id, kMenuEnd marks the last item of a level), a WORD id
//   for plain items, a terminated UTF-16 text. A separator carries kMenuSeparator.
// STRINGTABLE: strings id..id+15 form the RT_STRING resource numbered id / 16 + 1; each slot
//   is a WORD length and that many UTF-16 units, no terminator.
// SHMENUBAR: WORDs: menu id, button count, then per button kShellMenuBarButtonWords WORDs:
//   image index, command, state, style, string id, 0, sub-menu index (0xFFFF: none).
#pragma once

#include <cstdint>

namespace handheld::resources::layout {

enum ResourceType : uint16_t {
  kTypeCursor = 1,
  kTypeBitmap = 2,
  kTypeIcon = 3,
  kTypeMenu = 4,
  kTypeDialog = 5,
  kTypeString = 6,
  kTypeRcData = 10,
  kTypeGroupCursor = 12,
  kTypeGroupIcon = 14,
};

inline constexpr uint16_t kOrdinalMarker = 0xFFFF;

// Dialogs.
inline constexpr uint16_t kDialogExVersion = 1;
inline constexpr uint16_t kDialogExSignature = 0xFFFF;
inline constexpr uint32_t kDialogSetFont = 0x40;     // DS_SETFONT
inline constexpr uint32_t kDialogShellFont = 0x48;   // DS_SHELLFONT (DS_SETFONT | DS_FIXEDSYS)
inline constexpr uint16_t kButtonAtom = 0x0080;
inline constexpr uint16_t kEditAtom = 0x0081;
inline constexpr uint16_t kStaticAtom = 0x0082;
inline constexpr uint16_t kListBoxAtom = 0x0083;
inline constexpr uint16_t kScrollBarAtom = 0x0084;
inline constexpr uint16_t kComboBoxAtom = 0x0085;

// Menus (the MF_ values of the platform).
inline constexpr uint16_t kMenuGrayed = 0x0001;
inline constexpr uint16_t kMenuInactive = 0x0002;  // MF_DISABLED
inline constexpr uint16_t kMenuChecked = 0x0008;
inline constexpr uint16_t kMenuPopup = 0x0010;
inline constexpr uint16_t kMenuBarBreak = 0x0020;
inline constexpr uint16_t kMenuBreak = 0x0040;
inline constexpr uint16_t kMenuEnd = 0x0080;
inline constexpr uint16_t kMenuSeparator = 0x0800;
inline constexpr uint16_t kMenuHelp = 0x4000;

// String tables.
inline constexpr unsigned kStringsPerBlock = 16;

// Shell menu bars.
inline constexpr unsigned kShellMenuBarHeaderWords = 2;
inline constexpr unsigned kShellMenuBarButtonWords = 7;
inline constexpr uint16_t kShellMenuBarNoSubMenu = 0xFFFF;

// Files embedded as BITMAP lose their BITMAPFILEHEADER ("BM", size, reserved, offset).
inline constexpr unsigned kBitmapFileHeaderSize = 14;

}  // namespace handheld::resources::layout
