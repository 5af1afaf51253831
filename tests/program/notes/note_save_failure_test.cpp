// A note that cannot be written is not lost: the user is told why in a box captioned
// "VORLA Pinnotes" and the note is shown again until it is saved or discarded.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <cstdio>

#include "note_folder_fixture.h"
#include "note_window_stand_in.h"

namespace handheld::testing {
namespace {

using Log = std::vector<std::string>;
using Names = std::vector<std::string>;

const Bytes kContent = {7, 7, 7};

class SaveFailure : public StandInTest {
 protected:
  void TearDown() override {
    // The box runs on a thread of this process: it must be gone before the device is.
    if (HWND box = findBox(0)) dismiss(box);
    StandInTest::TearDown();
  }
  static HWND findBox(int tries = 250) {
    for (int i = 0;; ++i) {
      if (HWND box = FindWindowW(u"#32770", u"VORLA Pinnotes")) return box;
      if (i >= tries) return nullptr;
      Sleep(20);
    }
  }
  // The box's whole tree as handheld-ctl shows it.
  std::string boxTree(HWND box) {
    char handle[32];
    std::snprintf(handle, sizeof handle, "0x%08llX",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(box)));
    std::string out;
    EXPECT_EQ(ctl(std::string("tree ") + handle, &out), 0);
    return out;
  }
  static void dismiss(HWND box) {
    PostMessageW(box, WM_CLOSE, 0, 0);
    for (int i = 0; i < 250 && IsWindow(box); ++i) Sleep(20);
    EXPECT_FALSE(IsWindow(box));
  }
  static void fillNote(TestNoteFileWindow& note, const std::u16string& title) {
    for (std::size_t i = 0; i <= title.size(); ++i) note.record().title[i] = i < title.size() ? title[i] : 0;
    note.record().expiryTime = {2010, 12, 3, 1, 5, 5, 9, 0};
    note.record().content.assign(kContent.begin(), kContent.end());
    note.record().zoom = 150;
  }
};

TEST_F(SaveFailure, AFileThatCannotBeCreatedKeepsTheNoteOpenUntilItCanBe) {
  std::filesystem::create_directory(hostNote("Pinnote0.stk.new"));  // no file can take its place
  TestNoteFileWindow note;
  ASSERT_NE(note.openNote(nullptr, nullptr, NewNote, main_), nullptr);
  fillNote(note, u"Keep me");
  note.close(true);
  EXPECT_TRUE(note.saveFailed());
  EXPECT_NE(note.window(), nullptr);
  // Shown again with its record, and not as an alarm, so that emptying it discards it.
  EXPECT_EQ(standInLog().calls, (Log{"open(0, 0)", "stopPlayback", "open(1, 0)"}));
  EXPECT_EQ(mainWindowLog(), (Log{"opening"}));  // neither saved nor closed
  EXPECT_EQ(folderNames(), (Names{"Pinnote0.stk.new"}));
  HWND box = findBox();
  ASSERT_NE(box, nullptr);
  EXPECT_NE(boxTree(box).find("The pinnote could not be saved: the notes folder is read-only."),
            std::string::npos);
  dismiss(box);

  std::filesystem::remove(hostNote("Pinnote0.stk.new"));
  note.close(true);
  EXPECT_FALSE(note.saveFailed());
  EXPECT_EQ(hostBytes("Pinnote0.stk"), NoteBytes(u"Keep me", 5, 0, kContent));
  EXPECT_EQ(mainWindowLog(), (Log{"saved(1, \\My Documents\\My Pinnotes\\Pinnote0.stk)", "closed"}));
}

TEST_F(SaveFailure, WithAllThousandNamesTakenNoNoteIsOverwrittenAndDiscardingEndsIt) {
  for (int n = 0; n < 1000; ++n) writeHost("Pinnote" + std::to_string(n) + ".stk", {});
  TestNoteFileWindow note;
  ASSERT_NE(note.openNote(nullptr, nullptr, NewNote, main_), nullptr);
  fillNote(note, u"One too many");
  note.close(true);
  EXPECT_NE(note.window(), nullptr);
  HWND box = findBox();
  ASSERT_NE(box, nullptr);
  const std::string tree = boxTree(box);
  EXPECT_NE(tree.find("The pinnote could not be saved: all 1000 pinnote file names are taken. Delete a "
                      "pinnote first."),
            std::string::npos);
  EXPECT_NE(tree.find("It stays open: close it again to save it, or clear it and close it to discard it."),
            std::string::npos);
  dismiss(box);
  for (int n = 0; n < 1000; n += 111) EXPECT_EQ(hostBytes("Pinnote" + std::to_string(n) + ".stk"), Bytes{});
  EXPECT_EQ(folderNames().size(), 1000u);

  note.close(false);
  EXPECT_EQ(mainWindowLog(), (Log{"opening", "closed"}));
  EXPECT_EQ(folderNames().size(), 1000u);
}

TEST_F(SaveFailure, AFullStorageKeepsTheOldFileAndItsEditsAreOnlyDroppedWhenDiscarded) {
  const Bytes old = NoteBytes(u"Before", 5, 0, kContent);
  writeHost("Pinnote4.stk", old);
  TestNoteFileWindow note;
  ASSERT_NE(note.openNote(nullptr, notePath("Pinnote4.stk").c_str(), OpenNote, main_), nullptr);
  fillNote(note, u"After");
  // Writes of this process stop at 0 bytes: the storage is full for it.
  rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousSignal = signal(SIGXFSZ, SIG_IGN);
  rlimit full = saved;
  full.rlim_cur = 0;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
  note.close(true);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previousSignal);

  EXPECT_EQ(hostBytes("Pinnote4.stk"), old);
  EXPECT_EQ(folderNames(), (Names{"Pinnote4.stk"}));
  HWND box = findBox();
  ASSERT_NE(box, nullptr);
  EXPECT_NE(boxTree(box).find("The pinnote could not be saved: the storage is full. Make room first."),
            std::string::npos);
  dismiss(box);
  // Discarded now: the file keeps what it held, the edits are not written after all.
  note.close(false);
  EXPECT_EQ(hostBytes("Pinnote4.stk"), old);
  EXPECT_EQ(mainWindowLog(), (Log{"opening", "closed"}));
}

}  // namespace
}  // namespace handheld::testing
