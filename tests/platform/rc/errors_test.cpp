// Broken and hostile scripts: every error names its file and line, nothing crashes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "rc_test_support.h"

namespace handheld::rc::test {
namespace {

using ::testing::HasSubstr;

TEST(Errors, NameTheFileAndLine) {
  struct Case {
    const char* script;
    const char* where;
    const char* what;
  };
  const Case cases[] = {
      {"1 RCDATA\nBEGIN\n  1, 2\n", "/src/app.rc:2", "BEGIN without END"},
      {"1 MENU\nBEGIN\n POPUP \"x\"\n BEGIN\n", "/src/app.rc:4", "BEGIN without END"},
      {"\nFOO\n", "/src/app.rc:2", "unknown statement 'FOO'"},
      {"1 DIALGO 0, 0, 1, 1\n", "/src/app.rc:1", "unknown statement 'DIALGO'"},
      {"1 ACCELERATORS { }\n", "/src/app.rc:1", "not supported"},
      {"}\n", "/src/app.rc:1", "unknown statement"},
      {"1 RCDATA\n{\n  1 +\n}\n", "/src/app.rc:4", "a number is expected"},
      {"1 RCDATA { 2 / (1 - 1) }\n", "/src/app.rc:1", "division by zero"},
      {"1 RCDATA {\n WS_UNKNOWN }\n", "/src/app.rc:2", "unknown name 'WS_UNKNOWN'"},
      {"1 RCDATA { 70000 }\n", "/src/app.rc:1", "does not fit a WORD"},
      {"1 RCDATA { 1 }\n1 RCDATA { 2 }\n", "/src/app.rc:2", "duplicate resource"},
      {"STRINGTABLE { 1 \"a\"\n 1 \"b\" }\n", "/src/app.rc:2", "duplicate string id 1"},
      {"STRINGTABLE { 1 \"open\n }\n", "/src/app.rc:1", "unterminated string"},
      {"STRINGTABLE { 1 \"bad \\q\" }\n", "/src/app.rc:1", "unknown escape"},
      {"\n\n1 BITMAP \"missing.bmp\"\n", "/src/app.rc:3", "cannot find file 'missing.bmp'"},
      {"1 ICON missing.ico\n", "/src/app.rc:1", "needs a file name in quotes"},
      {"#include \"nowhere.h\"\n", "/src/app.rc:1", "cannot find include file"},
      {"#include <nowhere.h>\n", "/src/app.rc:1", "cannot find include file"},
      {"#if 1\n1 RCDATA { 1 }\n", "/src/app.rc:1", "#if without #endif"},
      {"#endif\n", "/src/app.rc:1", "#endif without #if"},
      {"#frobnicate\n", "/src/app.rc:1", "unknown directive"},
      {"#define F(x) x\n\n1 RCDATA { F(1) }\n", "/src/app.rc:3", "takes arguments"},
      {"1 DIALOG 0, 0, 10, 10 { LTEXT \"a\", 1, 0, 0, 1, 1, NOT } \n", "/src/app.rc:1", "a number is expected"},
      {"1 DIALOG 0, 0, 10, 10 FONT 8, \"x\", 400 { }\n", "/src/app.rc:1", "need DIALOGEX"},
      {"1 DIALOG 0, 0, 10, 10\n{\n  SLIDER 1, 0, 0, 1, 1\n}\n", "/src/app.rc:3", "unknown control 'SLIDER'"},
      {"1 MENU { POPUP \"a\" { } }\n", "/src/app.rc:1", "POPUP without items"},
      {"1 MENU { MENUITEM \"a\", 1, SHINY }\n", "/src/app.rc:1", "unknown menu option"},
  };
  for (const Case& c : cases) {
    std::string message = errorOfScript(c.script);
    EXPECT_THAT(message, HasSubstr(c.where)) << c.script;
    EXPECT_THAT(message, HasSubstr(c.what)) << c.script;
  }
}

TEST(Errors, InHeadersNameTheHeader) {
  EXPECT_THAT(errorOf({{kScript, "#include \"a.h\"\n"},
                       {"/src/a.h", "#pragma once\n#include \"b.h\"\n"},
                       {"/src/b.h", "\n#include \"c.h\"\n"},
                       {"/src/c.h", "#include \"b.h\"\n"}}),
              HasSubstr("/src/c.h:1: error: #include loop: app.rc -> a.h -> b.h -> c.h -> b.h"));
  EXPECT_THAT(errorOf({{kScript, "#include \"a.h\"\n"}, {"/src/a.h", "\n#error stop here\n"}}),
              HasSubstr("/src/a.h:2: error: #error stop here"));
  EXPECT_THAT(errorOf({{kScript, "#include \"a.h\"\n"}, {"/src/a.h", "#ifdef X\n"}}),
              HasSubstr("/src/a.h:1: error: #if without #endif"));
}

TEST(Errors, MacrosThatAreNoIntegersFailWhereUsed) {
  std::map<std::string, std::string> files = {
      {"/src/h.h",
       "#define HANDLE_VALUE (reinterpret_cast<HANDLE>(-1))\n#define POINTER static_cast<int*>(0)\n"
       "#define MAKE(a, b) ((a) | (b))\n"}};
  files[kScript] = "#include \"h.h\"\n1 RCDATA { 1 }\n";
  EXPECT_EQ(errorOf(files), "");  // defined, never used: fine
  files[kScript] = "#include \"h.h\"\n\n1 RCDATA { HANDLE_VALUE }\n";
  EXPECT_THAT(errorOf(files), HasSubstr("/src/app.rc:3: error: cannot evaluate reinterpret_cast"));
  EXPECT_THAT(errorOf(files), HasSubstr("macro HANDLE_VALUE defined at /src/h.h:1"));
  files[kScript] = "#include \"h.h\"\n1 RCDATA { POINTER }\n";
  EXPECT_THAT(errorOf(files), HasSubstr("/src/app.rc:2: error: cannot evaluate a cast"));
  files[kScript] = "#include \"h.h\"\n1 RCDATA { MAKE(1, 2) }\n";
  EXPECT_THAT(errorOf(files), HasSubstr("macro MAKE (defined at /src/h.h:3) takes arguments"));
}

TEST(Errors, EmbeddedFilesAreChecked) {
  EXPECT_THAT(errorOf({{kScript, "1 BITMAP \"x.bmp\"\n"}, {"/src/x.bmp", "not a bitmap at all"}}),
              HasSubstr("is not a .bmp file"));
  EXPECT_THAT(errorOf({{kScript, "1 ICON \"x.ico\"\n"}, {"/src/x.ico", std::string("\0\0\1\0\1\0", 6)}}),
              HasSubstr("damaged image directory"));
}

TEST(Errors, HostileInputFailsCleanly) {
  EXPECT_THAT(errorOfScript("1 RCDATA { " + std::string(5000, '(') + "1" + std::string(5000, ')') + " }"),
              HasSubstr("nested too deeply"));
  std::string explosion;
  for (int i = 1; i < 40; ++i) {
    explosion += "#define M" + std::to_string(i) + " M" + std::to_string(i - 1) + " M" +
                 std::to_string(i - 1) + "\n";
  }
  EXPECT_THAT(errorOfScript(explosion + "#define M0 1,\n1 RCDATA { M39 }\n"), HasSubstr("too large"));
  EXPECT_THAT(errorOfScript("#define A B\n#define B A\n1 RCDATA { A }\n"), HasSubstr("unknown name 'A'"));
  std::string menu = "1 MENU ";
  for (int i = 0; i < 100; ++i) menu += "{ POPUP \"a\" ";
  EXPECT_THAT(errorOfScript(menu), HasSubstr("nested too deeply"));
  EXPECT_THAT(errorOf({{kScript, "#include \"self.rc\"\n"}, {"/src/self.rc", "#include \"self.rc\"\n"}}),
              HasSubstr("#include loop"));
}

// Every prefix of a valid script compiles or fails with a CompileError: truncation never
// crashes the compiler or escapes as another exception.
TEST(Errors, TruncatedScriptsFailCleanly) {
  const std::string script = R"(#define ID 5
STRINGTABLE { ID "text\n" }
ID DIALOGEX 0, 0, 10, 10, 1
CAPTION "c" FONT 8, "f", 400, 0, 1
{ CONTROL "x", ID, "Button", 0x50000000L, 1, 2, 3, 4, 0 }
ID MENU { POPUP "p" { MENUITEM "m", 1, GRAYED } }
ID RCDATA { 1, 2L, "s", L"w" })";
  for (size_t size = 0; size <= script.size(); ++size) {
    try {
      compileScriptText(script.substr(0, size));
    } catch (const CompileError&) {
    }
  }
}

}  // namespace
}  // namespace handheld::rc::test
