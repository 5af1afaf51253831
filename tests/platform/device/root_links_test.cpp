// Links planted in a device root before it starts: the device follows none of them out of
// the root (nothing created, moved, chmodded or appended there), refuses to start and says
// why; the launcher starts the image's own links and refuses one made by hand.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "device_control.h"
#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

namespace fsys = std::filesystem;

std::string readText(const fsys::path& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class PlantedLinks : public ::testing::Test {
 protected:
  void SetUp() override { ::chmod(outside().c_str(), 0755); }

  const fsys::path& root() const { return root_.path(); }
  const fsys::path& outside() const { return outside_.path(); }

  // Starts a device on the root, which must refuse; returns what it said.
  std::string refusedStart() {
    automation::StartOptions options;
    options.root = root();
    options.deviceBinary = buildDir() / "bin" / "handheld-device";
    std::string error;
    if (automation::startDevice(options, error)) {
      ADD_FAILURE() << "the device started";
      automation::stopDevice(root(), error);
    }
    return error;
  }

  // Everything below the outside folder, and that folder's mode, as the device left them.
  void expectOutsideUntouched(const std::vector<std::string>& expected) {
    std::vector<std::string> found;
    for (auto& entry : fsys::recursive_directory_iterator(outside()))
      found.push_back(entry.path().lexically_relative(outside()).string());
    EXPECT_EQ(found, expected);
    struct stat st {};
    ASSERT_EQ(::stat(outside().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0755u);
  }

 private:
  TemporaryRoot root_;
  TemporaryRoot outside_;
};

TEST_F(PlantedLinks, ImageFolderLinkStopsTheStart) {
  fsys::create_directory_symlink(outside(), root() / "Program Files");
  std::string said = refusedStart();
  EXPECT_NE(said.find((root() / "Program Files").string() + " is a symbolic link"), std::string::npos) << said;
  expectOutsideUntouched({});
  EXPECT_NE(readText(root() / ".device" / "device.log").find("Program Files is a symbolic link"),
            std::string::npos);
}

TEST_F(PlantedLinks, StateFolderLinkStopsTheStart) {
  fsys::create_directory_symlink(outside(), root() / ".device");
  std::string said = refusedStart();
  EXPECT_NE(said.find((root() / ".device").string() + " is a symbolic link"), std::string::npos) << said;
  expectOutsideUntouched({});  // no socket, lock, log or hive there
}

TEST_F(PlantedLinks, LogLinkStopsTheStart) {
  fsys::create_directories(root() / ".device");
  std::ofstream(outside() / "mine") << "keep\n";
  fsys::create_symlink(outside() / "mine", root() / ".device" / "device.log");
  std::string said = refusedStart();
  EXPECT_NE(said.find("device.log is a symbolic link"), std::string::npos) << said;
  expectOutsideUntouched({"mine"});
  EXPECT_EQ(readText(outside() / "mine"), "keep\n");
}

class StateFiles : public DeviceFixture {};

TEST_F(StateFiles, SaveReplacesALinkAtItsTemporaryFile) {
  TemporaryRoot outside;
  std::ofstream(outside.path() / "mine") << "keep\n";
  fsys::create_symlink(outside.path() / "mine", hostPath(".device/clock.tmp"));
  EXPECT_EQ(ctl("clock freeze '2026-03-01 10:00:00'"), 0);
  EXPECT_EQ(readText(outside.path() / "mine"), "keep\n");
  EXPECT_FALSE(fsys::is_symlink(hostPath(".device/clock")));
}

class Launcher : public DeviceFixture {};

TEST_F(Launcher, StartsInstalledProgramsButNoLinkMadeByHand) {
  fsys::create_symlink("/bin/sh", hostPath("Windows/sh.exe"));
  fsys::create_symlink(buildDir() / "tests" / "programs" / "probe.exe", hostPath("Windows/copy.exe"));
  for (const char16_t* path : {u"\\Windows\\sh.exe", u"sh.exe", u"\\Windows\\copy.exe"}) {
    auto reply = device().call<ipc::StartProcess>({path, u""});
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->error, 5u);  // ERROR_ACCESS_DENIED
  }
  EXPECT_NE(ctl("run '\\Windows\\sh.exe'"), 0);
  EXPECT_NE(readText(hostPath(".device/device.log")).find("refused to start \\Windows\\sh.exe"),
            std::string::npos);

  // The install step places the same program, and that starts.
  auto probe = installTestProgram("probe.exe");
  EXPECT_EQ(probe, u"\\Tests\\probe.exe");
  EXPECT_EQ(waitExit(run(probe, u"exit 7")), 7u);
  // It replaces no file of the user's.
  std::ofstream(hostPath("Tests/mine.exe")) << "mine";
  std::string error;
  EXPECT_FALSE(automation::installProgram(buildDir() / "bin" / "handheld-device", root(),
                                          buildDir() / "tests" / "programs" / "probe.exe",
                                          "\\Tests\\mine.exe", error));
  EXPECT_NE(error.find("taken by a file"), std::string::npos) << error;
  EXPECT_EQ(readText(hostPath("Tests/mine.exe")), "mine");
}

}  // namespace
}  // namespace handheld::testing
