// The clipboard across processes: data that outlives its process, the owner, one opener at a
// time, the blocks the clipboard takes and gives, the limits, and format numbers.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

constexpr DWORD kAccessDenied = 5;
constexpr DWORD kInvalidHandle = 6;
constexpr DWORD kInvalidParameter = 87;
constexpr DWORD kInvalidWindowHandle = 1400;
constexpr DWORD kClipboardNotOpen = 1418;
constexpr DWORD kNotEnoughQuota = 1816;
constexpr UINT kUnicodeText = 13;

HLOCAL blockOf(const void* data, size_t size) {
  HLOCAL memory = LocalAlloc(0, size);
  if (memory && size) std::memcpy(memory, data, size);
  return memory;
}

HLOCAL textBlock(const std::u16string& text) { return blockOf(text.c_str(), (text.size() + 1) * sizeof(WCHAR)); }

LRESULT CALLBACK plainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

class Clipboard : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    probe_ = installTestProgram("clipboard_probe.exe");
  }
  uint32_t runProbe(const std::u16string& arguments) { return run(probe_, arguments); }
  // Waits for a named event the probe sets.
  static bool waitFor(const char16_t* name) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, name);
    bool set = WaitForSingleObject(event, 10000) == WAIT_OBJECT_0;
    CloseHandle(event);
    return set;
  }
  static void signal(const char16_t* name) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, name);
    SetEvent(event);
    CloseHandle(event);
  }
  static HWND window() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = plainProc;
    wc.lpszClassName = u"ClipboardTestWindow";
    RegisterClassW(&wc);
    return CreateWindowExW(0, u"ClipboardTestWindow", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                           nullptr);
  }

  std::u16string probe_;
};

TEST_F(Clipboard, DataOutlivesTheProcessThatPutItAndAnotherReadsIt) {
  const std::u16string text = u"Gr\u00FC\u00DFe-vom-Probe";
  ASSERT_EQ(waitExit(runProbe(u"put " + text + u" Pinnotes.Note")), 0u);

  const UINT format = RegisterClipboardFormatW(u"PINNOTES.NOTE");  // names ignore case
  EXPECT_TRUE(IsClipboardFormatAvailable(kUnicodeText));
  EXPECT_TRUE(IsClipboardFormatAvailable(format));
  EXPECT_FALSE(IsClipboardFormatAvailable(1));
  EXPECT_EQ(CountClipboardFormats(), 2);
  EXPECT_EQ(GetClipboardOwner(), nullptr);  // the owner window went with its process

  EXPECT_EQ(GetClipboardData(kUnicodeText), nullptr);  // not open
  EXPECT_EQ(GetLastError(), kClipboardNotOpen);
  EXPECT_EQ(EnumClipboardFormats(0), 0u);
  EXPECT_EQ(GetLastError(), kClipboardNotOpen);

  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(EnumClipboardFormats(0), kUnicodeText);  // in the order they were put
  EXPECT_EQ(EnumClipboardFormats(kUnicodeText), format);
  SetLastError(1);
  EXPECT_EQ(EnumClipboardFormats(format), 0u);
  EXPECT_EQ(GetLastError(), 0u);

  HANDLE got = GetClipboardData(kUnicodeText);
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::u16string(static_cast<const WCHAR*>(got)), text);
  EXPECT_EQ(LocalSize(got), (text.size() + 1) * 2);
  EXPECT_EQ(GetClipboardData(kUnicodeText), got);  // the clipboard keeps one per format
  HANDLE record = GetClipboardData(format);
  ASSERT_NE(record, nullptr);
  ASSERT_EQ(LocalSize(record), 5u);
  const auto* bytes = static_cast<const unsigned char*>(record);
  EXPECT_EQ(std::vector<unsigned char>(bytes, bytes + 5), (std::vector<unsigned char>{1, 2, 3, 0, 5}));
  EXPECT_EQ(GetClipboardData(14), nullptr);

  // Closing frees what it gave: the handles are no blocks any more.
  ASSERT_TRUE(CloseClipboard());
  EXPECT_EQ(LocalSize(got), 0u);
  EXPECT_EQ(GetLastError(), kInvalidHandle);
  EXPECT_TRUE(IsClipboardFormatAvailable(kUnicodeText));  // the data stays
}

