// name DIALOG[EX] x, y, cx, cy [, helpId] { STYLE | EXSTYLE | CAPTION | FONT | MENU | CLASS }
// BEGIN controls END, with CONTROL and the shorthand controls and their default styles.
#include <array>
#include <optional>
#include <string_view>

#include "byte_writer.h"
#include "resources/template_layout.h"
#include "statements.h"

namespace handheld::rc {

namespace layout = resources::layout;

namespace {

// The window and control style bits the defaults are made of (the platform's values).
constexpr uint32_t kPopup = 0x80000000;
constexpr uint32_t kChild = 0x40000000;
constexpr uint32_t kVisible = 0x10000000;
constexpr uint32_t kCaption = 0x00C00000;
constexpr uint32_t kBorder = 0x00800000;
constexpr uint32_t kSysMenu = 0x00080000;
constexpr uint32_t kGroup = 0x00020000;
constexpr uint32_t kTabStop = 0x00010000;
constexpr uint32_t kStaticLeft = 0x0, kStaticCenter = 0x1, kStaticRight = 0x2, kStaticIcon = 0x3;
constexpr uint32_t kEditLeft = 0x0;
constexpr uint32_t kPushButton = 0x0, kDefPushButton = 0x1, kCheckBox = 0x2, kAutoCheckBox = 0x3,
                   kRadioButton = 0x4, kThreeState = 0x5, kAutoThreeState = 0x6, kGroupBox = 0x7,
                   kAutoRadioButton = 0x9, kPushBox = 0xA;
constexpr uint32_t kComboDropDown = 0x2;  // the device's COMBOBOX default
constexpr uint32_t kListNotify = 0x1;
constexpr uint32_t kScrollHorizontal = 0x0;

constexpr int kMaxItems = 65535;

enum class Text { None, Caption, Name };

struct Shorthand {
  std::string_view keyword;
  uint16_t atom;
  uint32_t style;
  Text text;
};

constexpr std::array<Shorthand, 17> kShorthands = {{
    {"LTEXT", layout::kStaticAtom, kStaticLeft | kGroup, Text::Caption},
    {"RTEXT", layout::kStaticAtom, kStaticRight | kGroup, Text::Caption},
    {"CTEXT", layout::kStaticAtom, kStaticCenter | kGroup, Text::Caption},
    {"EDITTEXT", layout::kEditAtom, kEditLeft | kBorder | kTabStop, Text::None},
    {"PUSHBUTTON", layout::kButtonAtom, kPushButton | kTabStop, Text::Caption},
    {"DEFPUSHBUTTON", layout::kButtonAtom, kDefPushButton | kTabStop, Text::Caption},
    {"PUSHBOX", layout::kButtonAtom, kPushBox | kTabStop, Text::Caption},
    {"CHECKBOX", layout::kButtonAtom, kCheckBox | kTabStop, Text::Caption},
    {"AUTOCHECKBOX", layout::kButtonAtom, kAutoCheckBox | kTabStop, Text::Caption},
    {"RADIOBUTTON", layout::kButtonAtom, kRadioButton | kTabStop, Text::Caption},
    {"AUTORADIOBUTTON", layout::kButtonAtom, kAutoRadioButton | kTabStop, Text::Caption},
    {"STATE3", layout::kButtonAtom, kThreeState | kTabStop, Text::Caption},
    {"AUTO3STATE", layout::kButtonAtom, kAutoThreeState | kTabStop, Text::Caption},
    {"GROUPBOX", layout::kButtonAtom, kGroupBox, Text::Caption},
    {"COMBOBOX", layout::kComboBoxAtom, kComboDropDown | kTabStop, Text::None},
    {"LISTBOX", layout::kListBoxAtom, kListNotify | kBorder, Text::None},
    {"SCROLLBAR", layout::kScrollBarAtom, kScrollHorizontal, Text::None},
}};

std::optional<uint16_t> predefinedAtom(const std::u16string& className) {
  static constexpr std::pair<std::u16string_view, uint16_t> kClasses[] = {
      {u"BUTTON", layout::kButtonAtom},       {u"EDIT", layout::kEditAtom},
      {u"STATIC", layout::kStaticAtom},       {u"LISTBOX", layout::kListBoxAtom},
      {u"SCROLLBAR", layout::kScrollBarAtom}, {u"COMBOBOX", layout::kComboBoxAtom}};
  std::u16string upper = upperCase(className);
  for (const auto& [name, atom] : kClasses) {
    if (upper == name) return atom;
  }
  return std::nullopt;
}

struct Item {
  ResourceId windowClass;
  std::optional<ResourceId> text;  // a caption string, or a resource name/ordinal
  uint32_t id = 0;
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
};

struct Dialog {
  bool extended = false;
  uint32_t helpId = 0;
  uint32_t style = kPopup | kBorder | kSysMenu;
  uint32_t exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  std::optional<ResourceId> menu;
  std::optional<ResourceId> windowClass;
  std::u16string caption;
  bool hasFont = false;
  uint16_t fontSize = 0, fontWeight = 0;
  uint8_t fontItalic = 0, fontCharset = 0;
  std::u16string fontFace;
  std::vector<Item> items;
};

class DialogParser {
 public:
  DialogParser(StatementReader& reader, bool extended) : reader_(reader) {
    dialog_.extended = extended;
  }

