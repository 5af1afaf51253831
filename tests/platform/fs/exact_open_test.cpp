// An exactly spelled path opens in one call, and that shortcut keeps every rule of the
// name-by-name walk: the same names are refused with the same errors even where the host has
// an entry of that spelling, no link or special file is opened, and share modes hold for a
// run of exclusive reads in one folder such as the note list makes.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "device_root_fixture.h"
#include "fs/device_path.h"

using ExactOpenTest = DeviceRootTest;

namespace {

HANDLE open(const std::u16string& path, DWORD access, DWORD share, DWORD disposition) {
  return CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

std::string error(DWORD code) { return "error " + std::to_string(code); }

// The content of a device file read through a handle that shares nothing, as the note list
// reads its headers, or "error <code>" when it does not open.
std::string readExclusively(const std::u16string& path) {
  FileHandle file(open(path, GENERIC_READ, 0, OPEN_EXISTING));
  if (!file.valid()) return error(GetLastError());
  char buffer[64];
  DWORD got = 0;
  if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return "read failed";
  return std::string(buffer, got);
}

}  // namespace

TEST_F(ExactOpenTest, RefusesWhatTheNameRulesRefuseEvenWhereTheHostHasIt) {
  writeHost(root_ / "a" / "b", "inside");
  writeHost(root_ / ".device" / "state", "private");
  writeHost(root_ / "a" / "b*", "wild");
  writeHost(root_ / "a" / "x|y", "bar");
  writeHost(root_ / "a" / "c\x01", "control");
  const struct {
    std::u16string path;
    DWORD error;
  } cases[] = {
      {u"\\a\\.\\b", ERROR_INVALID_NAME},
      {u"\\a\\..\\a\\b", ERROR_INVALID_NAME},
      {u"\\a\\b\\..", ERROR_INVALID_NAME},
      {u"\\\\a\\b", ERROR_INVALID_NAME},
      {u"\\a\\\\b", ERROR_INVALID_NAME},
      {u"\\a\\b\\\\", ERROR_INVALID_NAME},
      {u"\\a\\b*", ERROR_INVALID_NAME},
      {u"\\a\\x|y", ERROR_INVALID_NAME},
      {u"\\a\\c\x0001", ERROR_INVALID_NAME},
      {u"\\.device\\state", ERROR_ACCESS_DENIED},
      {u"/.device/state", ERROR_ACCESS_DENIED},
      {u".device\\state", ERROR_ACCESS_DENIED},
      {u"\\.Device\\state", ERROR_ACCESS_DENIED},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(readExclusively(c.path), error(c.error)) << std::string(c.path.begin(), c.path.end());
  }
  // The state folder is the root's only: below it the name is an ordinary one.
  writeHost(root_ / "a" / ".device", "ordinary");
  EXPECT_EQ(readExclusively(u"\\a\\.device"), "ordinary");
  // '/' separates too, the leading separator is optional and one trailing one is ignored.
  EXPECT_EQ(readExclusively(u"a/b/"), "inside");
}

TEST_F(ExactOpenTest, NamesBeyondAsciiOpenInTheirSpellingAndInAnyCase) {
  writeHost(root_ / "Notizen" / "\xc3\x9c" "bersicht.txt", "plan");
  writeHost(root_ / "Notizen" / "Caf\xc3\xa9.txt", "menu");
  writeHost(root_ / "Notizen" / "\xf0\x9f\x98\x80.txt", "smile");  // outside the BMP
  EXPECT_EQ(readExclusively(u"\\Notizen\\\u00dcbersicht.txt"), "plan");
  EXPECT_EQ(readExclusively(u"\\NOTIZEN\\\u00fcBERSICHT.TXT"), "plan");
  EXPECT_EQ(readExclusively(u"\\Notizen\\Caf\u00e9.txt"), "menu");  // ASCII, then not
  EXPECT_EQ(readExclusively(u"\\notizen\\CAF\u00c9.TXT"), "menu");
  EXPECT_EQ(readExclusively(u"\\Notizen\\\U0001F600.txt"), "smile");
  EXPECT_EQ(readExclusively(u"\\Notizen\\\xD83D.txt"), error(ERROR_INVALID_NAME));  // unpaired
  // Those spelled exactly open in the one call, not by the walk after it failed.
  auto root = handheld::fs::processRoot();
  ASSERT_TRUE(root);
  for (auto path : {u"\\Notizen\\\u00dcbersicht.txt", u"\\Notizen\\Caf\u00e9.txt",
                    u"\\Notizen\\\U0001F600.txt"}) {
    EXPECT_TRUE(handheld::fs::openExactly(**root, path, O_RDONLY | O_CLOEXEC).valid());
  }

  // A name holds at most 255 host bytes: 127 two-byte units fit, 128 do not; so do 255 ASCII
  // units and 256 do not.
  EXPECT_EQ(readExclusively(u"\\Notizen\\" + std::u16string(127, u'\u00e9')),
            error(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(readExclusively(u"\\Notizen\\" + std::u16string(128, u'\u00e9')),
            error(ERROR_FILENAME_EXCED_RANGE));
  EXPECT_EQ(readExclusively(u"\\" + std::u16string(255, u'n')), error(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(readExclusively(u"\\" + std::u16string(256, u'n')),
            error(ERROR_FILENAME_EXCED_RANGE));
}

TEST_F(ExactOpenTest, LinksOutOfTheRootAreRefusedOnTheWayAndAsTheLastName) {
  writeHost(outside_ / "secret", "outside");
  std::filesystem::create_directories(root_ / "a");
  std::filesystem::create_directory_symlink(outside_, root_ / "a" / "out");
  std::filesystem::create_directory_symlink("../..", root_ / "a" / "up");
  std::filesystem::create_symlink(outside_ / "secret", root_ / "a" / "last");
  for (auto path : {u"\\a\\out\\secret", u"\\A\\OUT\\SECRET", u"\\a\\up\\outside\\secret",
                    u"\\a\\last", u"\\a\\LAST"}) {
    EXPECT_EQ(readExclusively(path), error(ERROR_ACCESS_DENIED))
        << std::string(path, path + std::char_traits<char16_t>::length(path));
  }
}

TEST_F(ExactOpenTest, SpecialFilesAreRefusedWithoutWaitingWhateverTheOpen) {
  ASSERT_EQ(::mkfifo((root_ / "pipe").c_str(), 0600), 0);
  std::filesystem::create_directories(root_ / "folder");
  std::vector<std::u16string> names = {u"\\pipe", u"\\PIPE", u"\\folder", u"\\FOLDER"};
  // The zero device, where the host lets a test make one: reading it would succeed.
  if (::mknod((root_ / "zero").c_str(), S_IFCHR | 0600, makedev(1, 5)) == 0) {
    names.insert(names.end(), {u"\\zero", u"\\Zero"});
  }
  // In a child with a deadline, so that an open that waits fails the test instead of hanging.
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::alarm(10);
    int refused = 0;
    for (const auto& name : names) {
      for (DWORD access : {DWORD{GENERIC_READ}, DWORD{GENERIC_WRITE},
                           DWORD{GENERIC_READ | GENERIC_WRITE}, DWORD{0}}) {
        for (DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
          for (DWORD disposition : {OPEN_EXISTING, OPEN_ALWAYS, TRUNCATE_EXISTING}) {
            if (disposition == TRUNCATE_EXISTING && !(access & GENERIC_WRITE)) continue;
            HANDLE h = open(name, access, share, disposition);
            if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED) ++refused;
            if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
          }
        }
      }
    }
    // 4 accesses x 2 share modes x 2 dispositions, and truncation for the 2 writing accesses.
    ::_exit(refused == static_cast<int>(names.size()) * 20 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status)) << "an open waited";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "a special file opened";
  EXPECT_TRUE(std::filesystem::is_fifo(root_ / "pipe"));
}

TEST_F(ExactOpenTest, ARunOfExclusiveReadsInOneFolderMeetsAHeldFile) {
  for (char i = '0'; i <= '9'; ++i) {
    writeHost(root_ / "Notes" / (std::string("n") + i + ".stk"), std::string("note") + i);
  }
  auto note = [](char i) { return u"\\Notes\\n" + std::u16string(1, char16_t(i)) + u".stk"; };
  std::vector<std::string> seen;
  {
    FileHandle held(open(note('3'), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
    ASSERT_TRUE(held.valid());
    for (char i = '0'; i <= '9'; ++i) seen.push_back(readExclusively(note(i)));
  }
  for (char i = '0'; i <= '9'; ++i) {
    EXPECT_EQ(seen[static_cast<size_t>(i - '0')],
              i == '3' ? error(ERROR_SHARING_VIOLATION) : std::string("note") + i);
  }
  // Once let go, the held note reads too; while one read of the run holds its note, nothing
  // else reads it, not even an open that shares everything.
  EXPECT_EQ(readExclusively(note('3')), "note3");
  FileHandle exclusive(open(note('5'), GENERIC_READ, 0, OPEN_EXISTING));
  ASSERT_TRUE(exclusive.valid());
  FileHandle sharing(open(note('5'), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING));
  EXPECT_FALSE(sharing.valid());
  EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
  EXPECT_EQ(readExclusively(note('5')), error(ERROR_SHARING_VIOLATION));
}
