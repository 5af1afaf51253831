#include "registry/hive_format.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/registry/registry_test_data.h"

namespace handheld::device::registry {
namespace {

using test::dwordData;
using test::stringData;
using test::unitsData;

constexpr Root HKLM = Root::LocalMachine;
const std::string kHead = "Windows Registry Editor Version 5.00\n";
const std::string kTail = "\n; end of registry\n";

RegistryStore reparsed(const RegistryStore& store) {
  RegistryStore copy(store.limits());
  const std::optional<HiveError> error = parseHive(writeHive(store), copy);
  EXPECT_FALSE(error) << "line " << error->line << ": " << error->reason;
  return copy;
}

std::vector<uint8_t> valueData(const RegistryStore& store, std::u16string_view path,
                               std::u16string_view name, DWORD type) {
  QueryValueResult read = store.queryValue(HKLM, path, name, 1u << 20);
  EXPECT_EQ(read.status, ERROR_SUCCESS);
  EXPECT_EQ(read.type, type);
  return read.data;
}

TEST(HiveFormat, WritesTheFamiliarExportForm) {
  RegistryStore store;
  const std::u16string key = u"SOFTWARE\\VORLA\\Pinnotes";
  store.createKey(HKLM, key);
  store.setValue(HKLM, key, u"Pinnotes", REG_SZ, stringData(u"\\My Documents\\My Pinnotes"));
  store.setValue(HKLM, key, u"SndCount", REG_DWORD, dwordData(1));
  store.setValue(HKLM, key, u"Blob", REG_BINARY, std::vector<uint8_t>{0x01, 0x02, 0xff});
  store.setValue(HKLM, key, u"List", REG_MULTI_SZ, std::vector<uint8_t>{0x41, 0, 0, 0, 0, 0});
  store.setValue(HKLM, key, u"Path", REG_EXPAND_SZ, stringData(u"%x%"));
  store.setValue(HKLM, key, u"Nothing", REG_NONE, {});
  store.setValue(HKLM, key, u"say \"hi\"", REG_SZ, stringData(u"Grüße"));
  store.setValue(HKLM, key, u"", REG_SZ, stringData(u"default value"));
  store.createKey(Root::CurrentUser, u"Empty");

  EXPECT_EQ(writeHive(store), kHead +
                                  "\n[HKEY_CURRENT_USER\\Empty]\n"
                                  "\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n"
                                  "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\VORLA]\n"
                                  "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\VORLA\\Pinnotes]\n"
                                  "\"Pinnotes\"=\"\\\\My Documents\\\\My Pinnotes\"\n"
                                  "\"SndCount\"=dword:00000001\n"
                                  "\"Blob\"=hex:01,02,ff\n"
                                  "\"List\"=hex(7):41,00,00,00,00,00\n"
                                  "\"Path\"=hex(2):25,00,78,00,25,00,00,00\n"
                                  "\"Nothing\"=hex(0):\n"
                                  "\"say \\\"hi\\\"\"=\"Grüße\"\n"
                                  "@=\"default value\"\n" +
                                  kTail);
}

TEST(HiveFormat, EveryTypeAndEmptyKeysSurviveTheText) {
  RegistryStore store;
  store.createKey(HKLM, u"Empty\\Deeper");
  store.setValue(Root::Users, u"", u"AtRoot", REG_DWORD, dwordData(0x80000000u));
  std::vector<uint8_t> long_(700);
  for (std::size_t i = 0; i < long_.size(); ++i) long_[i] = static_cast<uint8_t>(i * 7);
  store.setValue(HKLM, u"", u"Long", REG_BINARY, long_);
  store.setValue(HKLM, u"", u"Custom", 0xABCD, std::vector<uint8_t>{9});
  store.setValue(HKLM, u"", u"Näme \\ with backslash", REG_EXPAND_SZ, stringData(u"%TEMP%"));

  const std::string text = writeHive(store);
  RegistryStore copy = reparsed(store);
  EXPECT_EQ(writeHive(copy), text);
  EXPECT_EQ(copy.openKey(HKLM, u"Empty\\Deeper"), ERROR_SUCCESS);
  EXPECT_EQ(valueData(copy, u"", u"Long", REG_BINARY), long_);
  EXPECT_EQ(valueData(copy, u"", u"Custom", 0xABCD), std::vector<uint8_t>{9});
  EXPECT_EQ(copy.queryValue(Root::Users, u"", u"AtRoot", 4).data, dwordData(0x80000000u));

  std::istringstream lines(text);
  int continued = 0;
  for (std::string line; std::getline(lines, line);) {
    EXPECT_LE(line.size(), 80u) << line;
    continued += line.ends_with('\\');
  }
  EXPECT_GT(continued, 20);
}

TEST(HiveFormat, OddStringsComeBackByteForByte) {
  struct Case {
    std::vector<uint8_t> data;
    bool asText;
  };
  const std::vector<Case> cases = {
      {stringData(u"Grüße, 日本, \U0001F600"), true},
      {stringData(u"a \"quoted\" \\path\\"), true},
      {stringData(u""), true},
      {unitsData(std::u16string(u"a\0b\0", 4)), false},          // embedded NUL
      {stringData(std::u16string(1, static_cast<char16_t>(0xD800))), false},  // lone surrogate
      {stringData(std::u16string(1, static_cast<char16_t>(0xDC00)) + u"x"), false},
      {unitsData(u"no terminator"), false},
      {{0x41}, false},  // odd length
      {{}, false},
      {stringData(u"two\nlines"), false},
  };
  for (const Case& c : cases) {
    RegistryStore store;
    store.setValue(HKLM, u"", u"s", REG_SZ, c.data);
    const std::string text = writeHive(store);
    EXPECT_EQ(text.find("\"s\"=hex(1):") == std::string::npos, c.asText) << text;
    EXPECT_EQ(valueData(reparsed(store), u"", u"s", REG_SZ), c.data) << text;
  }
}

TEST(HiveFormat, ExportsOneKeyAndItsSubtreeInStoredCase) {
  RegistryStore store;
  store.createKey(HKLM, u"SOFTWARE\\Vorla\\Pinnotes\\Recent");
  store.setValue(HKLM, u"SOFTWARE\\Vorla", u"v", REG_DWORD, dwordData(3));
  store.createKey(HKLM, u"SOFTWARE\\Other");

  EXPECT_EQ(exportKey(store, HKLM, u"\\software\\VORLA").text,
            kHead +
                "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorla]\n\"v\"=dword:00000003\n"
                "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorla\\Pinnotes]\n"
                "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorla\\Pinnotes\\Recent]\n" +
                kTail);
  EXPECT_EQ(exportKey(store, HKLM, u"SOFTWARE\\Missing").status, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(exportKey(store, Root::CurrentUser, u"").text, kHead + kTail);
}

TEST(HiveFormat, ReadsCommentsCrLfByteOrderMarkAndHandEditedSpacing) {
  const std::string text =
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
      "; a comment\r\n"
      "  [HKEY_local_machine\\A]  \r\n"
      "\"Hex\" = hex:\\\r\n"
      "   1, 02 ,\\\r\n"
      "   ff\r\n"
      "@=dword:7\r\n"
      "; end of registry\r\n\r\n";
  RegistryStore store;
  ASSERT_FALSE(parseHive(text, store));
  EXPECT_EQ(valueData(store, u"A", u"Hex", REG_BINARY), (std::vector<uint8_t>{1, 2, 0xff}));
  EXPECT_EQ(valueData(store, u"A", u"", REG_DWORD), dwordData(7));
}

TEST(HiveFormat, ReportsTheLineOfTheFirstError) {
  const std::string key = "\n[HKEY_LOCAL_MACHINE\\K]\n";  // lines 2 and 3
  const std::vector<std::pair<std::string, std::size_t>> cases = {
      {"", 1},
      {"REGEDIT4\n" + kTail, 1},
      {kHead + "\n[HKEY_NOWHERE\\K]\n" + kTail, 3},
      {kHead + "\n[HKEY_LOCAL_MACHINE\\K\n" + kTail, 3},
      {kHead + "\n[HKEY_LOCAL_MACHINE\\a\\\\b]\n" + kTail, 3},
      {kHead + "\"v\"=dword:1\n" + kTail, 2},
      {kHead + key + "\"v\"=\"unterminated\n" + kTail, 4},
      {kHead + key + "\"v\"=\"bad \\n escape\"\n" + kTail, 4},
      {kHead + key + "\"v\"=\"x\" trailing\n" + kTail, 4},
      {kHead + key + "\"v\"=dword:123456789\n" + kTail, 4},
      {kHead + key + "\"v\"=hex(4):01,02,03\n" + kTail, 4},
      {kHead + key + "\"v\"=hex:01,\\\n  0g\n" + kTail, 5},
      {kHead + key + "\"v\"=hex:100\n" + kTail, 4},
      {kHead + key + "\"v\"=hex(zz):00\n" + kTail, 4},
      {kHead + key + "\"v\"=string\n" + kTail, 4},
      {kHead + key + "\"v\"=\"\xC3\x28\"\n" + kTail, 4},
      {kHead + key + "garbage\n" + kTail, 4},
      {kHead + key + "\"v\"=hex:01,\\\n", 4},  // cut inside hex data
      {kHead + key + "\"v\"=dword:1\n", 4},     // cut at a line boundary
      {kHead + key + kTail + "\"v\"=dword:1\n", 6},
  };
  for (const auto& [text, line] : cases) {
    RegistryStore store;
    const std::optional<HiveError> error = parseHive(text, store);
    ASSERT_TRUE(error) << text;
    EXPECT_EQ(error->line, line) << text << "\n" << error->reason;
  }
}

TEST(HiveFormat, HostileTextStaysWithinTheStoreLimits) {
  RegistryLimits limits;
  limits.maxTotalBytes = 64 * 1024;
  std::string huge = kHead + "[HKEY_LOCAL_MACHINE\\K]\n\"v\"=hex:00";
  for (int i = 0; i < 100000; ++i) huge += ",00";
  RegistryStore store(limits);
  std::optional<HiveError> error = parseHive(huge + kTail, store);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->line, 3u);

  std::string many = kHead;
  for (int i = 0; i < 10000; ++i) many += "[HKEY_LOCAL_MACHINE\\K" + std::to_string(i) + "]\n";
  RegistryStore small(limits);
  error = parseHive(many + kTail, small);
  ASSERT_TRUE(error);
  EXPECT_LE(small.usedBytes(), limits.maxTotalBytes);
}

}  // namespace
}  // namespace handheld::device::registry
