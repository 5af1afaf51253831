// The note window of a file: what each way of opening does to the file and the main window,
// and where finishNote puts the note on each of its paths.
#include <gtest/gtest.h>

#include "note_folder_fixture.h"
#include "note_window_stand_in.h"

namespace handheld::testing {
namespace {

using Log = std::vector<std::string>;
using Names = std::vector<std::string>;

const Bytes kContent = {1, 2, 3, 250};

void fill(NoteRecord& record, const std::u16string& title, WORD hour, const Bytes& content) {
  for (std::size_t i = 0; i <= title.size(); ++i) record.title[i] = i < title.size() ? title[i] : 0;
  record.expiryTime = {2010, 12, 3, 1, hour, 5, 9, 0};
  record.content.assign(content.begin(), content.end());
  record.zoom = 150;
}

class FinishPaths : public StandInTest {};

TEST_F(FinishPaths, NewNoteKeptIsWrittenUnderTheFirstFreeNameAndAnnounced) {
  TestNoteFileWindow note;
  ASSERT_NE(note.openNote(nullptr, nullptr, NewNote, main_), nullptr);
  EXPECT_EQ(standInLog().calls, (Log{"open(0, 0)"}));
  EXPECT_EQ(mainWindowLog(), (Log{"opening"}));
  fill(note.record(), u"Shopping", 5, kContent);
  note.close(true);
  EXPECT_EQ(hostBytes("Pinnote0.stk"), NoteBytes(u"Shopping", 5, 0, kContent));
  EXPECT_EQ(folderNames(), (Names{"Pinnote0.stk"}));  // no side file left
  EXPECT_EQ(mainWindowLog(), (Log{"saved(1, \\My Documents\\My Pinnotes\\Pinnote0.stk)", "closed"}));
  EXPECT_TRUE(changeSignalled());
}

TEST_F(FinishPaths, NewNoteDiscardedLeavesNoFile) {
  TestNoteFileWindow note;
  ASSERT_NE(note.openNote(nullptr, nullptr, NewNote | StartRecording, main_), nullptr);
  EXPECT_EQ(standInLog().calls, (Log{"open(0, 0)", "startPushToTalk"}));
  fill(note.record(), u"Draft", 5, kContent);
  note.close(false);
  EXPECT_TRUE(folderNames().empty());
  EXPECT_EQ(mainWindowLog(), (Log{"opening", "closed"}));
}

TEST_F(FinishPaths, ExistingNoteGoesBackToItsOwnFileKeptOrNot) {
  writeHost("Pinnote5.stk", NoteBytes(u"Old", 7, 0, kContent));
  {
    TestNoteFileWindow note;
    ASSERT_NE(note.openNote(nullptr, notePath("Pinnote5.stk").c_str(), OpenNote, main_), nullptr);
    EXPECT_EQ(standInLog().calls, (Log{"open(1, 0)"}));
    EXPECT_EQ(std::u16string(note.record().title), u"Old");
    EXPECT_EQ(note.record().content, kContent);
    note.close(false);
    EXPECT_EQ(hostBytes("Pinnote5.stk"), NoteBytes(u"Old", 7, 0, kContent));
    EXPECT_EQ(mainWindowLog(),
              (Log{"opening", "saved(0, \\My Documents\\My Pinnotes\\Pinnote5.stk)", "closed"}));
  }
  TestNoteFileWindow note;
  ASSERT_NE(note.openNote(nullptr, notePath("Pinnote5.stk").c_str(), OpenNote, main_), nullptr);
  fill(note.record(), u"New", 7, {9});
  note.close(true);
  EXPECT_EQ(hostBytes("Pinnote5.stk"), NoteBytes(u"New", 7, 0, {9}));
  EXPECT_EQ(folderNames(), (Names{"Pinnote5.stk"}));
}

TEST_F(FinishPaths, AlarmSetsTheFileAsideAndKeptWithoutAutoDelTakesAFreeNameStillExpired) {
  writeHost("Pinnote0.stk", NoteBytes(u"Other", 9, 0, {}));
  writeHost("Pinnote3.stk", NoteBytes(u"Due", 7, 0, kContent));
  TestNoteFileWindow note;
  ASSERT_NE(note.openNote(nullptr, notePath("Pinnote3.stk").c_str(), AlarmNote, main_), nullptr);
  EXPECT_EQ(standInLog().calls, (Log{"open(1, 1)"}));
  EXPECT_EQ(note.record().expired, 1);
  // Not listed any more, but not gone: beside the notes under a name no reader lists.
  EXPECT_EQ(folderNames(), (Names{"Pinnote0.stk", "Pinnote3.stk.alarm"}));
  EXPECT_EQ(hostBytes("Pinnote3.stk.alarm"), NoteBytes(u"Due", 7, 0, kContent));
  EXPECT_TRUE(changeSignalled());
  EXPECT_FALSE(note.readFailed());

  note.close(true);
  EXPECT_EQ(folderNames(), (Names{"Pinnote0.stk", "Pinnote1.stk"}));
  EXPECT_EQ(hostBytes("Pinnote1.stk"), NoteBytes(u"Due", 7, 1, kContent));
  EXPECT_EQ(mainWindowLog(),
            (Log{"opening", "saved(1, \\My Documents\\My Pinnotes\\Pinnote1.stk)", "closed"}));
}

TEST_F(FinishPaths, AlarmWithAutoDelIsGoneUnlessGivenANewTime) {
  app_->setAutoDelete(1);
  writeHost("Pinnote3.stk", NoteBytes(u"Due", 7, 0, kContent));
  {
    TestNoteFileWindow note;
    ASSERT_NE(note.openNote(nullptr, notePath("Pinnote3.stk").c_str(), AlarmNote, main_), nullptr);
    note.close(true);
    EXPECT_TRUE(folderNames().empty());
    EXPECT_EQ(mainWindowLog(), (Log{"opening", "closed"}));
  }
  writeHost("Pinnote3.stk", NoteBytes(u"Due", 7, 0, kContent));
  TestNoteFileWindow note;
  ASSERT_NE(note.openNote(nullptr, notePath("Pinnote3.stk").c_str(), AlarmNote, main_), nullptr);
  // A new expiry time clears the flag (the note window does so): the note lives on.
  note.record().expired = 0;
  note.record().expiryTime.wHour = 8;
  note.close(true);
  EXPECT_EQ(folderNames(), (Names{"Pinnote0.stk"}));
  EXPECT_EQ(hostBytes("Pinnote0.stk"), NoteBytes(u"Due", 8, 0, kContent));
}

TEST_F(FinishPaths, AlarmClosedWithoutKeepingIsGone) {
  writeHost("Pinnote3.stk", NoteBytes(u"Due", 7, 0, kContent));
  TestNoteFileWindow note;
  ASSERT_NE(note.openNote(nullptr, notePath("Pinnote3.stk").c_str(), AlarmNote, main_), nullptr);
  note.close(false);
  EXPECT_TRUE(folderNames().empty());
  EXPECT_EQ(mainWindowLog(), (Log{"opening", "closed"}));
}

TEST_F(FinishPaths, AnAlarmThatCannotBeSetAsideStaysInItsFileAndReplacesIt) {
  writeHost("Pinnote3.stk", NoteBytes(u"Due", 7, 0, kContent));
  writeHost("Pinnote3.stk.alarm", NoteBytes(u"Earlier alarm", 7, 1, {}));  // never replaced
  {
    TestNoteFileWindow note;
    ASSERT_NE(note.openNote(nullptr, notePath("Pinnote3.stk").c_str(), AlarmNote, main_), nullptr);
    EXPECT_EQ(hostBytes("Pinnote3.stk.alarm"), NoteBytes(u"Earlier alarm", 7, 1, {}));
    note.close(true);
    EXPECT_EQ(folderNames(), (Names{"Pinnote3.stk", "Pinnote3.stk.alarm"}));
    EXPECT_EQ(hostBytes("Pinnote3.stk"), NoteBytes(u"Due", 7, 1, kContent));
    EXPECT_EQ(mainWindowLog(),
              (Log{"opening", "saved(0, \\My Documents\\My Pinnotes\\Pinnote3.stk)", "closed"}));
  }
  TestNoteFileWindow note;
  ASSERT_NE(note.openNote(nullptr, notePath("Pinnote3.stk").c_str(), AlarmNote, main_), nullptr);
  note.close(false);
  EXPECT_EQ(folderNames(), (Names{"Pinnote3.stk.alarm"}));
  EXPECT_EQ(hostBytes("Pinnote3.stk.alarm"), NoteBytes(u"Earlier alarm", 7, 1, {}));
}

TEST_F(FinishPaths, MarkExpiredSetsOnlyTheFlagAndOpensNoWindow) {
  writeHost("Pinnote2.stk", NoteBytes(u"Mark", 7, 0, kContent));
  TestNoteFileWindow note;
  EXPECT_EQ(note.openNote(nullptr, notePath("Pinnote2.stk").c_str(), MarkExpired, main_), nullptr);
  EXPECT_TRUE(standInLog().calls.empty());
  EXPECT_EQ(hostBytes("Pinnote2.stk"), NoteBytes(u"Mark", 7, 1, kContent));
  EXPECT_EQ(folderNames(), (Names{"Pinnote2.stk"}));
  EXPECT_EQ(mainWindowLog(), (Log{"opening"}));
  EXPECT_TRUE(changeSignalled());
}

TEST_F(FinishPaths, OpeningAFileClosesTheOtherWindowShowingItWithoutItsEdits) {
  writeHost("Pinnote4.stk", NoteBytes(u"Shared", 7, 0, kContent));
  writeHost("Pinnote6.stk", NoteBytes(u"Else", 7, 0, {}));
  TestNoteFileWindow first;
  TestNoteFileWindow other;
  ASSERT_NE(first.openNote(nullptr, notePath("Pinnote4.stk").c_str(), OpenNote, main_), nullptr);
  ASSERT_NE(other.openNote(nullptr, notePath("Pinnote6.stk").c_str(), OpenNote, main_), nullptr);
  mainWindowLog();
  TestNoteFileWindow second;
  ASSERT_NE(second.openNote(nullptr, notePath("Pinnote4.stk").c_str(), OpenNote, main_), nullptr);
  EXPECT_EQ(first.window(), nullptr);
  EXPECT_NE(other.window(), nullptr);
  // The first window ended without keeping: its file holds what it read.
  EXPECT_EQ(mainWindowLog(),
            (Log{"opening", "saved(0, \\My Documents\\My Pinnotes\\Pinnote4.stk)", "closed"}));
  EXPECT_EQ(std::u16string(second.record().title), u"Shared");
  EXPECT_EQ(hostBytes("Pinnote4.stk"), NoteBytes(u"Shared", 7, 0, kContent));
}

// A note that cannot be read is never deleted, set aside, marked or written back empty.
class FailedRead : public StandInTest {};

TEST_F(FailedRead, LeavesADamagedFileAsItIsInEveryMode) {
  Bytes damaged = NoteBytes(u"Cut", 7, 0, kContent);
  damaged.resize(300);
  writeHost("Pinnote6.stk", damaged);
  for (int mode : {OpenNote, AlarmNote, MarkExpired}) {
    SCOPED_TRACE(mode);
    standInLog() = {};
    TestNoteFileWindow note;
    EXPECT_EQ(note.openNote(nullptr, notePath("Pinnote6.stk").c_str(), mode, main_), nullptr);
    EXPECT_TRUE(note.readFailed());
    EXPECT_TRUE(standInLog().calls.empty());
    EXPECT_EQ(folderNames(), (Names{"Pinnote6.stk"}));
    EXPECT_EQ(hostBytes("Pinnote6.stk"), damaged);
    EXPECT_FALSE(changeSignalled());
  }
}

TEST_F(FailedRead, AMissingFileOpensNothingAndTellsTheMainWindowItIsClosed) {
  TestNoteFileWindow note;
  EXPECT_EQ(note.openNote(nullptr, notePath("Pinnote8.stk").c_str(), AlarmNote, main_), nullptr);
  EXPECT_TRUE(note.readFailed());
  EXPECT_TRUE(folderNames().empty());
  EXPECT_EQ(mainWindowLog(), (Log{"opening", "closed"}));
}

}  // namespace
}  // namespace handheld::testing