TEST_F(Clipboard, TheOwnerIsReportedWhileItsProcessRuns) {
  uint32_t pid = runProbe(u"put Owned Pinnotes.Note OwnerReady OwnerDone");
  ASSERT_TRUE(waitFor(u"OwnerReady"));
  HWND probeWindow = FindWindowW(u"ClipProbe", nullptr);
  ASSERT_NE(probeWindow, nullptr);
  EXPECT_EQ(GetClipboardOwner(), probeWindow);
  signal(u"OwnerDone");
  ASSERT_EQ(waitExit(pid), 0u);
  EXPECT_EQ(GetClipboardOwner(), nullptr);
  EXPECT_EQ(CountClipboardFormats(), 2);

  // EmptyClipboard makes the opener's window the owner.
  HWND mine = window();
  ASSERT_NE(mine, nullptr);
  ASSERT_TRUE(OpenClipboard(mine));
  EXPECT_EQ(GetClipboardOwner(), nullptr);  // not before it empties
  ASSERT_TRUE(EmptyClipboard());
  EXPECT_EQ(GetClipboardOwner(), mine);
  EXPECT_EQ(CountClipboardFormats(), 0);
  EXPECT_TRUE(CloseClipboard());
  DestroyWindow(mine);
}

TEST_F(Clipboard, OneThreadHasItOpenAndAHolderThatEndsReleasesIt) {
  uint32_t pid = runProbe(u"hold HoldReady HoldDone");
  ASSERT_TRUE(waitFor(u"HoldReady"));
  EXPECT_FALSE(OpenClipboard(nullptr));
  EXPECT_EQ(GetLastError(), kAccessDenied);
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_EQ(GetLastError(), kClipboardNotOpen);
  EXPECT_FALSE(CloseClipboard());
  EXPECT_EQ(GetLastError(), kClipboardNotOpen);
  HLOCAL text = textBlock(u"refused");
  EXPECT_EQ(SetClipboardData(kUnicodeText, text), nullptr);
  EXPECT_EQ(GetLastError(), kClipboardNotOpen);
  EXPECT_EQ(LocalSize(text), 16u);  // still the caller's
  LocalFree(text);

  signal(u"HoldDone");
  ASSERT_EQ(waitExit(pid), 0u);  // ended without closing it
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_TRUE(OpenClipboard(nullptr));  // the holder may open it again
  BOOL otherThread = TRUE;
  DWORD otherError = 0;
  std::thread([&] {
    otherThread = OpenClipboard(nullptr);
    otherError = GetLastError();
  }).join();
  EXPECT_FALSE(otherThread);
  EXPECT_EQ(otherError, kAccessDenied);
  EXPECT_TRUE(CloseClipboard());
  EXPECT_FALSE(CloseClipboard());
  EXPECT_EQ(GetLastError(), kClipboardNotOpen);

  SetLastError(0);
  EXPECT_FALSE(OpenClipboard(reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7FF00005))));
  EXPECT_EQ(GetLastError(), kInvalidWindowHandle);
}

TEST_F(Clipboard, SetTakesTheBlockAndRefusesWhatIsNoBlock) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(EmptyClipboard());
  HLOCAL text = textBlock(u"abc");
  EXPECT_EQ(SetClipboardData(kUnicodeText, text), text);
  HLOCAL replaced = textBlock(u"abcd");
  EXPECT_EQ(SetClipboardData(kUnicodeText, replaced), replaced);
  EXPECT_EQ(CountClipboardFormats(), 1);

  WCHAR onStack[4] = u"abc";
  EXPECT_EQ(SetClipboardData(kUnicodeText, onStack), nullptr);
  EXPECT_EQ(GetLastError(), kInvalidHandle);
  HLOCAL spare = textBlock(u"x");
  EXPECT_EQ(SetClipboardData(0, spare), nullptr);
  EXPECT_EQ(GetLastError(), kInvalidParameter);
  EXPECT_EQ(SetClipboardData(kUnicodeText, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), kInvalidParameter);
  LocalFree(spare);

  HANDLE got = GetClipboardData(kUnicodeText);
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::u16string(static_cast<const WCHAR*>(got)), u"abcd");
  ASSERT_TRUE(CloseClipboard());
  // The clipboard freed both blocks it was given.
  EXPECT_EQ(LocalSize(text), 0u);
  EXPECT_EQ(LocalSize(replaced), 0u);
}

