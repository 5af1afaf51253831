// LoadLibraryW of a device library: DllMain, reference counts, ordinals, the library's own
// resources, module names and file names, and the failures.
#include <windows.h>

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fs/root.h"
#include "os/image_links.h"
#include "resources/resource_access.h"

namespace {

struct DllMainCall {
  HINSTANCE instance;
  DWORD reason;
};
std::vector<DllMainCall> g_dllMainCalls;

// Set before anything asks for the main module's name.
const bool kModuleNameSet = setenv("HANDHELD_MODULE", "\\Program Files\\Tests\\Resources.exe", 1) == 0;

}  // namespace

extern "C" void rcTestRecordDllMain(HINSTANCE instance, DWORD reason) {
  g_dllMainCalls.push_back(DllMainCall{instance, reason});
}

namespace {

using TestAddFunction = int (*)(int, int);
using TestInstanceFunction = HINSTANCE (*)();

// FARPROC to the function's real type (void (*)() is the cast the compiler lets through).
template <class Function>
Function procedure(FARPROC address) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

class Modules : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/handheld-modules-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    std::filesystem::create_directories(root_ / "Windows");
    std::filesystem::create_directories(root_ / ".device");
    std::filesystem::create_symlink(RC_TEST_LIBRARY, root_ / "Windows" / "RcTest.dll");
    std::filesystem::create_symlink(RC_TEST_LIBRARY, root_ / "Windows" / "Planted.dll");
    std::ofstream(root_ / "Windows" / "Text.dll") << "not a library";
    std::filesystem::permissions(root_ / "Windows" / "Text.dll", std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    ASSERT_EQ(handheld::fs::useProcessRoot(root_), static_cast<DWORD>(ERROR_SUCCESS));
    // As the image's layout would; Planted.dll stays a link made by hand.
    auto root = handheld::fs::processRoot();
    ASSERT_TRUE(root);
    ASSERT_TRUE(handheld::os::recordImageLinks((*root)->fd(), {{"Windows/RcTest.dll", RC_TEST_LIBRARY}}));
    g_dllMainCalls.clear();
  }
  void TearDown() override {
    unsetenv("RC_TEST_REFUSE_ATTACH");
    std::filesystem::remove_all(root_);
  }

  std::filesystem::path root_;
};

