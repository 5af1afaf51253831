#include "registry/registry_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/registry/registry_test_data.h"
#include "registry/key_path.h"

namespace handheld::device::registry {
namespace {

using test::dwordData;
using test::stringData;

constexpr Root HKLM = Root::LocalMachine;

std::vector<std::u16string> subkeyNames(const RegistryStore& store, Root root,
                                        std::u16string_view path) {
  std::vector<std::u16string> names;
  for (DWORD i = 0;; ++i) {
    EnumKeyResult entry = store.enumKey(root, path, i);
    if (entry.status == ERROR_NO_MORE_ITEMS) return names;
    EXPECT_EQ(entry.status, ERROR_SUCCESS);
    names.push_back(entry.name);
  }
}

std::vector<std::u16string> valueNames(const RegistryStore& store, Root root,
                                       std::u16string_view path) {
  std::vector<std::u16string> names;
  for (DWORD i = 0;; ++i) {
    EnumValueResult entry = store.enumValue(root, path, i);
    if (entry.status == ERROR_NO_MORE_ITEMS) return names;
    EXPECT_EQ(entry.status, ERROR_SUCCESS);
    names.push_back(entry.name);
  }
}

TEST(RegistryStore, CreateKeyReportsDispositionAndCreatesIntermediateKeys) {
  RegistryStore store;
  CreateKeyResult created = store.createKey(HKLM, u"SOFTWARE\\VORLA\\Pinnotes");
  EXPECT_EQ(created.status, ERROR_SUCCESS);
  EXPECT_EQ(created.disposition, REG_CREATED_NEW_KEY);
  EXPECT_EQ(store.openKey(HKLM, u"SOFTWARE\\VORLA"), ERROR_SUCCESS);

  EXPECT_EQ(store.createKey(HKLM, u"\\software\\vorla\\PINNOTES").disposition,
            REG_OPENED_EXISTING_KEY);
  EXPECT_EQ(store.createKey(HKLM, u"").disposition, REG_OPENED_EXISTING_KEY);
  EXPECT_EQ(store.openKey(HKLM, u"\\SOFTWARE\\VORLA\\Pinnotes"), ERROR_SUCCESS);
  EXPECT_EQ(store.openKey(HKLM, u"SOFTWARE\\Missing"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(store.openKey(Root::CurrentUser, u"SOFTWARE"), ERROR_FILE_NOT_FOUND);
}

TEST(RegistryStore, NamesCompareIgnoringCaseAndKeepTheirCase) {
  RegistryStore store;
  store.createKey(HKLM, u"Software\\Vorla");
  EXPECT_EQ(subkeyNames(store, HKLM, u""), std::vector<std::u16string>{u"Software"});

  ASSERT_EQ(store.setValue(HKLM, u"SOFTWARE\\VORLA", u"SndCount", REG_DWORD, dwordData(1)),
            ERROR_SUCCESS);
  ASSERT_EQ(store.setValue(HKLM, u"software\\vorla", u"SNDCOUNT", REG_DWORD, dwordData(2)),
            ERROR_SUCCESS);
  EXPECT_EQ(valueNames(store, HKLM, u"Software\\Vorla"), std::vector<std::u16string>{u"SndCount"});
  EXPECT_EQ(store.queryValue(HKLM, u"Software\\Vorla", u"sndcount", 4).data, dwordData(2));
}

TEST(RegistryStore, RejectsMalformedPathsAndNames) {
  RegistryStore store;
  const std::u16string longest(255, u'k');
  EXPECT_EQ(store.createKey(HKLM, longest).status, ERROR_SUCCESS);
  EXPECT_EQ(store.setValue(HKLM, u"", longest, REG_BINARY, {}), ERROR_SUCCESS);

  const std::u16string bad[] = {u"a\\\\b", u"a\\", u"\\\\a", longest + u"k", u"tab\there",
                                std::u16string(u"nul\0x", 5),
                                std::u16string(1, static_cast<char16_t>(0xD800))};
  for (const std::u16string& path : bad) {
    EXPECT_EQ(store.createKey(HKLM, path).status, ERROR_INVALID_PARAMETER);
    EXPECT_EQ(store.openKey(HKLM, path), ERROR_INVALID_PARAMETER);
  }
  EXPECT_EQ(store.setValue(HKLM, u"", longest + u"k", REG_BINARY, {}), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(store.setValue(HKLM, u"", u"line\nbreak", REG_BINARY, {}), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(store.setValue(HKLM, u"", u"back\\slash", REG_BINARY, {}), ERROR_SUCCESS);
  EXPECT_EQ(store.setValue(HKLM, u"Missing", u"x", REG_BINARY, {}), ERROR_FILE_NOT_FOUND);

  std::u16string deep;
  for (int level = 0; level < 16; ++level) deep = joinKeyPath(deep, u"d");
  EXPECT_EQ(store.createKey(HKLM, deep).status, ERROR_SUCCESS);
  EXPECT_EQ(store.createKey(HKLM, deep + u"\\d").status, ERROR_INVALID_PARAMETER);
}

TEST(RegistryStore, EveryTypeKeepsItsDataExactly) {
  RegistryStore store;
  store.createKey(HKLM, u"Types");
  const std::vector<std::pair<DWORD, std::vector<uint8_t>>> cases = {
      {REG_SZ, stringData(u"\\My Documents\\My Pinnotes")},
      {REG_SZ, {0x41, 0x00}},  // no terminator: stored as given
      {REG_EXPAND_SZ, stringData(u"%windir%\\x")},
      {REG_DWORD, dwordData(0xDEADBEEF)},
      {REG_BINARY, {0x00, 0xFF, 0x10}},
      {REG_MULTI_SZ, {0x41, 0x00, 0x00, 0x00, 0x00, 0x00}},
      {REG_NONE, {}},
      {0x1234, {1, 2, 3}},
  };
  for (const auto& [type, data] : cases) {
    ASSERT_EQ(store.setValue(HKLM, u"Types", u"v", type, data), ERROR_SUCCESS);
    QueryValueResult read = store.queryValue(HKLM, u"Types", u"v", 4096);
    EXPECT_EQ(read.status, ERROR_SUCCESS);
    EXPECT_EQ(read.type, type);
    EXPECT_EQ(read.size, data.size());
    EXPECT_EQ(read.data, data);
  }
}

TEST(RegistryStore, DwordDataMustBeFourBytes) {
  RegistryStore store;
  EXPECT_EQ(store.setValue(HKLM, u"", u"d", REG_DWORD, std::vector<uint8_t>{1, 2}),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(store.setValue(HKLM, u"", u"d", REG_DWORD, std::vector<uint8_t>(8)),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(store.queryValue(HKLM, u"", u"d", 4).status, ERROR_FILE_NOT_FOUND);
}

TEST(RegistryStore, QueryReportsTheSizeNeeded) {
  RegistryStore store;
  store.createKey(HKLM, u"K");
  const auto text = stringData(u"default value");
  store.setValue(HKLM, u"K", u"", REG_SZ, text);

  QueryValueResult small = store.queryValue(HKLM, u"K", u"", text.size() - 1);
  EXPECT_EQ(small.status, ERROR_MORE_DATA);
  EXPECT_EQ(small.size, text.size());
  EXPECT_EQ(small.type, REG_SZ);
  EXPECT_TRUE(small.data.empty());

  EXPECT_EQ(store.queryValue(HKLM, u"K", u"", text.size()).data, text);
  QueryValueResult anySize = store.queryValue(HKLM, u"K", u"");
  EXPECT_EQ(anySize.size, text.size());
  EXPECT_EQ(anySize.data, text);
  EXPECT_EQ(store.queryValue(HKLM, u"K", u"Other", 100).status, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(store.queryValue(HKLM, u"Nope", u"", 100).status, ERROR_FILE_NOT_FOUND);
}

TEST(RegistryStore, EnumeratesSubkeysAlphabeticallyAndValuesInCreationOrder) {
  RegistryStore store;
  for (auto name : {u"gamma", u"Alpha", u"beta", u"Beta2"}) {
    store.createKey(HKLM, joinKeyPath(u"E", name));
  }
  EXPECT_EQ(subkeyNames(store, HKLM, u"E"),
            (std::vector<std::u16string>{u"Alpha", u"beta", u"Beta2", u"gamma"}));

  for (auto name : {u"z", u"a", u"m"}) store.setValue(HKLM, u"E", name, REG_BINARY, {});
  store.setValue(HKLM, u"E", u"A", REG_DWORD, dwordData(7));  // replacing keeps the place
  store.deleteValue(HKLM, u"E", u"z");
  store.setValue(HKLM, u"E", u"z", REG_BINARY, {});  // re-created: last
  EXPECT_EQ(valueNames(store, HKLM, u"E"), (std::vector<std::u16string>{u"a", u"m", u"z"}));

  EXPECT_EQ(store.enumKey(HKLM, u"E", 4).status, ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(store.enumValue(HKLM, u"E", 3).status, ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(store.enumKey(HKLM, u"Missing", 0).status, ERROR_FILE_NOT_FOUND);
}

TEST(RegistryStore, EnumerationReportsBuffersThatAreTooSmall) {
  RegistryStore store;
  store.createKey(HKLM, u"E\\Alpha");
  EXPECT_EQ(store.enumKey(HKLM, u"E", 0, 6).name, u"Alpha");  // 5 characters and terminator
  EnumKeyResult tight = store.enumKey(HKLM, u"E", 0, 5);
  EXPECT_EQ(tight.status, ERROR_MORE_DATA);
  EXPECT_EQ(tight.nameLength, 5u);
  EXPECT_TRUE(tight.name.empty());

  store.setValue(HKLM, u"E", u"Blob", REG_BINARY, std::vector<uint8_t>{1, 2, 3});
  EXPECT_EQ(store.enumValue(HKLM, u"E", 0, 4, std::nullopt).status, ERROR_MORE_DATA);
  EnumValueResult shortData = store.enumValue(HKLM, u"E", 0, 5, 2);
  EXPECT_EQ(shortData.status, ERROR_MORE_DATA);
  EXPECT_EQ(shortData.size, 3u);
  EXPECT_EQ(shortData.type, REG_BINARY);
  EnumValueResult fits = store.enumValue(HKLM, u"E", 0, 5, 3);
  EXPECT_EQ(fits.status, ERROR_SUCCESS);
  EXPECT_EQ(fits.name, u"Blob");
  EXPECT_EQ(fits.data, (std::vector<uint8_t>{1, 2, 3}));
}

TEST(RegistryStore, DeleteKeyRemovesTheWholeSubtree) {
  RegistryStore store;
  const std::size_t empty = store.usedBytes();
  store.createKey(HKLM, u"A\\B\\C\\D");
  store.createKey(HKLM, u"A\\B\\Sibling");
  store.setValue(HKLM, u"A\\B\\C", u"v", REG_BINARY, std::vector<uint8_t>(100));
  store.createKey(HKLM, u"A\\Keep");

  EXPECT_EQ(store.deleteKey(HKLM, u"a\\b"), ERROR_SUCCESS);
  EXPECT_EQ(store.openKey(HKLM, u"A\\B\\C\\D"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(store.openKey(HKLM, u"A\\B"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(store.openKey(HKLM, u"A\\Keep"), ERROR_SUCCESS);
  EXPECT_EQ(store.deleteKey(HKLM, u"A\\B"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(store.deleteKey(HKLM, u"\\"), ERROR_ACCESS_DENIED);

  store.deleteKey(HKLM, u"A");
  EXPECT_EQ(store.usedBytes(), empty);
}

TEST(RegistryStore, DeleteValue) {
  RegistryStore store;
  store.setValue(HKLM, u"", u"v", REG_BINARY, {});
  EXPECT_EQ(store.deleteValue(HKLM, u"", u"V"), ERROR_SUCCESS);
  EXPECT_EQ(store.deleteValue(HKLM, u"", u"v"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(store.deleteValue(HKLM, u"Missing", u"v"), ERROR_FILE_NOT_FOUND);
}

TEST(RegistryStore, LimitsFailCleanlyAndLeaveTheStoreAsItWas) {
  RegistryLimits limits;
  limits.maxTotalBytes = 4 * kEntryOverhead + 200;
  limits.maxEntriesPerKey = 3;
  RegistryStore store(limits);

  EXPECT_EQ(store.setValue(HKLM, u"", u"big", REG_BINARY, std::vector<uint8_t>(4097)),
            ERROR_INVALID_PARAMETER);
  // Seven keys at once would not fit: none of them is created.
  EXPECT_EQ(store.createKey(HKLM, u"a\\b\\c\\d\\e\\f\\g").status, ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(store.openKey(HKLM, u"a"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(store.usedBytes(), 0u);

  ASSERT_EQ(store.setValue(HKLM, u"", u"v", REG_BINARY, std::vector<uint8_t>(100)), ERROR_SUCCESS);
  EXPECT_EQ(store.setValue(HKLM, u"", u"v", REG_BINARY, std::vector<uint8_t>(400)),
            ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(store.queryValue(HKLM, u"", u"v").size, 100u);

  for (auto name : {u"k1", u"k2", u"k3"}) {
    EXPECT_EQ(store.createKey(HKLM, name).status, ERROR_SUCCESS);
  }
  EXPECT_EQ(store.createKey(HKLM, u"k4").status, ERROR_NOT_ENOUGH_MEMORY);
}

TEST(RegistryStore, ReportsEachChange) {
  RegistryStore store;
  std::vector<RegistryChange> changes;
  store.setChangeListener([&](const RegistryChange& change) { changes.push_back(change); });

  store.createKey(HKLM, u"\\System\\Device");
  store.createKey(HKLM, u"System\\Device");  // opened: no change
  store.setValue(HKLM, u"System\\Device", u"DateOrder", REG_DWORD, dwordData(2));
  store.setValue(HKLM, u"System\\Device", u"Bad", REG_DWORD, {});  // refused: no change
  store.setValue(Root::CurrentUser, u"", u"Other", REG_BINARY, {});
  store.deleteKey(HKLM, u"System");
  ASSERT_EQ(changes.size(), 4u);
  EXPECT_EQ(store.changeCount(), 4u);

  EXPECT_EQ(changes[0].kind, RegistryChange::Kind::KeyCreated);
  EXPECT_EQ(changes[0].keyPath, u"System\\Device");
  EXPECT_EQ(changes[1].kind, RegistryChange::Kind::ValueSet);
  EXPECT_EQ(changes[1].valueName, u"DateOrder");

  auto touchesSettings = [](const RegistryChange& change) {
    return change.touches(Root::LocalMachine, u"\\SYSTEM\\DEVICE");
  };
  EXPECT_TRUE(touchesSettings(changes[1]));
  EXPECT_FALSE(touchesSettings(changes[2]));  // another root
  EXPECT_TRUE(touchesSettings(changes[3]));   // a key above was deleted
  RegistryChange sibling{RegistryChange::Kind::ValueSet, HKLM, u"System\\DeviceX", u"v"};
  EXPECT_FALSE(touchesSettings(sibling));
}

}  // namespace
}  // namespace handheld::device::registry
