// Valid scripts: the preprocessor, expressions, string tables, data blocks, templates.
#include <gtest/gtest.h>

#include "rc_test_support.h"
#include "resources/template_layout.h"
#include "resources/templates.h"

namespace handheld::rc::test {
namespace {

namespace layout = resources::layout;

std::vector<uint8_t> words(std::initializer_list<uint16_t> values) {
  std::vector<uint8_t> bytes;
  for (uint16_t value : values) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
  }
  return bytes;
}

const std::vector<uint8_t>& rcdata(const CompiledScript& script, uint16_t id) {
  const auto* data = findResource(script, ResourceId::of(layout::kTypeRcData), ResourceId::of(id));
  EXPECT_NE(data, nullptr) << "no RCDATA " << id;
  static const std::vector<uint8_t> kNone;
  return data ? *data : kNone;
}

TEST(Preprocessor, DefinesConditionalsCommentsAndExpressions) {
  CompiledScript script = compileScriptText(R"(
    #define BASE 0x10
    #define FLAGS (BASE | 0x3) /* a comment */
    #define LONGER 5L
    #define NESTED (FLAGS + \
                    1)
    // #define IGNORED 1
    #ifdef BASE
    #define CHOSEN 1
    #else
    #define CHOSEN 2
    #endif
    #ifndef BASE
    #error not taken
    #elif BASE > 8 && defined(FLAGS)
    #define SECOND 7
    #endif
    #if 0
    this is not a statement
    #endif
    1 RCDATA BEGIN FLAGS, ~0, -(2 + 3), NESTED, 1 << 4, CHOSEN, SECOND, LONGER, 'A' END
  )");
  EXPECT_EQ(rcdata(script, 1), (std::vector<uint8_t>{0x13, 0, 0xFF, 0xFF, 0xFB, 0xFF, 0x14, 0, 0x10, 0,
                                                     1,    0, 7,    0,    5,    0,    0,    0, 0x41, 0}));
}

TEST(Preprocessor, IncludesRelativeAndFromIncludeFolders) {
  PreprocessorOptions options;
  options.includeDirs.push_back("/platform/include");
  CompiledScript script = compile(
      {{kScript, "#include \"ids.h\"\n#include <windows.h>\nIDR_ONE RCDATA { WS_CHILD_HIGH, ALIAS }\n"},
       {"/src/ids.h", "#pragma once\n#include \"sub/more.h\"\n#define IDR_ONE 1\n"},
       {"/src/sub/more.h", "#define ALIAS IDR_ONE\n"},
       // A platform header: C++ the compiler skips, macros it evaluates only when used.
       {"/platform/include/windows.h",
        "#pragma once\n#include <cstdint>\n#include \"windef.h\"\n#include \"windef.h\"\n"
        "typedef struct tagX { int a; } X;\nextern \"C\" int f(const char* s = \"x\");\n"
        "#define LOWORD(l) (static_cast<WORD>(l))\n"
        "#define WS_CHILD_HIGH (static_cast<WORD>(0x40000000L >> 16))\n"
        "#define INVALID (reinterpret_cast<void*>(-1))\n"
        "template <class T> T twice(T t) { return t + t; }\n"},
       {"/platform/include/windef.h", "#pragma once\nstruct Y { char c = '\\''; };\n"}},
      options);
  EXPECT_EQ(rcdata(script, 1), words({0x4000, 1}));
  std::vector<std::filesystem::path> expected = {"/src/app.rc", "/src/ids.h", "/src/sub/more.h",
                                                 "/platform/include/windows.h",
                                                 "/platform/include/windef.h"};
  EXPECT_EQ(script.dependencies, expected);
}

TEST(StringTable, BlocksOfSixteenAcrossStatements) {
  CompiledScript script = compileScriptText(
      "STRINGTABLE DISCARDABLE\nBEGIN\n 1 \"a\"\n 2, \"bc\"\nEND\n"
      "STRINGTABLE { 17 L\"x\\ty\" 65535 \"last\" }\n");
  const auto* first = findResource(script, ResourceId::of(layout::kTypeString), ResourceId::of(1));
  ASSERT_NE(first, nullptr);
  std::vector<uint8_t> expected = words({0, 1, 'a', 2, 'b', 'c'});
  expected.resize(expected.size() + 13 * 2, 0);  // slots 3 to 15 empty
  EXPECT_EQ(*first, expected);
  const auto* second = findResource(script, ResourceId::of(layout::kTypeString), ResourceId::of(2));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(std::vector<uint8_t>(second->begin(), second->begin() + 10), words({0, 3, 'x', '\t', 'y'}));
  EXPECT_NE(findResource(script, ResourceId::of(layout::kTypeString), ResourceId::of(4096)), nullptr);
}

