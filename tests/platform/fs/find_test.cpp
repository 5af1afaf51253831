// FindFirstFileW / FindNextFileW patterns, the find data, and the special folders.
#include <shlobj.h>

#include <set>
#include <string>

#include "device_root_fixture.h"
#include "fs/names.h"

using FindTest = DeviceRootTest;

namespace {

// Every name a pattern finds, or the error when it finds none.
std::set<std::u16string> find(LPCWSTR pattern, DWORD* error = nullptr) {
  std::set<std::u16string> names;
  WIN32_FIND_DATAW data{};
  HANDLE search = FindFirstFileW(pattern, &data);
  if (search == INVALID_HANDLE_VALUE) {
    if (error) *error = GetLastError();
    return names;
  }
  do {
    names.insert(data.cFileName);
  } while (FindNextFileW(search, &data));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_NO_MORE_FILES});
  EXPECT_TRUE(FindClose(search));
  return names;
}

}  // namespace

TEST(NamePattern, MatchesAsTheDeviceDoes) {
  using handheld::fs::matchesPattern;
  EXPECT_TRUE(matchesPattern(u"*.*", u"noext"));
  EXPECT_TRUE(matchesPattern(u"*.STK", u"Pinnote0.stk"));
  EXPECT_TRUE(matchesPattern(u"pin?ote*", u"PINNOTE12.stk"));
  EXPECT_TRUE(matchesPattern(u"*a*b", u"xaxxab"));
  EXPECT_TRUE(matchesPattern(u"**", u""));
  EXPECT_FALSE(matchesPattern(u"?", u""));
  EXPECT_FALSE(matchesPattern(u"*.stk", u"a.stkx"));
  EXPECT_FALSE(matchesPattern(u"a*b*c", u"aXbXd"));
  EXPECT_TRUE(matchesPattern(u"\u00c9t\u00c9", u"\u00e9t\u00e9"));
}

TEST_F(FindTest, PatternsListNamesWithTheirCase) {
  writeHost(root_ / "Docs" / "Pinnote0.stk", "12345");
  writeHost(root_ / "Docs" / "pinnote1.STK", "");
  writeHost(root_ / "Docs" / "noext", "");
  std::filesystem::create_directories(root_ / "Docs" / "Sub");
  std::filesystem::create_symlink(outside_, root_ / "Docs" / "link.exe");

  EXPECT_EQ(find(u"\\docs\\*.stk"), (std::set<std::u16string>{u"Pinnote0.stk", u"pinnote1.STK"}));
  EXPECT_EQ(find(u"\\docs\\*.*").size(), 5u);
  EXPECT_EQ(find(u"\\docs\\PINNOTE?.*").size(), 2u);
  EXPECT_EQ(find(u"\\docs\\sub"), (std::set<std::u16string>{u"Sub"}));
  EXPECT_EQ(find(u"*"), (std::set<std::u16string>{u"Docs"}));  // never the device's own folder

  DWORD error = 0;
  EXPECT_EQ(find(u"\\docs\\PINNOTE1.stk"), (std::set<std::u16string>{u"pinnote1.STK"}));
  EXPECT_TRUE(find(u"\\docs\\Pinnote2.stk", &error).empty());
  EXPECT_EQ(error, DWORD{ERROR_FILE_NOT_FOUND});
  EXPECT_TRUE(find(u"\\", &error).empty());
  EXPECT_EQ(error, DWORD{ERROR_FILE_NOT_FOUND});
  EXPECT_TRUE(find(u"\\docs\\x*", &error).empty());
  EXPECT_EQ(error, DWORD{ERROR_FILE_NOT_FOUND});
  EXPECT_TRUE(find(u"\\missing\\*", &error).empty());
  EXPECT_EQ(error, DWORD{ERROR_PATH_NOT_FOUND});
  EXPECT_TRUE(find(u"\\.device\\*", &error).empty());
  EXPECT_EQ(error, DWORD{ERROR_ACCESS_DENIED});
  EXPECT_TRUE(find(u"\\do*\\*", &error).empty());
  EXPECT_EQ(error, DWORD{ERROR_INVALID_NAME});

  WIN32_FIND_DATAW data{};
  HANDLE search = FindFirstFileW(u"\\Docs\\*0.stk", &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.nFileSizeLow, 5u);
  EXPECT_EQ(data.dwFileAttributes, DWORD{FILE_ATTRIBUTE_NORMAL});
  EXPECT_NE(data.ftCreationTime.dwHighDateTime, 0u);
  EXPECT_FALSE(FindNextFileW(search, &data));
  EXPECT_TRUE(FindClose(search));
  EXPECT_FALSE(FindClose(search));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});

  ASSERT_NE(search = FindFirstFileW(u"\\Docs\\s*", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.dwFileAttributes, DWORD{FILE_ATTRIBUTE_DIRECTORY});
  FindClose(search);
  ASSERT_NE(search = FindFirstFileW(u"\\Docs\\link.exe", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.dwFileAttributes, DWORD{FILE_ATTRIBUTE_READONLY});
  FindClose(search);
}

// A search names its matches when it starts and describes each as it hands it out: what was
// removed meanwhile is passed over, what is still there comes with its size as it is now.
TEST_F(FindTest, EntriesChangedDuringASearch) {
  writeHost(root_ / "Notes" / "a.stk", "1");
  writeHost(root_ / "Notes" / "b.stk", "22");
  writeHost(root_ / "Notes" / "c.stk", "333");
  WIN32_FIND_DATAW data{};
  HANDLE search = FindFirstFileW(u"\\Notes\\*.stk", &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_EQ(std::u16string(data.cFileName), u"a.stk");
  std::filesystem::remove(root_ / "Notes" / "b.stk");
  writeHost(root_ / "Notes" / "c.stk", "333333");
  ASSERT_TRUE(FindNextFileW(search, &data));
  EXPECT_EQ(std::u16string(data.cFileName), u"c.stk");
  EXPECT_EQ(data.nFileSizeLow, 6u);
  EXPECT_FALSE(FindNextFileW(search, &data));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_NO_MORE_FILES});
  EXPECT_TRUE(FindClose(search));
}

TEST_F(FindTest, SpecialFolders) {
  WCHAR path[MAX_PATH] = {};
  ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_PERSONAL, FALSE));
  EXPECT_EQ(std::u16string(path), u"\\My Documents");
  EXPECT_FALSE(std::filesystem::exists(root_ / "My Documents"));
  ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_PROGRAMS, TRUE));
  EXPECT_EQ(std::u16string(path), u"\\Windows\\Start Menu\\Programs");
  EXPECT_TRUE(std::filesystem::is_directory(root_ / "Windows" / "Start Menu" / "Programs"));
  ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_WINDOWS, TRUE));
  EXPECT_EQ(std::u16string(path), u"\\Windows");
  ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_PROGRAM_FILES, FALSE));
  EXPECT_EQ(std::u16string(path), u"\\Program Files");
  EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, path, 0x7777, FALSE));
}

TEST_F(FindTest, ListingsLeaveOutNamesNoDevicePathCanSpell) {
  for (auto name : {"plain.txt", "Caf\xc3\xa9.txt", "a:b", "why?", "tab\tname", "pipe|d",
                    "bad\xff.txt", "\xed\xa0\x80.txt"}) {
    writeHost(root_ / "Docs" / name, "");
  }
  EXPECT_EQ(find(u"\\Docs\\*"), (std::set<std::u16string>{u"plain.txt", u"Caf\u00e9.txt"}));
}
