// FindResourceW, LoadResource, SizeofResource, LoadStringW on the test program's own table.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resource.h"
#include "resources/module_registry.h"
#include "test_constants.h"

namespace {

std::vector<unsigned char> readFile(const std::string& name) {
  std::ifstream in(std::string(RC_TEST_SOURCE_DIR) + "/" + name, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

std::vector<unsigned char> resourceBytes(LPCWSTR name, LPCWSTR type) {
  HRSRC found = FindResourceW(nullptr, name, type);
  if (!found) return {};
  auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(nullptr, found)));
  return std::vector<unsigned char>(data, data + SizeofResource(nullptr, found));
}

TEST(LoadString, ReadsStringsFromEveryBlock) {
  WCHAR buffer[64];
  EXPECT_EQ(LoadStringW(nullptr, IDS_APP_NAME, buffer, 64), 13);
  EXPECT_EQ(std::u16string(buffer), u"Resource Test");
  LoadStringW(GetModuleHandleW(nullptr), IDS_GREETING, buffer, 64);
  EXPECT_EQ(std::u16string(buffer), u"Hello, \"world\"\tand \"friends\"\n");
  LoadStringW(nullptr, IDS_SECOND_BLOCK, buffer, 64);
  EXPECT_EQ(std::u16string(buffer), u"Block two: \u00e9t\u00e9 \u00e9t\u00e9 \U0001F642");
  LoadStringW(nullptr, IDS_FAR, buffer, 64);
  EXPECT_EQ(std::u16string(buffer), u"Far away");
}

TEST(LoadString, TruncatesAndTerminates) {
  WCHAR buffer[6] = {u'x', u'x', u'x', u'x', u'x', u'x'};
  EXPECT_EQ(LoadStringW(nullptr, IDS_APP_NAME, buffer, 5), 4);
  EXPECT_EQ(std::u16string(buffer), u"Reso");
  EXPECT_EQ(buffer[5], u'x');
  EXPECT_EQ(LoadStringW(nullptr, IDS_APP_NAME, buffer, 1), 0);
  EXPECT_EQ(buffer[0], 0);
}

TEST(LoadString, ZeroBufferSizeGivesReadOnlyPointer) {
  LPCWSTR text = nullptr;
  int length = LoadStringW(nullptr, IDS_FAR, reinterpret_cast<LPWSTR>(&text), 0);
  ASSERT_EQ(length, 8);
  EXPECT_EQ(std::u16string(text, 8), u"Far away");
}

TEST(LoadString, MissingStringsAndBadArguments) {
  WCHAR buffer[8] = {u'x'};
  SetLastError(0);
  EXPECT_EQ(LoadStringW(nullptr, IDS_MISSING_IN_BLOCK, buffer, 8), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(LoadStringW(nullptr, 4000, buffer, 8), 0);  // no such block
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(LoadStringW(nullptr, IDS_APP_NAME, nullptr, 8), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(LoadStringW(reinterpret_cast<HINSTANCE>(0x1234), IDS_APP_NAME, buffer, 8), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(FindResource, BitmapHoldsTheFileWithoutItsFileHeader) {
  std::vector<unsigned char> file = readFile("logo.bmp");
  ASSERT_EQ(file.size(), 70u);
  std::vector<unsigned char> expected(file.begin() + 14, file.end());
  EXPECT_EQ(resourceBytes(MAKEINTRESOURCEW(IDB_LOGO), RT_BITMAP), expected);
  // A string name, in any case, and the "#number" form.
  EXPECT_EQ(resourceBytes(u"logo", RT_BITMAP), expected);
  EXPECT_EQ(resourceBytes(u"#200", RT_BITMAP), expected);
  EXPECT_EQ(resourceBytes(u"#200", u"#2"), expected);
}

TEST(FindResource, IconServesAsGroupAndImage) {
  std::vector<unsigned char> file = readFile("app.ico");
  HRSRC group = FindResourceW(nullptr, MAKEINTRESOURCEW(IDI_APP), RT_GROUP_ICON);
  HRSRC image = FindResourceW(nullptr, MAKEINTRESOURCEW(IDI_APP), RT_ICON);
  ASSERT_NE(group, nullptr);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(LoadResource(nullptr, group), LoadResource(nullptr, image));
  EXPECT_EQ(resourceBytes(MAKEINTRESOURCEW(IDI_APP), RT_GROUP_ICON), file);
}

TEST(FindResource, RawDataFromFilesAndBlocks) {
  EXPECT_EQ(resourceBytes(MAKEINTRESOURCEW(IDR_BLOB), RT_RCDATA), readFile("blob.bin"));
  std::vector<unsigned char> words = {1,    0,    0x34, 0x12, 0xFF, 0xFF, 0, 0, 1, 0,
                                      'a',  'b',  'c',  0,    0,    0,    0xF3, 0x03};
  EXPECT_EQ(resourceBytes(MAKEINTRESOURCEW(IDR_WORDS), RT_RCDATA), words);
  std::vector<unsigned char> ceux = {1, 0};
  EXPECT_EQ(resourceBytes(MAKEINTRESOURCEW(IDR_CEUX), u"ceux"), ceux);
}

TEST(FindResource, ReportsWhatIsMissing) {
  SetLastError(0);
  EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(999), RT_BITMAP), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(IDB_LOGO), RT_CURSOR), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
  EXPECT_EQ(FindResourceW(nullptr, u"#x", RT_BITMAP), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(FindResourceW(reinterpret_cast<HMODULE>(0x40), MAKEINTRESOURCEW(IDB_LOGO), RT_BITMAP),
            nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(FindResource, BadResourceHandlesFailCleanly) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(IDB_LOGO), RT_BITMAP);
  ASSERT_NE(found, nullptr);
  auto* inside = reinterpret_cast<HRSRC>(reinterpret_cast<char*>(found) + 1);
  SetLastError(0);
  EXPECT_EQ(SizeofResource(nullptr, inside), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(LoadResource(nullptr, nullptr), nullptr);
  int local = 0;
  EXPECT_EQ(LoadResource(nullptr, reinterpret_cast<HRSRC>(&local)), nullptr);
  EXPECT_EQ(LockResource(nullptr), nullptr);
  EXPECT_EQ(FreeResource(LoadResource(nullptr, found)), FALSE);
}

TEST(Module, MainModuleIsTheInstance) {
  EXPECT_EQ(GetModuleHandleW(nullptr), handheld::resources::mainModule());
  EXPECT_NE(GetModuleHandleW(nullptr), nullptr);
}

}  // namespace
