// A program killed at any moment while it saves a note leaves the note whole: old or new.
#include <gtest/gtest.h>

#include <signal.h>

#include <random>

#include "note_folder_fixture.h"
#include "notes/note_file.h"
#include "notes/note_folder_recovery.h"

namespace handheld::testing {
namespace {

class SaveKilled : public DeviceFixture {};

TEST_F(SaveKilled, EveryKillLeavesTheOldOrTheNewNote) {
  std::filesystem::create_directories(hostPath("Notes"));
  const std::u16string program = installTestProgram("note_save_loop.exe");
  ASSERT_FALSE(program.empty());
  HANDLE started = CreateEventW(nullptr, TRUE, FALSE, u"note save loop started");
  std::mt19937 random(20261207);
  std::uniform_int_distribution<int> pause(0, 40);
  for (int round = 0; round < 25; ++round) {
    SCOPED_TRACE(round);
    ResetEvent(started);
    const uint32_t pid = run(program, u"\\Notes\\Pinnote0.stk");
    ASSERT_NE(pid, 0u);
    ASSERT_EQ(WaitForSingleObject(started, 10000), WAIT_OBJECT_0);
    Sleep(static_cast<DWORD>(pause(random)));
    ASSERT_EQ(::kill(static_cast<pid_t>(pid), SIGKILL), 0);
    ASSERT_TRUE(waitExit(pid).has_value());

    RecoverNoteFolder(u"\\Notes", u".stk");
    EXPECT_FALSE(std::filesystem::exists(hostPath("Notes/Pinnote0.stk.new")));
    NoteRecord record;
    ASSERT_TRUE(ReadNoteFile(u"\\Notes\\Pinnote0.stk", record));
    const bool a = record.title[0] == u'A' && record.content == std::vector<BYTE>(200000, 0x11);
    const bool b = record.title[0] == u'B' && record.content == std::vector<BYTE>(300000, 0x22);
    EXPECT_TRUE(a || b);
    EXPECT_EQ(std::filesystem::file_size(hostPath("Notes/Pinnote0.stk")), a ? 200535u : 300535u);
  }
  CloseHandle(started);
}

}  // namespace
}  // namespace handheld::testing
