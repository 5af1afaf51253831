// The file APIs: creation dispositions, sharing, data, times, folders, attributes.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "device_root_fixture.h"

using FileApiTest = DeviceRootTest;

namespace {

HANDLE open(LPCWSTR path, DWORD access, DWORD share, DWORD disposition) {
  return CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string readAll(HANDLE file) {
  char buffer[256];
  DWORD got = 0;
  EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &got, nullptr));
  return std::string(buffer, got);
}

bool writeAll(HANDLE file, const std::string& data) {
  DWORD put = 0;
  return WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &put, nullptr) &&
         put == data.size();
}

uint64_t ticks(const FILETIME& t) { return (uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime; }

}  // namespace

TEST_F(FileApiTest, EveryCreationDisposition) {
  const std::filesystem::path host = root_ / "f.txt";
  const struct {
    DWORD disposition;
    bool exists;
    DWORD access;
    bool opens;
    DWORD lastError;
    const char* contentAfter;  // nullptr: no file
  } cases[] = {
      {CREATE_NEW, false, GENERIC_WRITE, true, ERROR_SUCCESS, ""},
      {CREATE_NEW, true, GENERIC_WRITE, false, ERROR_FILE_EXISTS, "old"},
      {CREATE_ALWAYS, false, GENERIC_WRITE, true, ERROR_SUCCESS, ""},
      {CREATE_ALWAYS, true, GENERIC_READ, true, ERROR_ALREADY_EXISTS, ""},
      {OPEN_EXISTING, false, GENERIC_READ, false, ERROR_FILE_NOT_FOUND, nullptr},
      {OPEN_EXISTING, true, GENERIC_READ, true, ERROR_SUCCESS, "old"},
      {OPEN_ALWAYS, false, GENERIC_READ, true, ERROR_SUCCESS, ""},
      {OPEN_ALWAYS, true, GENERIC_READ, true, ERROR_ALREADY_EXISTS, "old"},
      {TRUNCATE_EXISTING, false, GENERIC_WRITE, false, ERROR_FILE_NOT_FOUND, nullptr},
      {TRUNCATE_EXISTING, true, GENERIC_WRITE, true, ERROR_SUCCESS, ""},
      {TRUNCATE_EXISTING, true, GENERIC_READ, false, ERROR_INVALID_PARAMETER, "old"},
      {0, true, GENERIC_READ, false, ERROR_INVALID_PARAMETER, "old"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "disposition " << c.disposition << " exists " << c.exists);
    std::filesystem::remove(host);
    if (c.exists) writeHost(host, "old");
    {
      FileHandle h(open(u"\\f.txt", c.access, 0, c.disposition));
      EXPECT_EQ(h.valid(), c.opens);
      EXPECT_EQ(GetLastError(), c.lastError);
    }
    EXPECT_EQ(std::filesystem::exists(host), c.contentAfter != nullptr);
    if (c.contentAfter) {
      EXPECT_EQ(readHost(host), c.contentAfter);
    }
  }
  FileHandle inMissingFolder(open(u"\\nowhere\\f.txt", GENERIC_WRITE, 0, CREATE_ALWAYS));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_PATH_NOT_FOUND});
  FileHandle folder(open(u"\\", GENERIC_READ, 0, OPEN_EXISTING));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});

  // What the device creates is private to the user.
  std::filesystem::remove(host);
  FileHandle created(open(u"\\f.txt", GENERIC_WRITE, 0, CREATE_NEW));
  struct stat st {};
  ASSERT_EQ(::stat(host.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ASSERT_EQ(::stat(root_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(FileApiTest, ShareModesHoldWithinAndAcrossProcesses) {
  writeHost(root_ / "f", "keep");
  {
    FileHandle exclusive(open(u"\\f", GENERIC_READ, 0, OPEN_EXISTING));
    ASSERT_TRUE(exclusive.valid());
    FileHandle second(open(u"\\F", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
    EXPECT_FALSE(second.valid());
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
    // Overwriting is refused before anything is truncated.
    FileHandle overwrite(open(u"\\f", GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
    EXPECT_EQ(readHost(root_ / "f"), "keep");
    EXPECT_FALSE(DeleteFileW(u"\\f"));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
  }
  {
    FileHandle reader(open(u"\\f", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
    FileHandle otherReader(open(u"\\f", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
    EXPECT_TRUE(otherReader.valid());
    FileHandle writer(open(u"\\f", GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
    // An open that denies reading conflicts with the readers already there.
    FileHandle denier(open(u"\\f", GENERIC_READ, FILE_SHARE_WRITE, OPEN_EXISTING));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
    FileHandle query(open(u"\\f", 0, 0, OPEN_EXISTING));
    EXPECT_TRUE(query.valid());  // no data access: attributes only, outside sharing
  }
  {
    FileHandle deletable(open(u"\\f", GENERIC_READ, FILE_SHARE_DELETE, OPEN_EXISTING));
    EXPECT_TRUE(MoveFileW(u"\\f", u"\\g"));
    EXPECT_TRUE(MoveFileW(u"\\g", u"\\f"));
  }

  // Another process holds the file exclusively until told to let go.
  int ready[2], release[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(release), 0);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    HANDLE h = open(u"\\f", GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
    char byte = h != INVALID_HANDLE_VALUE ? 'y' : 'n';
    ssize_t written = ::write(ready[1], &byte, 1);
    ssize_t read = ::read(release[0], &byte, 1);
    ::_exit(written == 1 && read >= 0 ? 0 : 1);
  }
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  EXPECT_EQ(byte, 'y');
  {
    FileHandle blocked(
        open(u"\\f", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
  }
  ASSERT_EQ(::write(release[1], "x", 1), 1);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  FileHandle afterwards(open(u"\\f", GENERIC_READ, 0, OPEN_EXISTING));
  EXPECT_TRUE(afterwards.valid());
  for (int fd : {ready[0], ready[1], release[0], release[1]}) ::close(fd);
}

TEST_F(FileApiTest, ReadWriteSeekAndSize) {
  FileHandle file(open(u"\\data", GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW));
  ASSERT_TRUE(file.valid());
  ASSERT_TRUE(writeAll(file.get(), "hello world"));
  EXPECT_EQ(GetFileSize(file.get(), nullptr), 11u);

  EXPECT_EQ(SetFilePointer(file.get(), 6, nullptr, FILE_BEGIN), 6u);
  EXPECT_EQ(readAll(file.get()), "world");  // short read at the end succeeds
  EXPECT_EQ(readAll(file.get()), "");
  EXPECT_EQ(SetFilePointer(file.get(), -5, nullptr, FILE_END), 6u);
  EXPECT_EQ(SetFilePointer(file.get(), -1, nullptr, FILE_CURRENT), 5u);
  EXPECT_EQ(SetFilePointer(file.get(), -6, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_NEGATIVE_SEEK});
  EXPECT_EQ(SetFilePointer(file.get(), 0, nullptr, FILE_CURRENT), 5u);  // not moved
  EXPECT_EQ(SetFilePointer(file.get(), 0, nullptr, 7), INVALID_SET_FILE_POINTER);

  LONG high = 1;  // 4 GiB + 2, past the end: allowed, nothing written
  EXPECT_EQ(SetFilePointer(file.get(), 2, &high, FILE_BEGIN), 2u);
  EXPECT_EQ(high, 1);
  high = -1;  // with the high part the distance is 64-bit: -2
  EXPECT_EQ(SetFilePointer(file.get(), -2, &high, FILE_CURRENT), 0u);
  EXPECT_EQ(high, 1);

  EXPECT_EQ(SetFilePointer(file.get(), 5, nullptr, FILE_BEGIN), 5u);
  EXPECT_TRUE(SetEndOfFile(file.get()));
  DWORD sizeHigh = 7;
  EXPECT_EQ(GetFileSize(file.get(), &sizeHigh), 5u);
  EXPECT_EQ(sizeHigh, 0u);
  EXPECT_TRUE(FlushFileBuffers(file.get()));
  EXPECT_EQ(readHost(root_ / "data"), "hello");

  FileHandle readOnly(
      open(u"\\data", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});  // `file` shares nothing

  HANDLE bogus = reinterpret_cast<HANDLE>(0x12345);
  DWORD count = 0;
  EXPECT_FALSE(ReadFile(bogus, &count, 1, &count, nullptr));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
}

TEST_F(FileApiTest, AccessIsCheckedPerHandle) {
  FileHandle writer(open(u"\\w", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, CREATE_NEW));
  char byte = 'x';
  DWORD count = 9;
  EXPECT_FALSE(ReadFile(writer.get(), &byte, 1, &count, nullptr));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  EXPECT_EQ(count, 0u);
  FileHandle reader(open(u"\\w", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
  EXPECT_FALSE(WriteFile(reader.get(), &byte, 1, &count, nullptr));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  EXPECT_FALSE(SetEndOfFile(reader.get()));
}

TEST_F(FileApiTest, CreateAlwaysKeepsTheCreationTime) {
  FILETIME created{}, written{};
  {
    FileHandle first(open(u"\\note.stk", GENERIC_WRITE, 0, CREATE_NEW));
    ASSERT_TRUE(writeAll(first.get(), "first version"));
    ASSERT_TRUE(GetFileTime(first.get(), &created, nullptr, &written));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  FileHandle again(open(u"\\NOTE.STK", GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS));
  ASSERT_TRUE(again.valid());
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ALREADY_EXISTS});
  ASSERT_TRUE(writeAll(again.get(), "2"));
  BY_HANDLE_FILE_INFORMATION info{};
  ASSERT_TRUE(GetFileInformationByHandle(again.get(), &info));
  EXPECT_EQ(ticks(info.ftCreationTime), ticks(created));
  EXPECT_GT(ticks(info.ftLastWriteTime), ticks(written));
  EXPECT_EQ(info.nFileSizeLow, 1u);
  EXPECT_EQ(info.dwFileAttributes, DWORD{FILE_ATTRIBUTE_NORMAL});
  // Host time, 100 ns since 1601: within a minute of now.
  auto now = std::chrono::system_clock::now().time_since_epoch();
  uint64_t nowTicks = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() / 100 +
                      116444736000000000ull;
  EXPECT_LT(nowTicks - ticks(created), 600'000'000ull);
}

TEST_F(FileApiTest, FoldersAndTheirErrors) {
  EXPECT_TRUE(CreateDirectoryW(u"\\My Documents", nullptr));
  EXPECT_FALSE(CreateDirectoryW(u"\\my documents", nullptr));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ALREADY_EXISTS});
  EXPECT_FALSE(CreateDirectoryW(u"\\missing\\sub", nullptr));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_PATH_NOT_FOUND});
  EXPECT_TRUE(CreateDirectoryW(u"\\My Documents\\Sub", nullptr));
  struct stat st {};
  ASSERT_EQ(::stat((root_ / "My Documents" / "Sub").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  writeHost(root_ / "My Documents" / "Sub" / "f", "x");

  EXPECT_FALSE(RemoveDirectoryW(u"\\My Documents\\sub"));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_DIR_NOT_EMPTY});
  EXPECT_FALSE(RemoveDirectoryW(u"\\My Documents\\sub\\F"));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_DIRECTORY});
  EXPECT_FALSE(DeleteFileW(u"\\My Documents\\sub"));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  EXPECT_TRUE(DeleteFileW(u"\\My Documents\\sub\\F"));
  EXPECT_FALSE(DeleteFileW(u"\\My Documents\\sub\\F"));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_FILE_NOT_FOUND});
  EXPECT_TRUE(RemoveDirectoryW(u"\\My Documents\\sub"));
  EXPECT_FALSE(RemoveDirectoryW(u"\\"));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  EXPECT_TRUE(std::filesystem::exists(root_ / ".device"));
}

TEST_F(FileApiTest, MoveAndCopy) {
  writeHost(root_ / "a.txt", "alpha");
  writeHost(root_ / "b.txt", "beta");
  EXPECT_FALSE(MoveFileW(u"\\a.txt", u"\\B.TXT"));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ALREADY_EXISTS});
  EXPECT_TRUE(MoveFileW(u"\\a.txt", u"\\A.Txt"));  // a change of case only
  EXPECT_TRUE(std::filesystem::exists(root_ / "A.Txt"));
  EXPECT_FALSE(std::filesystem::exists(root_ / "a.txt"));
  EXPECT_FALSE(MoveFileW(u"\\missing", u"\\x"));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_FILE_NOT_FOUND});

  EXPECT_FALSE(CopyFileW(u"\\a.txt", u"\\b.txt", TRUE));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_FILE_EXISTS});
  EXPECT_TRUE(CopyFileW(u"\\a.txt", u"\\b.txt", FALSE));
  EXPECT_EQ(readHost(root_ / "b.txt"), "alpha");
  EXPECT_FALSE(CopyFileW(u"\\a.txt", u"\\A.TXT", FALSE));  // onto itself: never truncated
  EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
  EXPECT_EQ(readHost(root_ / "A.Txt"), "alpha");
  CreateDirectoryW(u"\\d", nullptr);
  EXPECT_TRUE(MoveFileW(u"\\b.txt", u"\\D\\moved.txt"));
  EXPECT_EQ(readHost(root_ / "d" / "moved.txt"), "alpha");
}

// Replacing a file is one step: a reader always finds the old file or the new one.
TEST_F(FileApiTest, MoveExReplacesAFileInOneStep) {
  EXPECT_EQ(MOVEFILE_REPLACE_EXISTING, 0x1);
  EXPECT_EQ(MOVEFILE_COPY_ALLOWED, 0x2);
  EXPECT_EQ(MOVEFILE_DELAY_UNTIL_REBOOT, 0x4);
  EXPECT_EQ(MOVEFILE_WRITE_THROUGH, 0x8);

  writeHost(root_ / "note.new", "new");
  writeHost(root_ / "note.stk", "old");
  EXPECT_FALSE(MoveFileExW(u"\\note.new", u"\\NOTE.STK", 0));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ALREADY_EXISTS});
  EXPECT_FALSE(MoveFileExW(u"\\note.new", u"\\note.stk", MOVEFILE_DELAY_UNTIL_REBOOT));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
  // Another spelling of the target replaces the file that is there, under its own name.
  EXPECT_TRUE(MoveFileExW(u"\\note.new", u"\\NOTE.STK",
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH | MOVEFILE_COPY_ALLOWED));
  EXPECT_EQ(readHost(root_ / "note.stk"), "new");
  EXPECT_FALSE(std::filesystem::exists(root_ / "NOTE.STK"));
  EXPECT_FALSE(std::filesystem::exists(root_ / "note.new"));

  // Never onto a folder, from a folder onto a file, or onto a read-only file.
  CreateDirectoryW(u"\\folder", nullptr);
  writeHost(root_ / "side", "side");
  EXPECT_FALSE(MoveFileExW(u"\\side", u"\\folder", MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  EXPECT_FALSE(MoveFileExW(u"\\folder", u"\\note.stk", MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  ASSERT_TRUE(SetFileAttributesW(u"\\note.stk", FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(MoveFileExW(u"\\side", u"\\note.stk", MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  ASSERT_TRUE(SetFileAttributesW(u"\\note.stk", FILE_ATTRIBUTE_NORMAL));
  {
    // An open that does not share deletion keeps its file.
    FileHandle reader(open(u"\\note.stk", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
    EXPECT_FALSE(MoveFileExW(u"\\side", u"\\note.stk", MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
  }
  EXPECT_EQ(readHost(root_ / "note.stk"), "new");
  EXPECT_EQ(readHost(root_ / "side"), "side");

  // Readers during a run of replacements never miss the file.
  std::atomic<bool> done = false;
  std::atomic<int> misses = 0;
  std::thread reader([&] {
    while (!done) {
      HANDLE file = open(u"\\note.stk", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         OPEN_EXISTING);
      if (file == INVALID_HANDLE_VALUE) {
        ++misses;
      } else {
        CloseHandle(file);
      }
    }
  });
  for (int round = 0; round < 200; ++round) {
    writeHost(root_ / "note.tmp", std::to_string(round));
    ASSERT_TRUE(MoveFileExW(u"\\note.tmp", u"\\note.stk", MOVEFILE_REPLACE_EXISTING)) << round;
  }
  done = true;
  reader.join();
  EXPECT_EQ(misses.load(), 0);
  EXPECT_EQ(readHost(root_ / "note.stk"), "199");
}

TEST_F(FileApiTest, Attributes) {
  writeHost(root_ / "f", "x");
  CreateDirectoryW(u"\\dir", nullptr);
  EXPECT_EQ(GetFileAttributesW(u"\\F"), DWORD{FILE_ATTRIBUTE_NORMAL});
  EXPECT_EQ(GetFileAttributesW(u"\\DIR"), DWORD{FILE_ATTRIBUTE_DIRECTORY});
  EXPECT_EQ(GetFileAttributesW(u"\\"), DWORD{FILE_ATTRIBUTE_DIRECTORY});
  EXPECT_EQ(GetFileAttributesW(u"\\nothing"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_FILE_NOT_FOUND});
  EXPECT_EQ(GetFileAttributesW(u"\\nothing\\f"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_PATH_NOT_FOUND});
  EXPECT_EQ(GetFileAttributesW(u"\\.device"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});

  ASSERT_TRUE(SetFileAttributesW(u"\\f", FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(GetFileAttributesW(u"\\f"), DWORD{FILE_ATTRIBUTE_READONLY});
  // Read-only holds even for a process that the host would let write (root).
  FileHandle writer(open(u"\\f", GENERIC_WRITE, 0, OPEN_EXISTING));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  EXPECT_FALSE(DeleteFileW(u"\\f"));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  EXPECT_TRUE(CopyFileW(u"\\f", u"\\copy", TRUE));
  EXPECT_EQ(GetFileAttributesW(u"\\copy"), DWORD{FILE_ATTRIBUTE_READONLY});
  ASSERT_TRUE(SetFileAttributesW(u"\\f", FILE_ATTRIBUTE_NORMAL));
  EXPECT_TRUE(DeleteFileW(u"\\f"));
  EXPECT_FALSE(SetFileAttributesW(u"\\dir", 0x40000));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
}
