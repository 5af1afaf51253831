#include "registry/default_hive.h"

#include <gtest/gtest.h>

#include "platform/registry/registry_test_data.h"
#include "registry/key_path.h"

namespace handheld::device::registry {
namespace {

using test::dwordData;
using test::stringData;

constexpr Root HKLM = Root::LocalMachine;

std::vector<uint8_t> read(const RegistryStore& store, Root root, std::u16string_view path,
                          std::u16string_view name, DWORD type) {
  QueryValueResult result = store.queryValue(root, path, name, 4096);
  EXPECT_EQ(result.status, ERROR_SUCCESS) << std::string(path.begin(), path.end());
  EXPECT_EQ(result.type, type);
  return result.data;
}

TEST(DefaultHive, HoldsTheButtonTable) {
  const RegistryStore store = makeDefaultRegistry();
  const std::u16string keys = u"SOFTWARE\\Microsoft\\Shell\\Keys";
  const std::u16string buttons[] = {u"40C1", u"40C2", u"40C3", u"40C4", u"40C5"};
  for (int i = 0; i < 5; ++i) {
    const std::u16string key = joinKeyPath(keys, buttons[i]);
    const std::u16string name = u"Button " + std::u16string(1, static_cast<char16_t>(u'1' + i));
    EXPECT_EQ(read(store, HKLM, key, u"Name", REG_SZ), stringData(name));
    EXPECT_EQ(read(store, HKLM, key, u"Flags", REG_DWORD), dwordData(0));
  }
  // What each button does: Today, the notes list, the start menu, nothing, Pinnotes.
  const std::u16string actions[] = {u":today", u"\\Program Files\\Pinnotes\\Pinnotes.exe", u":start", u"",
                                    u"\\Program Files\\Pinnotes\\Pinnotes.exe"};
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(read(store, HKLM, joinKeyPath(keys, buttons[i]), u"", REG_SZ), stringData(actions[i]));
}

TEST(DefaultHive, HoldsTodayItemsAndDeviceSettings) {
  const RegistryStore store = makeDefaultRegistry();
  const std::u16string date = u"SOFTWARE\\Microsoft\\Today\\Items\\Date";
  for (auto [name, value] : {std::pair{u"Type", 0u}, {u"Enabled", 1u}, {u"Order", 0u},
                             {u"Options", 0u}, {u"Flags", 0u}}) {
    EXPECT_EQ(read(store, HKLM, date, name, REG_DWORD), dwordData(value));
  }
  EXPECT_EQ(read(store, HKLM, kDeviceSettingsKey, kDateOrderValue, REG_DWORD), dwordData(1));
  EXPECT_EQ(read(store, HKLM, kDeviceSettingsKey, kTimeFormatValue, REG_DWORD), dwordData(1));
  EXPECT_EQ(read(store, HKLM, kDeviceSettingsKey, kTimeZoneBiasValue, REG_DWORD), dwordData(0));
  EXPECT_EQ(read(store, HKLM, kDeviceSettingsKey, kProcessorNameValue, REG_SZ),
            stringData(u"Handheld ARM"));
  EXPECT_EQ(read(store, Root::CurrentUser, u"ControlPanel\\Owner", u"Name", REG_SZ),
            stringData(u""));
}

TEST(DefaultHive, OpensNotesAndPagesThroughTheirExtensions) {
  const RegistryStore store = makeDefaultRegistry();
  constexpr Root HKCR = Root::ClassesRoot;
  EXPECT_EQ(read(store, HKCR, u".stk", u"", REG_SZ), stringData(u"stkfile"));
  EXPECT_EQ(read(store, HKCR, u"stkfile\\shell\\open\\command", u"", REG_SZ),
            stringData(u"\"\\Program Files\\Pinnotes\\Pinnotes.exe\" %1"));
  EXPECT_EQ(read(store, HKCR, u".htm", u"", REG_SZ), stringData(u"htmlfile"));
  EXPECT_EQ(read(store, HKCR, u".html", u"", REG_SZ), stringData(u"htmlfile"));
  EXPECT_EQ(read(store, HKCR, u"htmlfile\\shell\\open\\command", u"", REG_SZ),
            stringData(u"\\Windows\\PegHelp.exe file:%1"));
}

}  // namespace
}  // namespace handheld::device::registry
