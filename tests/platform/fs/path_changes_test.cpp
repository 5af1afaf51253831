// Every call sees the file system as it is at that moment: names are looked up afresh (exact
// spelling first, then any case), changes made by other processes are seen at once, a folder
// swapped for a link is refused, and no open waits on another's lock or on a FIFO.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "device_root_fixture.h"

using PathChangesTest = DeviceRootTest;

namespace {

HANDLE open(LPCWSTR path, DWORD access, DWORD share, DWORD disposition) {
  return CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The content of a device file, or "error <code>" when it cannot be opened.
std::string contentOf(LPCWSTR path) {
  FileHandle file(open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
  if (!file.valid()) return "error " + std::to_string(GetLastError());
  char buffer[64];
  DWORD got = 0;
  if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return "read failed";
  return std::string(buffer, got);
}

std::string error(DWORD code) { return "error " + std::to_string(code); }

// The names a pattern finds in order, or the error when it finds none.
std::vector<std::u16string> listing(LPCWSTR pattern, DWORD* failure = nullptr) {
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW data{};
  HANDLE search = FindFirstFileW(pattern, &data);
  if (search == INVALID_HANDLE_VALUE) {
    if (failure) *failure = GetLastError();
    return names;
  }
  do {
    names.push_back(data.cFileName);
  } while (FindNextFileW(search, &data));
  FindClose(search);
  return names;
}

}  // namespace

TEST_F(PathChangesTest, ChangesByOtherProcessesAreSeenAtOnce) {
  writeHost(root_ / "Docs" / "Sub" / "a.txt", "one");
  EXPECT_EQ(contentOf(u"\\Docs\\Sub\\a.txt"), "one");

  std::filesystem::rename(root_ / "Docs" / "Sub" / "a.txt", root_ / "Docs" / "Sub" / "b.txt");
  EXPECT_EQ(contentOf(u"\\Docs\\Sub\\a.txt"), error(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(contentOf(u"\\Docs\\Sub\\b.txt"), "one");

  // The folder moves: the old path leads nowhere, the new one to the same file.
  std::filesystem::rename(root_ / "Docs" / "Sub", root_ / "Docs" / "Other");
  EXPECT_EQ(contentOf(u"\\Docs\\Sub\\b.txt"), error(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(contentOf(u"\\Docs\\Other\\b.txt"), "one");
  DWORD failure = 0;
  EXPECT_TRUE(listing(u"\\Docs\\Sub\\*", &failure).empty());
  EXPECT_EQ(failure, DWORD{ERROR_PATH_NOT_FOUND});
  EXPECT_EQ(listing(u"\\Docs\\Other\\*"), std::vector<std::u16string>{u"b.txt"});

  // A new folder of the old name is a different folder.
  writeHost(root_ / "Docs" / "Sub" / "c.txt", "two");
  EXPECT_EQ(contentOf(u"\\Docs\\Sub\\c.txt"), "two");
  EXPECT_EQ(contentOf(u"\\Docs\\Sub\\b.txt"), error(ERROR_FILE_NOT_FOUND));
  std::filesystem::remove(root_ / "Docs" / "Sub" / "c.txt");
  EXPECT_EQ(contentOf(u"\\Docs\\Sub\\c.txt"), error(ERROR_FILE_NOT_FOUND));
  failure = 0;
  EXPECT_TRUE(listing(u"\\Docs\\Sub\\*", &failure).empty());
  EXPECT_EQ(failure, DWORD{ERROR_FILE_NOT_FOUND});

  // Through the API as well, from another handle's point of view.
  FileHandle held(open(u"\\Docs\\Other\\b.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                       OPEN_EXISTING));
  ASSERT_TRUE(held.valid());
  ASSERT_TRUE(MoveFileW(u"\\Docs\\Other", u"\\Docs\\Moved"));
  EXPECT_EQ(contentOf(u"\\Docs\\Other\\b.txt"), error(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(contentOf(u"\\Docs\\Moved\\b.txt"), "one");
}

TEST_F(PathChangesTest, AFolderSwappedForALinkAfterUseIsRefused) {
  writeHost(root_ / "Docs" / "Sub" / "f", "inside");
  std::filesystem::create_directories(root_ / "Inside");
  EXPECT_EQ(contentOf(u"\\Docs\\Sub\\f"), "inside");

  // The folder leaves the root and a link to where it went takes its place.
  std::filesystem::rename(root_ / "Docs" / "Sub", outside_ / "Sub");
  std::filesystem::create_directory_symlink(outside_ / "Sub", root_ / "Docs" / "Sub");
  for (auto path : {u"\\Docs\\Sub\\f", u"\\docs\\SUB\\F"}) {
    for (DWORD disposition : {OPEN_EXISTING, OPEN_ALWAYS, CREATE_ALWAYS, TRUNCATE_EXISTING}) {
      FileHandle h(open(path, GENERIC_READ | GENERIC_WRITE, 0, disposition));
      EXPECT_FALSE(h.valid());
      EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    }
  }
  FileHandle created(open(u"\\Docs\\Sub\\new", GENERIC_WRITE, 0, CREATE_NEW));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  DWORD failure = 0;
  EXPECT_TRUE(listing(u"\\Docs\\Sub\\*", &failure).empty());
  EXPECT_EQ(failure, DWORD{ERROR_ACCESS_DENIED});
  EXPECT_EQ(GetFileAttributesW(u"\\Docs\\Sub\\f"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  EXPECT_FALSE(DeleteFileW(u"\\Docs\\Sub\\f"));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  EXPECT_EQ(readHost(outside_ / "Sub" / "f"), "inside");
  EXPECT_FALSE(std::filesystem::exists(outside_ / "Sub" / "new"));

  // A link is refused even when it leads back into the root, and as the last name.
  std::filesystem::remove(root_ / "Docs" / "Sub");
  std::filesystem::create_directory_symlink(root_ / "Inside", root_ / "Docs" / "Sub");
  EXPECT_EQ(contentOf(u"\\Docs\\Sub\\f"), error(ERROR_ACCESS_DENIED));
  std::filesystem::create_symlink(outside_ / "Sub" / "f", root_ / "Docs" / "last");
  for (DWORD disposition : {OPEN_EXISTING, CREATE_ALWAYS, TRUNCATE_EXISTING}) {
    FileHandle h(open(u"\\Docs\\last", GENERIC_READ | GENERIC_WRITE, 0, disposition));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  }
  EXPECT_EQ(readHost(outside_ / "Sub" / "f"), "inside");
}

TEST_F(PathChangesTest, ExactSpellingFirstThenAnyCase) {
  writeHost(root_ / "Docs" / "a.txt", "first");
  writeHost(root_ / "DOCS" / "a.txt", "second");
  writeHost(root_ / "Docs" / "Note.txt", "upper");
  writeHost(root_ / "Docs" / "note.txt", "lower");
  EXPECT_EQ(contentOf(u"\\Docs\\a.txt"), "first");
  EXPECT_EQ(contentOf(u"\\DOCS\\a.txt"), "second");
  EXPECT_EQ(contentOf(u"\\Docs\\A.TXT"), "first");
  const std::string anyFolder = contentOf(u"\\docs\\a.txt");
  EXPECT_TRUE(anyFolder == "first" || anyFolder == "second") << anyFolder;
  EXPECT_EQ(contentOf(u"\\Docs\\Note.txt"), "upper");
  EXPECT_EQ(contentOf(u"\\Docs\\note.txt"), "lower");
  const std::string anyFile = contentOf(u"\\Docs\\NOTE.TXT");
  EXPECT_TRUE(anyFile == "upper" || anyFile == "lower") << anyFile;

  // A name taken in another case is taken: nothing new appears on the host.
  {
    FileHandle fresh(open(u"\\Docs\\NOTE.TXT", GENERIC_WRITE, 0, CREATE_NEW));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_FILE_EXISTS});
    FileHandle existing(open(u"\\Docs\\NOTE.TXT", GENERIC_READ, 0, OPEN_ALWAYS));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ALREADY_EXISTS});
  }
  EXPECT_FALSE(std::filesystem::exists(root_ / "Docs" / "NOTE.TXT"));

  // Once the exact spelling is gone, the other case is found.
  std::filesystem::remove(root_ / "Docs" / "Note.txt");
  EXPECT_EQ(contentOf(u"\\Docs\\Note.txt"), "lower");
}

TEST_F(PathChangesTest, FindListsNamesInCaseInsensitiveOrder) {
  for (auto name : {"b", "A", "c", "B2", "a1", "\xc3\x89t\xc3\xa9", "\xc3\xa9ta"}) {
    writeHost(root_ / "Sorted" / name, "");
  }
  // Folded units in order, a shorter name before its longer ones (U+00E9 after 'c').
  EXPECT_EQ(listing(u"\\Sorted\\*"), (std::vector<std::u16string>{u"A", u"a1", u"b", u"B2", u"c",
                                                                  u"\u00e9ta", u"\u00c9t\u00e9"}));
}

TEST_F(PathChangesTest, OpensNeverWaitOnAFifoOrAHostLock) {
  ASSERT_EQ(::mkfifo((root_ / "pipe").c_str(), 0600), 0);
  writeHost(root_ / "locked", "x");
  std::filesystem::create_directories(root_ / "folder");
  // In a child with a deadline, so that an open that waits fails the test instead of hanging.
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::alarm(10);
    int hostLock = ::open((root_ / "locked").c_str(), O_RDONLY | O_CLOEXEC);
    bool ok = hostLock >= 0 && ::flock(hostLock, LOCK_EX) == 0;
    HANDLE fifo = open(u"\\pipe", GENERIC_READ, 0, OPEN_EXISTING);
    ok = ok && fifo == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED;
    HANDLE folder = open(u"\\folder", GENERIC_READ, 0, OPEN_EXISTING);
    ok = ok && folder == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED;
    for (DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ}}) {
      HANDLE locked = open(u"\\locked", GENERIC_READ, share, OPEN_EXISTING);
      ok = ok && locked == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
    }
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status)) << "an open waited";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(PathChangesTest, AnotherProcessSharingReadOnlyHoldsBothWays) {
  writeHost(root_ / "f", "keep");
  int ready[2], release[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(release), 0);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    HANDLE h = open(u"\\f", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    char byte = h != INVALID_HANDLE_VALUE ? 'y' : 'n';
    ssize_t written = ::write(ready[1], &byte, 1);
    ssize_t read = ::read(release[0], &byte, 1);
    ::_exit(written == 1 && read >= 0 ? 0 : 1);
  }
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  EXPECT_EQ(byte, 'y');
  {
    FileHandle exclusive(open(u"\\f", GENERIC_READ, 0, OPEN_EXISTING));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
    FileHandle reader(open(u"\\f", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
    EXPECT_TRUE(reader.valid());
    FileHandle writer(
        open(u"\\f", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
    EXPECT_FALSE(DeleteFileW(u"\\f"));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
    EXPECT_FALSE(MoveFileW(u"\\f", u"\\g"));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
    FileHandle query(open(u"\\f", 0, 0, OPEN_EXISTING));
    EXPECT_TRUE(query.valid());
  }
  ASSERT_EQ(::write(release[1], "x", 1), 1);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  FileHandle afterwards(open(u"\\f", GENERIC_READ, 0, OPEN_EXISTING));
  EXPECT_TRUE(afterwards.valid());
  EXPECT_EQ(readHost(root_ / "f"), "keep");
  for (int fd : {ready[0], ready[1], release[0], release[1]}) ::close(fd);
}