TEST(DataBlocks, WordsDwordsAndStrings) {
  CompiledScript script = compileScriptText(
      "#define I_IMAGENONE (-2)\n"
      "1 RCDATA { 1, 0xFFFF, I_IMAGENONE, 0x12345678L, \"h\\xe9\", L\"\\x263A\", \"\\0\" }\n"
      "2 \"CEUX\" BEGIN 1 END\n"
      "3 300 { 2 }\n"
      "IDR_BAR SHMENUBAR DISCARDABLE BEGIN 100, 1, I_IMAGENONE, 101, 4, 0x18, 5, 0, 0xFFFF, END\n");
  std::vector<uint8_t> expected = {1, 0, 0xFF, 0xFF, 0xFE, 0xFF, 0x78, 0x56, 0x34, 0x12, 'h', 0xE9, 0x3A, 0x26, 0};
  EXPECT_EQ(rcdata(script, 1), expected);
  EXPECT_NE(findResource(script, named(u"CEUX"), ResourceId::of(2)), nullptr);
  EXPECT_NE(findResource(script, ResourceId::of(300), ResourceId::of(3)), nullptr);
  const auto* bar = findResource(script, named(u"SHMENUBAR"), named(u"IDR_BAR"));
  ASSERT_NE(bar, nullptr);
  auto decoded = resources::decodeShellMenuBar(*bar);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->menuId, 100);
  ASSERT_EQ(decoded->buttons.size(), 1u);
  EXPECT_EQ(decoded->buttons[0].imageIndex, -2);
  EXPECT_EQ(decoded->buttons[0].style, 0x18);
  EXPECT_FALSE(decoded->buttons[0].subMenu);
}

TEST(DataBlocks, EmbeddedFilesAndHeaderMacroMappingTheType) {
  CompiledScript script = compile({{kScript, "#include \"shell.h\"\n7 SHMENUBAR \"res\\\\bar.bin\"\n"},
                                   {"/src/shell.h", "#define SHMENUBAR RCDATA\n"},
                                   {"/src/res/bar.bin", std::string("\x01\x00\x02", 3)}});
  EXPECT_EQ(rcdata(script, 7), (std::vector<uint8_t>{1, 0, 2}));
}

TEST(Templates, DialogAndMenuRoundTrip) {
  CompiledScript script = compileScriptText(R"(
    #define WS_BORDER 0x00800000L
    #define WS_TABSTOP 0x00010000L
    10 DIALOG 1, 2, 30, 40
    STYLE 0x80000000L
    FONT 9, "Tahoma"
    MENU 20
    BEGIN
      EDITTEXT 5, 1, 1, 10, 10, NOT WS_BORDER | NOT WS_TABSTOP
      CONTROL "", 6, "button", 3, 0, 0, 5, 5
      RTEXT "right", 7, 0, 0, 5, 5
    END
    20 MENU { POPUP "&A" { MENUITEM "&B", 30, CHECKED GRAYED } MENUITEM "C", 31, INACTIVE }
  )");
  auto dialog = resources::decodeDialog(
      *findResource(script, ResourceId::of(layout::kTypeDialog), ResourceId::of(10)));
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog->style, 0x80000040u);  // STYLE replaces the default; FONT adds DS_SETFONT
  EXPECT_EQ(dialog->fontSize, 9);
  EXPECT_EQ(dialog->menu.ordinal, std::optional<uint16_t>(20));
  ASSERT_EQ(dialog->items.size(), 3u);
  EXPECT_EQ(dialog->items[0].style, 0x50000000u);
  EXPECT_EQ(dialog->items[1].windowClass.ordinal, std::optional<uint16_t>(layout::kButtonAtom));
  EXPECT_EQ(dialog->items[2].style, 0x50020002u);  // SS_RIGHT | WS_GROUP

  auto menu = resources::decodeMenu(*findResource(script, ResourceId::of(layout::kTypeMenu), ResourceId::of(20)));
  ASSERT_TRUE(menu);
  ASSERT_EQ(menu->items.size(), 2u);
  EXPECT_TRUE(menu->items[0].children[0].checked());
  EXPECT_TRUE(menu->items[0].children[0].grayed());
  EXPECT_TRUE(menu->items[1].inactive());
}

TEST(Names, StringNamesAreUpperCaseAndNumbersComeFromMacros) {
  CompiledScript script = compileScriptText(
      "#define IDR_NUMBERED (100 + 1)\nIDR_NUMBERED RCDATA { 1 }\nnamed rcdata { 2 }\n\"Quoted\" RCDATA { 3 }\n");
  EXPECT_NE(findResource(script, ResourceId::of(layout::kTypeRcData), ResourceId::of(101)), nullptr);
  EXPECT_NE(findResource(script, ResourceId::of(layout::kTypeRcData), named(u"NAMED")), nullptr);
  EXPECT_NE(findResource(script, ResourceId::of(layout::kTypeRcData), named(u"QUOTED")), nullptr);
}

}  // namespace
}  // namespace handheld::rc::test
