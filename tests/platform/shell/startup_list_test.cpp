// The device's start-up list and the shell's entries in the default hive.
#include <gtest/gtest.h>

#include <cstring>

#include "registry/default_hive.h"
#include "startup_programs.h"

namespace handheld::device {
namespace {

using registry::Root;

std::vector<uint8_t> utf16Bytes(std::u16string_view text, bool terminated = true) {
  std::vector<uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  if (terminated) bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

std::u16string stringValue(const registry::RegistryStore& store, std::u16string_view key,
                           std::u16string_view name) {
  auto value = store.queryValue(Root::LocalMachine, key, name);
  EXPECT_EQ(value.status, ERROR_SUCCESS) << "no value";
  EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
  std::u16string text(value.data.size() / 2, u'\0');
  std::memcpy(text.data(), value.data.data(), text.size() * 2);
  return text.substr(0, text.find(u'\0'));
}

TEST(StartupList, LaunchValuesInTheirOrderAndNothingElse) {
  registry::RegistryStore store;
  ASSERT_EQ(store.createKey(Root::LocalMachine, u"Init").status, ERROR_SUCCESS);
  auto set = [&](std::u16string_view name, DWORD type, std::vector<uint8_t> data) {
    ASSERT_EQ(store.setValue(Root::LocalMachine, u"Init", name, type, data), ERROR_SUCCESS);
  };
  set(u"Launch50", REG_SZ, utf16Bytes(u"\\Windows\\shell.exe"));
  set(u"Launch10", REG_SZ, utf16Bytes(u"\\Windows\\first.exe", false));  // no terminator
  set(u"launch20", REG_SZ, utf16Bytes(u"\\Windows\\second.exe"));
  set(u"Launch30", REG_DWORD, {1, 0, 0, 0});                  // not a path
  set(u"Launch100", REG_SZ, utf16Bytes(u"\\Windows\\x.exe"));  // past 99
  set(u"Launcher", REG_SZ, utf16Bytes(u"\\Windows\\y.exe"));
  set(u"Launch", REG_SZ, utf16Bytes(u"\\Windows\\z.exe"));
  set(u"Launch40", REG_SZ, utf16Bytes(u""));                  // empty
  set(u"Launch41", REG_SZ, utf16Bytes(std::u16string(300, u'a')));  // longer than a path

  const auto list = readStartupList(store);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].order, 10u);
  EXPECT_EQ(list[0].path, u"\\Windows\\first.exe");
  EXPECT_EQ(list[1].order, 20u);
  EXPECT_EQ(list[1].path, u"\\Windows\\second.exe");
  EXPECT_EQ(list[2].order, 50u);
  EXPECT_EQ(list[2].path, u"\\Windows\\shell.exe");

  EXPECT_TRUE(readStartupList(registry::RegistryStore{}).empty());
}

TEST(DefaultHive, StartsTheShellAndMapsTheHardwareButtons) {
  const auto store = registry::makeDefaultRegistry({});
  const auto list = readStartupList(store);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].path, u"\\Windows\\shell.exe");

  const std::u16string keys = u"SOFTWARE\\Microsoft\\Shell\\Keys\\";
  EXPECT_EQ(stringValue(store, keys + u"40C5", u""), u"\\Program Files\\Pinnotes\\Pinnotes.exe");
  EXPECT_EQ(stringValue(store, keys + u"40C5", u"Name"), u"Button 5");
  EXPECT_EQ(stringValue(store, keys + u"40C1", u""), u":today");
  EXPECT_EQ(stringValue(store, keys + u"40C2", u""), u"\\Program Files\\Pinnotes\\Pinnotes.exe");
  EXPECT_EQ(stringValue(store, keys + u"40C3", u""), u":start");
  EXPECT_EQ(stringValue(store, keys + u"40C4", u""), u"");
}

}  // namespace
}  // namespace handheld::device
