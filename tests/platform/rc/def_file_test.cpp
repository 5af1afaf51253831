// .def files for handheld_add_exports.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "def_file.h"

namespace handheld::rc {
namespace {

using ::testing::HasSubstr;

TEST(DefFile, ReadsExportsWithAndWithoutOrdinals) {
  auto exports = parseDefFile(
      "; comment\nLIBRARY VPinnotes\nEXPORTS\n  InitializeCustomItem @240 NONAME\n"
      "  CustomItemOptionsDlgProc @ 241\n  ByNameOnly ; trailing comment\n",
      "x.def");
  ASSERT_EQ(exports.size(), 3u);
  EXPECT_EQ(exports[0].name, "InitializeCustomItem");
  EXPECT_EQ(exports[0].ordinal, std::optional<uint32_t>(240));
  EXPECT_EQ(exports[1].ordinal, std::optional<uint32_t>(241));
  EXPECT_FALSE(exports[2].ordinal);
}

TEST(DefFile, ErrorsNameTheLine) {
  auto errorOf = [](const std::string& text) -> std::string {
    try {
      parseDefFile(text, "x.def");
    } catch (const CompileError& error) {
      return error.what();
    }
    return "";
  };
  EXPECT_THAT(errorOf("EXPORTS\n A @1\n B @1\n"), HasSubstr("x.def:3: error: ordinal 1 is used twice"));
  EXPECT_THAT(errorOf("EXPORTS\n A @0\n"), HasSubstr("x.def:2: error: ordinal out of range"));
  EXPECT_THAT(errorOf("EXPORTS\n A @x\n"), HasSubstr("x.def:2"));
  EXPECT_THAT(errorOf("EXPORTS\n A=B @1\n"), HasSubstr("not supported"));
  EXPECT_THAT(errorOf("A @1\n"), HasSubstr("x.def:1: error: unknown statement"));
  EXPECT_THAT(errorOf("EXPORTS\n A\n A @2\n"), HasSubstr("exported twice"));
}

}  // namespace
}  // namespace handheld::rc
