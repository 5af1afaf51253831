// Mapping device paths to host entries: case, escapes, links, limits.
#include "fs/device_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "device_root_fixture.h"
#include "os/image_links.h"

namespace fs = handheld::fs;
namespace os = handheld::os;

using DevicePathTest = DeviceRootTest;

TEST_F(DevicePathTest, FindsNamesInAnyCaseAndCreatesWithTheCaseGiven) {
  writeHost(root_ / "My Documents" / "x.txt", "data");
  auto found = fs::resolve(u"\\my documents\\X.TXT", fs::Mode::Existing);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->path, root_ / "My Documents" / "x.txt");
  EXPECT_TRUE(found->exists);
  // Without a leading separator the path is from the root as well; '/' separates too.
  EXPECT_TRUE(fs::resolve(u"MY DOCUMENTS/x.txt", fs::Mode::Existing));

  FileHandle created(CreateFileW(u"\\MY DOCUMENTS\\New.Txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(created.valid());
  EXPECT_TRUE(std::filesystem::exists(root_ / "My Documents" / "New.Txt"));

  auto root = fs::resolve(u"\\", fs::Mode::Existing);
  ASSERT_TRUE(root);
  EXPECT_TRUE(root->isRoot());
}

TEST_F(DevicePathTest, RefusesEveryWayOut) {
  writeHost(root_ / "a" / "b", "data");
  const std::u16string longName(200, u'\u00e9');  // 400 bytes on the host
  const struct {
    std::u16string path;
    DWORD error;
  } cases[] = {
      {u"\\..\\..\\etc\\passwd", ERROR_INVALID_NAME},
      {u"..", ERROR_INVALID_NAME},
      {u"\\a\\..\\a\\b", ERROR_INVALID_NAME},
      {u"\\a\\.\\b", ERROR_INVALID_NAME},
      {u"\\a\\\\b", ERROR_INVALID_NAME},
      {u"\\\\server\\share", ERROR_INVALID_NAME},
      {u"\\a\\b\\\\", ERROR_INVALID_NAME},
      {u"C:\\etc", ERROR_INVALID_NAME},
      {u"\\a\\b*", ERROR_INVALID_NAME},
      {u"\\a|b", ERROR_INVALID_NAME},
      {u"\\a\x0001", ERROR_INVALID_NAME},
      {std::u16string(u"\\a\0\\..\\..", 9), ERROR_INVALID_NAME},
      {u"\\\xD800x", ERROR_INVALID_NAME},
      {u"\\.device\\socket", ERROR_ACCESS_DENIED},
      {u"\\.DEVICE", ERROR_ACCESS_DENIED},
      {u"\\a\\b\\c", ERROR_PATH_NOT_FOUND},
      {u"/etc/passwd", ERROR_PATH_NOT_FOUND},
      {u"", ERROR_PATH_NOT_FOUND},
      {u"\\" + std::u16string(MAX_PATH - 1, u'a'), ERROR_FILENAME_EXCED_RANGE},
      {u"\\" + longName, ERROR_FILENAME_EXCED_RANGE},
  };
  for (const auto& c : cases) {
    auto result = fs::resolve(c.path, fs::Mode::MayBeNew);
    ASSERT_FALSE(result) << std::string(c.path.begin(), c.path.end());
    EXPECT_EQ(result.error(), c.error) << std::string(c.path.begin(), c.path.end());
  }
  // MAX_PATH - 1 units is still a path (the terminator makes MAX_PATH).
  const std::u16string folder(128, u'a'), file(129, u'b');
  std::filesystem::create_directory(root_ / std::string(128, 'a'));
  auto longest = fs::resolve(u"\\" + folder + u"\\" + file, fs::Mode::MayBeNew);
  ASSERT_TRUE(longest);
  EXPECT_FALSE(longest->exists);
  EXPECT_TRUE(fs::splitDevicePath(u"\\a\\b\\"));  // one trailing separator is ignored
}

TEST_F(DevicePathTest, NeverFollowsLinksOnTheWay) {
  writeHost(outside_ / "secret", "outside");
  std::filesystem::create_directories(root_ / "a");
  std::filesystem::create_directory_symlink(outside_, root_ / "a" / "out");
  std::filesystem::create_symlink(outside_ / "secret", root_ / "pw");
  std::filesystem::create_directory_symlink("../../outside", root_ / "a" / "rel");

  for (auto path : {u"\\a\\out\\secret", u"\\A\\OUT\\SECRET", u"\\a\\rel\\secret"}) {
    auto result = fs::resolve(path, fs::Mode::Existing);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), DWORD{ERROR_ACCESS_DENIED});
  }
  for (DWORD disposition : {OPEN_EXISTING, CREATE_ALWAYS, OPEN_ALWAYS, TRUNCATE_EXISTING}) {
    FileHandle h(
        CreateFileW(u"\\pw", GENERIC_READ | GENERIC_WRITE, 0, nullptr, disposition, 0, nullptr));
    EXPECT_FALSE(h.valid());
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  }
  FileHandle created(
      CreateFileW(u"\\a\\out\\new", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  EXPECT_FALSE(created.valid());
  EXPECT_FALSE(DeleteFileW(u"\\pw"));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  EXPECT_FALSE(MoveFileW(u"\\pw", u"\\moved"));
  EXPECT_FALSE(SetFileAttributesW(u"\\pw", FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(readHost(outside_ / "secret"), "outside");
  EXPECT_FALSE(std::filesystem::exists(outside_ / "new"));

  // The device image's links read as read-only files.
  EXPECT_EQ(GetFileAttributesW(u"\\pw"), DWORD{FILE_ATTRIBUTE_READONLY});
}

TEST_F(DevicePathTest, ResolvesOnlyTheImagesOwnLinksToExecutables) {
  writeHost(outside_ / "shell", "#!/bin/sh\n");
  std::filesystem::permissions(outside_ / "shell", std::filesystem::perms::owner_all);
  writeHost(outside_ / "other", "#!/bin/sh\n");
  std::filesystem::permissions(outside_ / "other", std::filesystem::perms::owner_all);
  writeHost(outside_ / "data", "x");
  std::filesystem::create_directories(root_ / "Windows");
  std::filesystem::create_symlink(outside_ / "shell", root_ / "Windows" / "shell.exe");
  std::filesystem::create_symlink(outside_ / "data", root_ / "Windows" / "data.dll");
  std::filesystem::create_symlink(outside_ / "shell", root_ / "Windows" / "moved.exe");
  std::filesystem::create_symlink("/bin/sh", root_ / "Windows" / "sh.exe");
  std::filesystem::create_directory_symlink(outside_, root_ / "Linked");
  std::filesystem::create_symlink(outside_ / "shell", outside_ / "inner.exe");
  auto root = fs::processRoot();
  ASSERT_TRUE(root);
  ASSERT_TRUE(os::recordImageLinks((*root)->fd(), {{"Windows/shell.exe", (outside_ / "shell").string()},
                                                   {"Windows/data.dll", (outside_ / "data").string()},
                                                   {"Windows/moved.exe", (outside_ / "other").string()},
                                                   {"Linked/inner.exe", (outside_ / "shell").string()}}));

  auto shell = fs::resolveDeviceImage(u"\\windows\\SHELL.EXE");
  ASSERT_TRUE(shell);
  EXPECT_EQ(*shell, std::filesystem::canonical(outside_ / "shell"));
  EXPECT_EQ(fs::resolveDeviceImage(u"\\Windows\\data.dll").error(), DWORD{ERROR_FILE_NOT_FOUND});  // not executable
  EXPECT_EQ(fs::resolveDeviceImage(u"\\Linked\\inner.exe").error(), DWORD{ERROR_ACCESS_DENIED});  // a link on the way
  EXPECT_EQ(fs::resolveDeviceImage(u"\\Windows").error(), DWORD{ERROR_FILE_NOT_FOUND});
  EXPECT_EQ(fs::resolveDeviceImage(u"\\Windows\\missing.exe").error(), DWORD{ERROR_FILE_NOT_FOUND});
  // Planted by hand, or pointed elsewhere than the image put it: refused as links.
  EXPECT_EQ(fs::resolveDeviceImage(u"\\Windows\\sh.exe").error(), DWORD{ERROR_ACCESS_DENIED});
  EXPECT_EQ(fs::resolveDeviceImage(u"\\Windows\\moved.exe").error(), DWORD{ERROR_ACCESS_DENIED});

  // Recording again drops the record of a link that now names another target.
  std::filesystem::remove(root_ / "Windows" / "shell.exe");
  std::filesystem::create_symlink("/bin/sh", root_ / "Windows" / "shell.exe");
  ASSERT_TRUE(os::recordImageLinks((*root)->fd(), {}));
  std::filesystem::remove(root_ / "Windows" / "shell.exe");
  std::filesystem::create_symlink(outside_ / "shell", root_ / "Windows" / "shell.exe");
  EXPECT_EQ(fs::resolveDeviceImage(u"\\Windows\\shell.exe").error(), DWORD{ERROR_ACCESS_DENIED});

  // A record that is a link itself is no record.
  std::filesystem::rename(root_ / ".device" / "image-links", outside_ / "record");
  std::filesystem::create_symlink(outside_ / "record", root_ / ".device" / "image-links");
  writeHost(outside_ / "record", "Windows/sh.exe\t/bin/sh\n");
  EXPECT_EQ(fs::resolveDeviceImage(u"\\Windows\\sh.exe").error(), DWORD{ERROR_ACCESS_DENIED});
}