// A format without a terminator still reads as text that ends: the block GetClipboardData
// makes has zeros behind it.
TEST_F(Clipboard, UnterminatedTextEndsAtTheBlock) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(EmptyClipboard());
  const char16_t bare[3] = {u'a', u'b', u'c'};
  ASSERT_NE(SetClipboardData(kUnicodeText, blockOf(bare, sizeof bare)), nullptr);
  HANDLE got = GetClipboardData(kUnicodeText);
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(LocalSize(got), 6u);
  EXPECT_EQ(std::u16string(static_cast<const WCHAR*>(got)), u"abc");
  EXPECT_TRUE(CloseClipboard());
}

TEST_F(Clipboard, DataBeyondTheLimitsIsRefused) {
  constexpr size_t kMiB = 1 << 20;
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(EmptyClipboard());
  HLOCAL tooBig = LocalAlloc(LPTR, kMiB + 1);
  EXPECT_EQ(SetClipboardData(kUnicodeText, tooBig), nullptr);
  EXPECT_EQ(GetLastError(), kNotEnoughQuota);
  EXPECT_EQ(LocalSize(tooBig), kMiB + 1);  // refused blocks stay the caller's
  LocalFree(tooBig);

  // 4 MiB in all: four full formats fit, a fifth byte does not; a smaller replacement does.
  for (UINT format = 0xC100; format < 0xC104; ++format)
    ASSERT_NE(SetClipboardData(format, LocalAlloc(LPTR, kMiB)), nullptr) << format;
  HLOCAL oneByte = LocalAlloc(LPTR, 1);
  EXPECT_EQ(SetClipboardData(0xC104, oneByte), nullptr);
  EXPECT_EQ(GetLastError(), kNotEnoughQuota);
  EXPECT_NE(SetClipboardData(0xC100, LocalAlloc(LPTR, kMiB - 1)), nullptr);
  EXPECT_EQ(SetClipboardData(0xC104, oneByte), oneByte);

  // 64 formats at most.
  ASSERT_TRUE(EmptyClipboard());
  for (UINT format = 0xC200; format < 0xC240; ++format)
    ASSERT_NE(SetClipboardData(format, LocalAlloc(LPTR, 1)), nullptr) << format;
  HLOCAL sixtyFifth = LocalAlloc(LPTR, 1);
  EXPECT_EQ(SetClipboardData(0xC240, sixtyFifth), nullptr);
  EXPECT_EQ(GetLastError(), kNotEnoughQuota);
  LocalFree(sixtyFifth);
  EXPECT_EQ(CountClipboardFormats(), 64);
  ASSERT_TRUE(EmptyClipboard());
  ASSERT_TRUE(CloseClipboard());

  // The server holds to the limits whatever a client sends it.
  auto& raw = device();
  ASSERT_EQ(raw.call<ipc::ClipboardOpen>({1, 0})->error, 0u);
  EXPECT_EQ(raw.call<ipc::ClipboardPut>({1, kUnicodeText, ipc::Bytes(kMiB + 1)})->error, kNotEnoughQuota);
  EXPECT_EQ(raw.call<ipc::ClipboardPut>({1, 0x10000, ipc::Bytes(1)})->error, kInvalidParameter);
  EXPECT_EQ(raw.call<ipc::ClipboardPut>({2, kUnicodeText, ipc::Bytes(1)})->error, kClipboardNotOpen);
  EXPECT_EQ(raw.call<ipc::ClipboardOpen>({1, 0x00100001})->error, kInvalidWindowHandle);
  EXPECT_EQ(raw.call<ipc::ClipboardClose>({1})->error, 0u);
  EXPECT_EQ(CountClipboardFormats(), 0);
}

TEST_F(Clipboard, RegisteredFormatsAreTheSameInEveryProcess) {
  const UINT mine = RegisterClipboardFormatW(u"Pinnotes.NoteRecord");
  EXPECT_GE(mine, 0xC000u);
  EXPECT_LE(mine, 0xFFFFu);
  EXPECT_EQ(RegisterClipboardFormatW(u"pinnotes.noterecord"), mine);
  EXPECT_EQ(waitExit(runProbe(u"register PINNOTES.NOTERECORD")), mine);
  const UINT other = RegisterClipboardFormatW(u"Pinnotes.Other");
  EXPECT_NE(other, mine);
  EXPECT_EQ(waitExit(runProbe(u"register Pinnotes.Other")), other);
  EXPECT_EQ(RegisterClipboardFormatW(u""), 0u);
  EXPECT_EQ(RegisterClipboardFormatW(nullptr), 0u);
}

}  // namespace
}  // namespace handheld::testing
