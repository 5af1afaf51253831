// Saving never tears a note: a save cut short at any step leaves the old bytes or the new
// ones, the folder's recovery clears what it left, and it brings back an alarmed note that was
// set aside when the program ended.
#include <gtest/gtest.h>

#include "note_folder_fixture.h"
#include "notes/note_file.h"
#include "notes/note_folder_recovery.h"
#include "pinnotes/unique_handle.h"

namespace handheld::testing {
namespace {

using Names = std::vector<std::string>;

const Bytes kOld = NoteBytes(u"Old", 7, 0, Bytes(3000, 0x11));
const Bytes kNew = NoteBytes(u"New", 8, 1, Bytes(5000, 0x22));

NoteRecord recordOf(const Bytes& bytes) {
  NoteRecord record;
  EXPECT_TRUE(ParseNoteFile(bytes, record));
  return record;
}

SaveStep stopAt = SaveStep::Replaced;
bool stopWhenReached(SaveStep step) { return step != stopAt; }

// What a reader of "*.stk" lists.
Names listedNotes(const std::u16string& folder) {
  Names names;
  WIN32_FIND_DATAW found;
  const UniqueFindHandle search(FindFirstFileW((folder + u"\\*.stk").c_str(), &found));
  if (!search.isOpen()) return names;
  do {
    std::u16string name = found.cFileName;
    names.emplace_back(name.begin(), name.end());
  } while (FindNextFileW(search.get(), &found));
  return names;
}

class ReplacingSave : public NoteFolderTest {
 protected:
  std::u16string folder() const { return notePath("").substr(0, notePath("").size() - 1); }
};

TEST_F(ReplacingSave, CutShortAtEveryStepTheNoteHoldsTheOldOrTheNewBytes) {
  const std::u16string path = notePath("Pinnote0.stk");
  const struct {
    SaveStep step;
    bool sideLeft;
    const Bytes* note;
  } cases[] = {
      {SaveStep::SideFileCreated, true, &kOld}, {SaveStep::FixedPartWritten, true, &kOld},
      {SaveStep::ContentWritten, true, &kOld},  {SaveStep::Flushed, true, &kOld},
      {SaveStep::Replaced, false, &kNew},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.step));
    writeHost("Pinnote0.stk", kOld);
    stopAt = c.step;
    SetSaveStepHook(stopWhenReached);
    EXPECT_FALSE(WriteNoteFile(path.c_str(), recordOf(kNew)));
    SetSaveStepHook(nullptr);
    EXPECT_EQ(hostBytes("Pinnote0.stk"), *c.note);
    EXPECT_EQ(folderNames(), (c.sideLeft ? Names{"Pinnote0.stk", "Pinnote0.stk.new"} : Names{"Pinnote0.stk"}));
    // The side file is never listed as a note.
    EXPECT_EQ(listedNotes(folder()), (Names{"Pinnote0.stk"}));
    RecoverNoteFolder(folder().c_str(), u".stk");
    EXPECT_EQ(folderNames(), (Names{"Pinnote0.stk"}));
    EXPECT_EQ(hostBytes("Pinnote0.stk"), *c.note);
  }
}

TEST_F(ReplacingSave, WholeSaveReplacesTheNoteAndLeavesNothingBeside) {
  writeHost("Pinnote0.stk", kOld);
  EXPECT_TRUE(WriteNoteFile(notePath("Pinnote0.stk").c_str(), recordOf(kNew)));
  EXPECT_EQ(hostBytes("Pinnote0.stk"), kNew);
  EXPECT_EQ(folderNames(), (Names{"Pinnote0.stk"}));
}

TEST_F(ReplacingSave, ASideFileThatCannotBeMadeFailsWithTheReasonAndKeepsTheNote) {
  writeHost("Pinnote0.stk", kOld);
  std::filesystem::create_directory(hostNote("Pinnote0.stk.new"));
  EXPECT_FALSE(WriteNoteFile(notePath("Pinnote0.stk").c_str(), recordOf(kNew)));
  EXPECT_EQ(GetLastError(), 5u);  // ERROR_ACCESS_DENIED
  EXPECT_EQ(hostBytes("Pinnote0.stk"), kOld);
}

TEST_F(ReplacingSave, AReplaceThatFailsRemovesTheSideFile) {
  std::filesystem::create_directory(hostNote("Pinnote0.stk"));
  EXPECT_FALSE(WriteNoteFile(notePath("Pinnote0.stk").c_str(), recordOf(kNew)));
  EXPECT_NE(GetLastError(), 0u);
  EXPECT_EQ(folderNames(), (Names{"Pinnote0.stk"}));
}

TEST_F(ReplacingSave, RemovingCountsOnlyAMissingFileAsGone) {
  writeHost("Pinnote0.stk", kOld);
  EXPECT_TRUE(RemoveNoteFile(notePath("Pinnote0.stk").c_str()));
  EXPECT_TRUE(RemoveNoteFile(notePath("Pinnote0.stk").c_str()));  // already gone
  std::filesystem::create_directory(hostNote("Pinnote1.stk"));
  EXPECT_FALSE(RemoveNoteFile(notePath("Pinnote1.stk").c_str()));
}

class FolderRecovery : public ReplacingSave {};

TEST_F(FolderRecovery, AnAlarmedNoteComesBackUnderItsOwnNameOrAFreeOne) {
  writeHost("Pinnote3.stk.alarm", kOld);
  writeHost("Pinnote5.stk.alarm", kNew);
  writeHost("Pinnote5.stk", NoteBytes(u"Took the name", 7, 0, {}));
  writeHost("Pinnote7.stk.new", Bytes(10, 0));
  writeHost("Readme.txt", Bytes(4, 1));
  RecoverNoteFolder(folder().c_str(), u".stk");
  EXPECT_EQ(folderNames(), (Names{"Pinnote0.stk", "Pinnote3.stk", "Pinnote5.stk", "Readme.txt"}));
  EXPECT_EQ(hostBytes("Pinnote3.stk"), kOld);
  EXPECT_EQ(hostBytes("Pinnote0.stk"), kNew);
  EXPECT_EQ(hostBytes("Pinnote5.stk"), NoteBytes(u"Took the name", 7, 0, {}));
}

TEST_F(FolderRecovery, AnAlarmOpenWhenTheProgramEndsIsNotLost) {
  writeHost("Pinnote2.stk", kOld);
  {
    TestNoteFileWindow note;
    ASSERT_NE(note.openNote(nullptr, notePath("Pinnote2.stk").c_str(), AlarmNote, main_), nullptr);
    EXPECT_EQ(listedNotes(folder()), Names{});
    note.destroy();  // the object is dropped without finishNote, as when the program is ended
  }
  RecoverNoteFolder(folder().c_str(), u".stk");
  EXPECT_EQ(folderNames(), (Names{"Pinnote2.stk"}));
  EXPECT_EQ(hostBytes("Pinnote2.stk"), kOld);
}

}  // namespace
}  // namespace handheld::testing