TEST_F(Modules, LoadCallsDllMainAndFreeUnloadsOnTheLastReference) {
  HMODULE library = LoadLibraryW(u"\\Windows\\RcTest.dll");
  ASSERT_NE(library, nullptr);
  ASSERT_EQ(g_dllMainCalls.size(), 1u);
  EXPECT_EQ(g_dllMainCalls[0].instance, library);
  EXPECT_EQ(g_dllMainCalls[0].reason, static_cast<DWORD>(DLL_PROCESS_ATTACH));

  // Loading again, in another spelling, counts a reference and calls nothing.
  EXPECT_EQ(LoadLibraryW(u"\\windows\\rctest.DLL"), library);
  EXPECT_EQ(g_dllMainCalls.size(), 1u);
  EXPECT_TRUE(FreeLibrary(library));
  EXPECT_NE(GetProcAddressW(library, u"TestAdd"), nullptr);
  EXPECT_EQ(g_dllMainCalls.size(), 1u);

  EXPECT_TRUE(FreeLibrary(library));
  ASSERT_EQ(g_dllMainCalls.size(), 2u);
  EXPECT_EQ(g_dllMainCalls[1].reason, static_cast<DWORD>(DLL_PROCESS_DETACH));

  // The handle is stale now.
  SetLastError(0);
  EXPECT_EQ(GetProcAddressW(library, u"TestAdd"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(FindResourceW(library, MAKEINTRESOURCEW(1), RT_STRING), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(FreeLibrary(library));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(Modules, ExportsByOrdinalAndByName) {
  HMODULE library = LoadLibraryW(u"RcTest.dll");  // a bare name is looked for in \Windows
  ASSERT_NE(library, nullptr);
  auto add = procedure<TestAddFunction>(GetProcAddressW(library, MAKEINTRESOURCEW(1)));
  ASSERT_NE(add, nullptr);
  EXPECT_EQ(add(2, 3), 5);
  EXPECT_EQ(reinterpret_cast<void*>(add), reinterpret_cast<void*>(GetProcAddressW(library, u"TestAdd")));
  auto instance = procedure<TestInstanceFunction>(GetProcAddressW(library, MAKEINTRESOURCEW(2)));
  ASSERT_NE(instance, nullptr);
  EXPECT_EQ(instance(), library);
  EXPECT_NE(GetProcAddressW(library, u"TestNamedOnly"), nullptr);

  SetLastError(0);
  EXPECT_EQ(GetProcAddressW(library, MAKEINTRESOURCEW(99)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_EQ(GetProcAddressW(library, u"Missing"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  // The library's dependencies' symbols are not its exports.
  EXPECT_EQ(GetProcAddressW(library, u"GetLastError"), nullptr);
  EXPECT_EQ(GetProcAddressW(nullptr, u"TestAdd"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  FreeLibrary(library);
}

TEST_F(Modules, LibraryResourcesComeFromItsOwnTable) {
  HMODULE library = LoadLibraryW(u"\\Windows\\RcTest.dll");
  ASSERT_NE(library, nullptr);
  WCHAR buffer[32];
  EXPECT_EQ(LoadStringW(library, 1, buffer, 32), 14);
  EXPECT_EQ(std::u16string(buffer), u"Library string");
  LoadStringW(nullptr, 1, buffer, 32);
  EXPECT_EQ(std::u16string(buffer), u"Resource Test");
  auto dialog = handheld::resources::loadDialog(library, MAKEINTRESOURCEW(500));
  ASSERT_TRUE(dialog);
  ASSERT_EQ(dialog->items.size(), 1u);
  EXPECT_EQ(dialog->items[0].text.name, u"Library dialog");
  // An HRSRC of the library does not belong to the program.
  HRSRC found = FindResourceW(library, MAKEINTRESOURCEW(500), RT_DIALOG);
  ASSERT_NE(found, nullptr);
  EXPECT_NE(SizeofResource(library, found), 0u);
  EXPECT_EQ(SizeofResource(GetModuleHandleW(nullptr), found), 0u);
  FreeLibrary(library);
}

TEST_F(Modules, NamesAndFileNames) {
  HMODULE library = LoadLibraryW(u"\\Windows\\RcTest.dll");
  ASSERT_NE(library, nullptr);
  EXPECT_EQ(GetModuleHandleW(u"RcTest.dll"), library);
  EXPECT_EQ(GetModuleHandleW(u"rctest"), library);
  EXPECT_EQ(GetModuleHandleW(u"\\Windows\\RCTEST.dll"), library);
  EXPECT_EQ(GetModuleHandleW(u"Resources.exe"), GetModuleHandleW(nullptr));
  SetLastError(0);
  EXPECT_EQ(GetModuleHandleW(u"Other.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

  WCHAR name[MAX_PATH];
  EXPECT_EQ(GetModuleFileNameW(library, name, MAX_PATH), 19u);
  EXPECT_EQ(std::u16string(name), u"\\Windows\\RcTest.dll");
  FreeLibrary(library);
}

TEST_F(Modules, MainModuleFileNameAndTruncation) {
  std::u16string expected = u"\\Program Files\\Tests\\Resources.exe";
  WCHAR name[64];
  DWORD length = static_cast<DWORD>(expected.size());
  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameW(nullptr, name, 64), length);
  EXPECT_EQ(std::u16string(name), expected);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(GetModuleFileNameW(nullptr, name, length + 1), length);

  EXPECT_EQ(GetModuleFileNameW(nullptr, name, length), length);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::u16string(name), expected.substr(0, length - 1));
  EXPECT_EQ(GetModuleFileNameW(nullptr, name, 5), 5u);
  EXPECT_EQ(std::u16string(name), u"\\Pro");
  EXPECT_EQ(GetModuleFileNameW(nullptr, name, 0), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(GetModuleFileNameW(reinterpret_cast<HMODULE>(&length), name, 64), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_TRUE(kModuleNameSet);
}

TEST_F(Modules, LoadFailures) {
  SetLastError(0);
  EXPECT_EQ(LoadLibraryW(u"\\Windows\\Missing.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(LoadLibraryW(u"\\Windows\\..\\Windows\\RcTest.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(LoadLibraryW(u""), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(LoadLibraryW(u"\\Windows\\Text.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
  // A link the image did not place is never loaded, though it names a real library.
  EXPECT_EQ(LoadLibraryW(u"\\Windows\\Planted.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(g_dllMainCalls.empty());
}

TEST_F(Modules, RefusedAttachDetachesAndFails) {
  setenv("RC_TEST_REFUSE_ATTACH", "1", 1);
  SetLastError(0);
  EXPECT_EQ(LoadLibraryW(u"\\Windows\\RcTest.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DLL_INIT_FAILED));
  ASSERT_EQ(g_dllMainCalls.size(), 2u);
  EXPECT_EQ(g_dllMainCalls[1].reason, static_cast<DWORD>(DLL_PROCESS_DETACH));
  EXPECT_EQ(GetModuleHandleW(u"RcTest.dll"), nullptr);

  unsetenv("RC_TEST_REFUSE_ATTACH");
  HMODULE library = LoadLibraryW(u"\\Windows\\RcTest.dll");
  EXPECT_NE(library, nullptr);
  FreeLibrary(library);
}

}  // namespace
