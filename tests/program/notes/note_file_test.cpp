// Note files byte for byte, hand-made and damaged files, and the choice of a free name.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "notes/note_file.h"
#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

namespace Layout = NoteFileLayout;
using Bytes = std::vector<unsigned char>;

constexpr SYSTEMTIME kFifthOfMarch = {2005, 3, 6, 5, 14, 7, 30, 250};

class NoteFile : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    std::filesystem::create_directories(hostPath("Notes"));
  }
  static std::u16string devicePath(const std::string& name) {
    return u"\\Notes\\" + std::u16string(name.begin(), name.end());
  }
  Bytes hostBytes(const std::string& name) {
    std::ifstream in(hostPath("Notes/" + name), std::ios::binary);
    Bytes bytes;
    char c;
    while (in.get(c)) bytes.push_back(static_cast<unsigned char>(c));
    return bytes;
  }
  void writeHost(const std::string& name, const Bytes& bytes) {
    std::ofstream out(hostPath("Notes/" + name), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
};

unsigned word(const Bytes& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
unsigned dword(const Bytes& b, std::size_t at) { return word(b, at) | (word(b, at + 2) << 16); }
void putWord(Bytes& b, std::size_t at, unsigned v) {
  b[at] = v & 0xFF;
  b[at + 1] = (v >> 8) & 0xFF;
}
void putDword(Bytes& b, std::size_t at, unsigned v) {
  putWord(b, at, v & 0xFFFF);
  putWord(b, at + 2, v >> 16);
}

// A file as another writer of the format would make it.
Bytes handMadeFile(const std::u16string& title, unsigned hour, const Bytes& content) {
  Bytes b(Layout::kContentOffset, 0);
  const unsigned time[] = {2010, 12, 3, 1, hour, 5, 9, 0};
  for (int i = 0; i < 8; ++i) putWord(b, 2 * i, time[i]);
  for (std::size_t i = 0; i < title.size(); ++i) putWord(b, 16 + 2 * i, title[i]);
  b[526] = 1;
  putDword(b, 527, 75);
  putDword(b, 531, static_cast<unsigned>(content.size()));
  b.insert(b.end(), content.begin(), content.end());
  return b;
}

void expectSameTime(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  EXPECT_EQ(0, std::memcmp(&a, &b, sizeof a));
}

TEST_F(NoteFile, WritesEveryFieldAtItsOffset) {
  NoteRecord record;
  lstrcpyW(record.title, u"Shopping");
  record.title[20] = u'x';  // beyond the terminator: must not reach the file
  record.expiryTime = kFifthOfMarch;
  record.expired = 1;
  record.zoom = -150;
  record.content = {0xDE, 0xAD, 0xBE};
  ASSERT_TRUE(WriteNoteFile(devicePath("a.stk").c_str(), record));

  Bytes b = hostBytes("a.stk");
  ASSERT_EQ(b.size(), 538u);
  const unsigned time[] = {2005, 3, 6, 5, 14, 7, 30, 250};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(word(b, 2 * i), time[i]) << "time field " << i;
  const std::u16string title = u"Shopping";
  for (std::size_t i = 0; i < title.size(); ++i) EXPECT_EQ(word(b, 16 + 2 * i), title[i]);
  for (std::size_t at = 16 + 2 * title.size(); at < 526; ++at) EXPECT_EQ(b[at], 0) << at;
  EXPECT_EQ(b[526], 1);
  EXPECT_EQ(dword(b, 527), static_cast<unsigned>(-150));
  EXPECT_EQ(dword(b, 531), 3u);
  EXPECT_EQ(Bytes(b.begin() + 535, b.end()), (Bytes{0xDE, 0xAD, 0xBE}));
}

TEST_F(NoteFile, EmptyNoteIsTheFixedPartAndRoundTrips) {
  NoteRecord record;
  const std::u16string longest(254, u'W');
  longest.copy(record.title, longest.size());
  record.expiryTime = kFifthOfMarch;
  record.expiryTime.wHour = Layout::kNeverExpiresHour;
  ASSERT_TRUE(WriteNoteFile(devicePath("empty.stk").c_str(), record));
  EXPECT_EQ(hostBytes("empty.stk").size(), 535u);

  NoteRecord back;
  back.content = {1, 2};
  ASSERT_TRUE(ReadNoteFile(devicePath("empty.stk").c_str(), back));
  EXPECT_EQ(std::u16string(back.title), longest);
  expectSameTime(back.expiryTime, record.expiryTime);
  EXPECT_TRUE(NeverExpires(back.expiryTime));
  EXPECT_TRUE(back.content.empty());
  EXPECT_EQ(back.expired, 0);
  EXPECT_EQ(back.zoom, 200);
}

TEST_F(NoteFile, ReadsAHandMadeFileWholeAndItsHeader) {
  const std::u16string title(254, u'\u00E9');
  writeHost("made.stk", handMadeFile(title, 25, {7, 8, 9, 10}));

  NoteRecord record;
  ASSERT_TRUE(ReadNoteFile(devicePath("made.stk").c_str(), record));
  EXPECT_EQ(std::u16string(record.title), title);
  EXPECT_EQ(record.expiryTime.wYear, 2010);
  EXPECT_EQ(record.expiryTime.wMonth, 12);
  EXPECT_EQ(record.expiryTime.wDay, 1);
  EXPECT_TRUE(NeverExpires(record.expiryTime));
  EXPECT_EQ(record.expired, 1);
  EXPECT_EQ(record.zoom, 75);
  EXPECT_EQ(record.content, (std::vector<BYTE>{7, 8, 9, 10}));

  NoteHeader header;
  ASSERT_TRUE(ReadNoteHeader(devicePath("made.stk").c_str(), header));
  EXPECT_EQ(std::u16string(header.title), title);
  expectSameTime(header.expiryTime, record.expiryTime);
  EXPECT_EQ(header.expired, 1);
}

TEST_F(NoteFile, DamagedFilesAreNeverReadPastTheirEnd) {
  const Bytes whole = handMadeFile(u"Damaged", 9, {1, 2, 3, 4});
  NoteRecord stale;
  lstrcpyW(stale.title, u"before");
  NoteHeader header;

  // Shorter than the header: not listed, and the record keeps what it had.
  writeHost("short.stk", Bytes(whole.begin(), whole.begin() + 100));
  EXPECT_FALSE(ReadNoteHeader(devicePath("short.stk").c_str(), header));
  NoteRecord record = stale;
  record.content = {5};
  EXPECT_FALSE(ReadNoteFile(devicePath("short.stk").c_str(), record));
  EXPECT_EQ(std::u16string(record.title), u"before");
  EXPECT_TRUE(record.content.empty());

  // A header but no complete fixed part: listed, not opened.
  writeHost("header.stk", Bytes(whole.begin(), whole.begin() + 530));
  EXPECT_TRUE(ReadNoteHeader(devicePath("header.stk").c_str(), header));
  EXPECT_EQ(std::u16string(header.title), u"Damaged");
  record = stale;
  EXPECT_FALSE(ReadNoteFile(devicePath("header.stk").c_str(), record));
  EXPECT_EQ(std::u16string(record.title), u"before");

  // Content shorter than its length, or a length no file could hold: the fixed part with
  // an empty page.
  for (unsigned claimed : {5u, 0xFFFFFFFFu}) {
    Bytes damaged = whole;
    putDword(damaged, 531, claimed);
    writeHost("content.stk", damaged);
    record = stale;
    EXPECT_FALSE(ReadNoteFile(devicePath("content.stk").c_str(), record)) << claimed;
    EXPECT_EQ(std::u16string(record.title), u"Damaged");
    EXPECT_EQ(record.expiryTime.wHour, 9);
    EXPECT_TRUE(record.content.empty());
  }

  // A title field without a terminator ends at its 254th character.
  Bytes unterminated = whole;
  for (std::size_t at = 16; at < 526; at += 2) putWord(unterminated, at, u'z');
  writeHost("title.stk", unterminated);
  ASSERT_TRUE(ReadNoteHeader(devicePath("title.stk").c_str(), header));
  EXPECT_EQ(std::u16string(header.title), std::u16string(254, u'z'));

  EXPECT_FALSE(ReadNoteFile(devicePath("missing.stk").c_str(), record));
}

// The readers from memory are the file readers: on every length of a file, with bytes after
// its content too, they accept and refuse alike and take the same fields.
TEST_F(NoteFile, BytesInMemoryReadAsTheSameFileWould) {
  Bytes whole = handMadeFile(u"From memory", 9, {1, 2, 3, 4});
  whole.push_back(0xEE);  // after the content: never part of it
  for (std::size_t length : {0, 1, 526, 527, 534, 535, 536, 538, 539, 540}) {
    const Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
    writeHost("prefix.stk", prefix);
    NoteRecord fromFile;
    NoteRecord fromBytes;
    fromFile.content = fromBytes.content = {9};
    const bool fileRead = ReadNoteFile(devicePath("prefix.stk").c_str(), fromFile);
    EXPECT_EQ(ParseNoteFile(prefix, fromBytes), fileRead) << length;
    EXPECT_EQ(fileRead, length >= 539) << length;
    EXPECT_EQ(std::u16string(fromBytes.title), std::u16string(fromFile.title)) << length;
    EXPECT_EQ(fromBytes.zoom, fromFile.zoom) << length;
    EXPECT_EQ(fromBytes.content, fromFile.content) << length;

    NoteHeader headerFromFile;
    NoteHeader headerFromBytes;
    const bool headerRead = ReadNoteHeader(devicePath("prefix.stk").c_str(), headerFromFile);
    EXPECT_EQ(ParseNoteHeader(prefix, headerFromBytes), headerRead) << length;
    EXPECT_EQ(headerRead, length >= 527) << length;
    if (headerRead) {
      EXPECT_EQ(std::u16string(headerFromBytes.title), u"From memory") << length;
    }
  }

  NoteRecord parsed;
  ASSERT_TRUE(ParseNoteFile(whole, parsed));
  EXPECT_EQ(parsed.content, (std::vector<BYTE>{1, 2, 3, 4}));
  // What the writer puts before the content is the hand-made fixed part, byte for byte.
  const NoteFixedPart fixed = EncodeNoteFixedPart(parsed);
  EXPECT_EQ(Bytes(fixed.begin(), fixed.end()), Bytes(whole.begin(), whole.begin() + 535));
}

TEST_F(NoteFile, FreeNamesFillGapsAndNeverTakeAnExistingFile) {
  WCHAR path[MAX_PATH] = u"unchanged";
  ASSERT_TRUE(FindFreeNoteFileName(u"\\Notes", u".stk", path));
  EXPECT_EQ(std::u16string(path), u"\\Notes\\Pinnote0.stk");

  writeHost("Pinnote0.stk", {});
  writeHost("Pinnote2.stk", {});
  ASSERT_TRUE(FindFreeNoteFileName(u"\\Notes", u".stk", path));
  EXPECT_EQ(std::u16string(path), u"\\Notes\\Pinnote1.stk");

  // The last free name is the 1000th; with every one taken there is none.
  for (int n = 0; n < 999; ++n) writeHost("Pinnote" + std::to_string(n) + ".stk", {});
  ASSERT_TRUE(FindFreeNoteFileName(u"\\Notes", u".stk", path));
  EXPECT_EQ(std::u16string(path), u"\\Notes\\Pinnote999.stk");
  writeHost("Pinnote999.stk", {});
  lstrcpyW(path, u"unchanged");
  EXPECT_FALSE(FindFreeNoteFileName(u"\\Notes", u".stk", path));
  EXPECT_EQ(std::u16string(path), u"unchanged");

  // A folder so long that no name fits.
  EXPECT_FALSE(FindFreeNoteFileName(std::u16string(250, u'f').c_str(), u".stk", path));
}

}  // namespace
}  // namespace handheld::testing