  Dialog parse() {
    dialog_.x = reader_.coordinate("x");
    reader_.expect(",", "after the dialog's x");
    dialog_.y = reader_.coordinate("y");
    reader_.expect(",", "after the dialog's y");
    dialog_.cx = reader_.coordinate("width");
    reader_.expect(",", "after the dialog's width");
    dialog_.cy = reader_.coordinate("height");
    if (dialog_.extended && reader_.accept(",")) dialog_.helpId = reader_.dword("help id");
    parseOptionalStatements();
    Token begin = reader_.expectBlockStart("to start the dialog's controls");
    while (!reader_.takeBlockEnd(begin)) {
      if (dialog_.items.size() >= kMaxItems) throw begin.error("too many controls");
      dialog_.items.push_back(parseControl());
    }
    return std::move(dialog_);
  }

 private:
  void parseOptionalStatements() {
    bool styleGiven = false;
    bool captionGiven = false;
    uint32_t style = 0;
    while (!reader_.atBlockStart()) {
      Token keyword = reader_.take();
      if (keyword.isKeyword("STYLE")) {
        style = reader_.style(0);
        styleGiven = true;
      } else if (keyword.isKeyword("EXSTYLE")) {
        dialog_.exStyle = reader_.dword("extended style");
      } else if (keyword.isKeyword("CAPTION")) {
        dialog_.caption = reader_.text("the caption");
        captionGiven = true;
      } else if (keyword.isKeyword("FONT")) {
        parseFont(keyword);
      } else if (keyword.isKeyword("MENU")) {
        dialog_.menu = reader_.resourceId("menu name");
      } else if (keyword.isKeyword("CLASS")) {
        dialog_.windowClass = className("class name");
      } else if (keyword.isKeyword("LANGUAGE")) {
        reader_.expression();
        reader_.expect(",", "between the language and sub-language");
        reader_.expression();
      } else if (keyword.isKeyword("CHARACTERISTICS") || keyword.isKeyword("VERSION")) {
        reader_.expression();
      } else if (keyword.kind == TokenKind::End) {
        throw keyword.error("the file ends inside a dialog statement");
      } else {
        throw keyword.error("unknown dialog statement '" + keyword.text + "'");
      }
    }
    if (styleGiven) dialog_.style = style;
    if (captionGiven) dialog_.style |= kCaption;
    if (dialog_.hasFont) dialog_.style |= layout::kDialogSetFont;
  }

  void parseFont(const Token& keyword) {
    dialog_.hasFont = true;
    dialog_.fontSize = reader_.word("font size");
    reader_.expect(",", "after the font size");
    dialog_.fontFace = reader_.text("the font face");
    if (!reader_.accept(",")) return;
    if (!dialog_.extended) throw keyword.error("font weight, italic and charset need DIALOGEX");
    dialog_.fontWeight = reader_.word("font weight");
    if (!reader_.accept(",")) return;
    dialog_.fontItalic = static_cast<uint8_t>(reader_.number("italic flag", 0, 255));
    if (!reader_.accept(",")) return;
    dialog_.fontCharset = static_cast<uint8_t>(reader_.number("charset", 0, 255));
  }

  // Text given as a string, or a name or number (ICON and CONTROL may name a resource).
  ResourceId controlText() {
    if (reader_.atText()) return ResourceId{std::nullopt, reader_.text("the control text")};
    return reader_.resourceId("control text");
  }

  // A window class: a string or a bare name, kept as written (class names keep their case),
  // or an atom number.
  ResourceId className(std::string_view what) {
    if (reader_.atText()) return ResourceId{std::nullopt, reader_.text(what)};
    if (reader_.peek().kind == TokenKind::Identifier) {
      std::u16string name;
      for (char c : reader_.take().text) name.push_back(static_cast<char16_t>(c));
      return ResourceId{std::nullopt, name};
    }
    return ResourceId::of(reader_.word(what));
  }

