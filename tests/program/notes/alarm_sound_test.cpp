// The alarm's sounds as the speaker log shows them: the sound file "SndCount" times one after
// the other, then the note's own recording; closing the alarm ends its sound.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "note_folder_fixture.h"
#include "note_window_stand_in.h"

namespace handheld::testing {
namespace {

struct Play {
  std::string source;
  double start = 0;
  double end = 0;
  std::string result;
};

std::string field(const std::string& line, const std::string& name) {
  const auto at = line.find(" " + name + "=");
  if (at == std::string::npos) return {};
  const auto begin = at + name.size() + 2;
  if (line[begin] == '"') return line.substr(begin + 1, line.find('"', begin + 1) - begin - 1);
  return line.substr(begin, line.find(' ', begin) - begin);
}

class AlarmSounds : public StandInTest {
 protected:
  void SetUp() override {
    StandInTest::SetUp();
    writeHost("alarm.wav", PcmWave(800));  // 0.1 s
    writeHost("Pinnote1.stk", NoteBytes(u"Due", 7, 0, {}));
    app_->setSound(u"\\My Documents\\My Pinnotes\\alarm.wav");
  }
  std::vector<Play> plays() {
    std::string out;
    EXPECT_EQ(ctl("speaker-log", &out), 0);
    std::vector<Play> list;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
      if (field(line, "result").empty()) continue;
      list.push_back({field(line, "source"), std::atof(field(line, "start").c_str()),
                      std::atof(field(line, "end").c_str()), field(line, "result")});
    }
    return list;
  }
  // Waits (sleeping, at most 10 s) until `count` plays have ended.
  std::vector<Play> waitForPlays(std::size_t count) {
    std::vector<Play> list;
    for (int i = 0; i < 200; ++i) {
      list = plays();
      std::size_t ended = 0;
      for (const auto& play : list) ended += play.result != "playing";
      if (ended >= count) break;
      Sleep(50);
    }
    return list;
  }
  static constexpr char kSoundFile[] = "\\My Documents\\My Pinnotes\\alarm.wav";
};

TEST_F(AlarmSounds, TheSoundFileSndCountTimesThenTheRecording) {
  app_->setPlaySound(1);
  app_->setSoundCount(3);
  app_->setPlayRecording(1);
  TestNoteFileWindow note;
  ASSERT_NE(note.openNote(nullptr, notePath("Pinnote1.stk").c_str(), AlarmNote, main_), nullptr);
  EXPECT_NE(standInLog().playbackAfter, nullptr);
  const auto list = waitForPlays(4);
  ASSERT_EQ(list.size(), 4u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(list[i].source, kSoundFile);
    EXPECT_EQ(list[i].result, "ended");
  }
  EXPECT_EQ(list[3].source.rfind("memory(", 0), 0u);
  EXPECT_EQ(list[3].result, "ended");
  // One after the other, the recording last: nothing cut off another.
  for (int i = 1; i < 4; ++i) EXPECT_GE(list[i].start + 0.001, list[i - 1].end);
  note.close(true);
}

TEST_F(AlarmSounds, ClosingTheAlarmEndsItsSoundAtOnce) {
  app_->setPlaySound(1);
  app_->setSoundCount(100);
  TestNoteFileWindow note;
  ASSERT_NE(note.openNote(nullptr, notePath("Pinnote1.stk").c_str(), AlarmNote, main_), nullptr);
  waitForPlays(1);
  note.close(true);
  const auto closed = plays();
  ASSERT_FALSE(closed.empty());
  EXPECT_LT(closed.size(), 100u);
  EXPECT_NE(closed.back().result, "playing");
  Sleep(300);
  EXPECT_EQ(plays().size(), closed.size());  // no play after the close
}

TEST_F(AlarmSounds, ManyNotesDueTogetherNeverSoundAtOnce) {
  app_->setPlaySound(1);
  app_->setSoundCount(3);
  app_->setAutoDelete(1);
  for (int n = 0; n < 100; ++n) writeHost("Pinnote" + std::to_string(n) + ".stk", NoteBytes(u"Due", 7, 0, {}));
  // Each alarm closes the one before; the closed ones stay alive: closing alone ends a sound.
  std::vector<std::unique_ptr<TestNoteFileWindow>> notes;
  for (int n = 0; n < 100; ++n) {
    if (!notes.empty()) notes.back()->close(true);
    notes.push_back(std::make_unique<TestNoteFileWindow>());
    ASSERT_NE(notes.back()->openNote(nullptr, notePath("Pinnote" + std::to_string(n) + ".stk").c_str(),
                                     AlarmNote, main_),
              nullptr);
  }
  notes.back()->close(true);
  for (const auto& play : plays()) EXPECT_NE(play.result, "replaced");
  EXPECT_EQ(folderNames(), (std::vector<std::string>{"alarm.wav"}));
}

TEST_F(AlarmSounds, WithoutTheSoundFileTheRecordingStartsAtOnce) {
  for (const auto& [playSound, count] : {std::pair{0, 3}, std::pair{1, 0}}) {
    SCOPED_TRACE(count);
    standInLog() = {};
    writeHost("Pinnote1.stk", NoteBytes(u"Due", 7, 0, {}));
    const auto before = plays().size();
    app_->setPlaySound(playSound);
    app_->setSoundCount(count);
    app_->setPlayRecording(1);
    TestNoteFileWindow note;
    ASSERT_NE(note.openNote(nullptr, notePath("Pinnote1.stk").c_str(), AlarmNote, main_), nullptr);
    EXPECT_EQ(standInLog().playbackAfter, nullptr);
    const auto list = waitForPlays(before + 1);
    ASSERT_EQ(list.size(), before + 1);
    EXPECT_EQ(list.back().source.rfind("memory(", 0), 0u);
    app_->setAutoDelete(1);
    note.close(true);
  }
}

}  // namespace
}  // namespace handheld::testing
