#include "byte_reader.h"
#include "resources/template_layout.h"
#include "templates.h"

namespace handheld::resources {

namespace {

NameOrOrdinal readNameOrOrdinal(ByteReader& reader) {
  NameOrOrdinal result;
  // Peek the first unit: 0xFFFF introduces an ordinal, anything else starts a string.
  ByteReader probe = reader;
  if (probe.u16() == layout::kOrdinalMarker && probe.ok()) {
    reader.u16();
    result.ordinal = reader.u16();
  } else {
    result.name = reader.terminatedText();
  }
  return result;
}

}  // namespace

std::u16string DialogItem::className() const {
  if (!windowClass.ordinal) return windowClass.name;
  switch (*windowClass.ordinal) {
    case layout::kButtonAtom: return u"Button";
    case layout::kEditAtom: return u"Edit";
    case layout::kStaticAtom: return u"Static";
    case layout::kListBoxAtom: return u"ListBox";
    case layout::kScrollBarAtom: return u"ScrollBar";
    case layout::kComboBoxAtom: return u"ComboBox";
    default: return {};
  }
}

std::optional<DialogTemplate> decodeDialog(std::span<const uint8_t> bytes) {
  ByteReader reader(bytes);
  DialogTemplate dialog;
  ByteReader probe = reader;
  uint16_t version = probe.u16();
  dialog.isEx = probe.u16() == layout::kDialogExSignature && version == layout::kDialogExVersion;
  if (dialog.isEx) {
    reader.skip(4);
    dialog.helpId = reader.u32();
    dialog.exStyle = reader.u32();
    dialog.style = reader.u32();
  } else {
    dialog.style = reader.u32();
    dialog.exStyle = reader.u32();
  }
  uint16_t count = reader.u16();
  dialog.x = reader.i16();
  dialog.y = reader.i16();
  dialog.cx = reader.i16();
  dialog.cy = reader.i16();
  dialog.menu = readNameOrOrdinal(reader);
  dialog.windowClass = readNameOrOrdinal(reader);
  dialog.caption = reader.terminatedText();
  dialog.hasFont = (dialog.style & layout::kDialogSetFont) != 0;
  if (dialog.hasFont) {
    dialog.fontSize = reader.u16();
    if (dialog.isEx) {
      dialog.fontWeight = reader.u16();
      dialog.fontItalic = reader.u8() != 0;
      dialog.fontCharset = reader.u8();
    }
    dialog.fontFace = reader.terminatedText();
  }
  if (!reader.ok()) return std::nullopt;
  // Each item takes at least 18 bytes, so a count the data cannot hold fails before any
  // allocation grows with it.
  if (count > reader.remaining() / 18) return std::nullopt;
  dialog.items.reserve(count);
  for (uint16_t i = 0; i < count; ++i) {
    reader.alignTo4();
    DialogItem item;
    if (dialog.isEx) {
      item.helpId = reader.u32();
      item.exStyle = reader.u32();
      item.style = reader.u32();
    } else {
      item.style = reader.u32();
      item.exStyle = reader.u32();
    }
    item.x = reader.i16();
    item.y = reader.i16();
    item.cx = reader.i16();
    item.cy = reader.i16();
    item.id = dialog.isEx ? reader.u32() : reader.u16();
    item.windowClass = readNameOrOrdinal(reader);
    item.text = readNameOrOrdinal(reader);
    reader.skip(reader.u16());  // creation data
    if (!reader.ok()) return std::nullopt;
    dialog.items.push_back(std::move(item));
  }
  return dialog;
}

}  // namespace handheld::resources