  uint32_t controlId() {
    return dialog_.extended ? reader_.dword("control id") : reader_.word("control id");
  }

  void position(Item& item, bool sizeOptional = false) {
    item.x = reader_.coordinate("x");
    reader_.expect(",", "after the control's x");
    item.y = reader_.coordinate("y");
    if (sizeOptional && !reader_.accept(",")) return;
    if (!sizeOptional) reader_.expect(",", "after the control's y");
    item.cx = reader_.coordinate("width");
    reader_.expect(",", "after the control's width");
    item.cy = reader_.coordinate("height");
  }

  void optionalStyles(Item& item, uint32_t defaultStyle) {
    item.style = kChild | kVisible | defaultStyle;
    if (!reader_.accept(",")) return;
    item.style = reader_.style(item.style);
    if (reader_.accept(",")) item.exStyle = reader_.dword("extended style");
  }

  Item parseControl() {
    Token keyword = reader_.take();
    Item item;
    if (keyword.isKeyword("CONTROL")) {
      item.text = controlText();
      reader_.expect(",", "after the control text");
      item.id = controlId();
      reader_.expect(",", "after the control id");
      item.windowClass = className("control class");
      if (!item.windowClass.number) {
        if (auto atom = predefinedAtom(item.windowClass.name)) item.windowClass = ResourceId::of(*atom);
      }
      reader_.expect(",", "after the control class");
      item.style = reader_.style(kChild | kVisible);
      reader_.expect(",", "after the control style");
      position(item);
      if (reader_.accept(",")) item.exStyle = reader_.dword("extended style");
      return item;
    }
    if (keyword.isKeyword("ICON")) {
      item.windowClass = ResourceId::of(layout::kStaticAtom);
      item.text = controlText();
      reader_.expect(",", "after the icon name");
      item.id = controlId();
      reader_.expect(",", "after the control id");
      position(item, true);
      optionalStyles(item, kStaticIcon);
      return item;
    }
    for (const Shorthand& shorthand : kShorthands) {
      if (!keyword.isKeyword(shorthand.keyword)) continue;
      item.windowClass = ResourceId::of(shorthand.atom);
      if (shorthand.text != Text::None) {
        item.text = controlText();
        reader_.expect(",", "after the control text");
      }
      item.id = controlId();
      reader_.expect(",", "after the control id");
      position(item);
      optionalStyles(item, shorthand.style);
      return item;
    }
    if (keyword.kind == TokenKind::End) throw keyword.error("the file ends inside a dialog");
    throw keyword.error("unknown control '" + keyword.text + "'");
  }

  StatementReader& reader_;
  Dialog dialog_;
};

std::vector<uint8_t> encode(const Dialog& dialog) {
  ByteWriter out;
  if (dialog.extended) {
    out.u16(layout::kDialogExVersion);
    out.u16(layout::kDialogExSignature);
    out.u32(dialog.helpId);
    out.u32(dialog.exStyle);
    out.u32(dialog.style);
  } else {
    out.u32(dialog.style);
    out.u32(dialog.exStyle);
  }
  out.u16(static_cast<uint16_t>(dialog.items.size()));
  out.i16(dialog.x);
  out.i16(dialog.y);
  out.i16(dialog.cx);
  out.i16(dialog.cy);
  out.nameOrOrdinal(dialog.menu);
  out.nameOrOrdinal(dialog.windowClass);
  out.terminatedText(dialog.caption);
  if (dialog.style & layout::kDialogSetFont) {
    out.u16(dialog.fontSize);
    if (dialog.extended) {
      out.u16(dialog.fontWeight);
      out.u8(dialog.fontItalic);
      out.u8(dialog.fontCharset);
    }
    out.terminatedText(dialog.fontFace);
  }
  for (const Item& item : dialog.items) {
    out.alignTo4();
    if (dialog.extended) {
      out.u32(0);  // help id
      out.u32(item.exStyle);
      out.u32(item.style);
    } else {
      out.u32(item.style);
      out.u32(item.exStyle);
    }
    out.i16(item.x);
    out.i16(item.y);
    out.i16(item.cx);
    out.i16(item.cy);
    if (dialog.extended) {
      out.u32(item.id);
    } else {
      out.u16(static_cast<uint16_t>(item.id));
    }
    out.nameOrOrdinal(item.windowClass);
    out.nameOrOrdinal(item.text.value_or(ResourceId{}));
    out.u16(0);  // no creation data
  }
  return out.take();
}

}  // namespace

std::vector<uint8_t> parseDialog(StatementReader& reader, bool extended) {
  return encode(DialogParser(reader, extended).parse());
}

}  // namespace handheld::rc
