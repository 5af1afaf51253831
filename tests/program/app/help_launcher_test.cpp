// The help launcher starts the device's help viewer on one topic and keeps nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "app/help_launcher.h"
#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

class HelpLauncher : public DeviceFixture {
 protected:
  // Waits until `ps` lists the viewer with exactly this command line (running, or ended after
  // handing its topic to the viewer that runs already).
  ::testing::AssertionResult viewerRunsWith(const std::string& commandLine) {
    std::string processes;
    for (int attempt = 0; attempt < 100; ++attempt) {
      processes.clear();
      ctl("ps", &processes);
      if (processes.find(" PegHelp.exe " + commandLine + "\n") != std::string::npos) {
        return ::testing::AssertionSuccess();
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return ::testing::AssertionFailure() << processes;
  }
};

TEST_F(HelpLauncher, StartsTheViewerOnTheTopicOrTheWholeFile) {
  EXPECT_EQ(std::u16string(kHelpFile), u"Pinnotes.htm");
  ASSERT_TRUE(OpenHelp(kHelpFile, u"Edit"));
  EXPECT_TRUE(viewerRunsWith("file:Pinnotes.htm#Edit"));
  // Without an anchor there is no "#".
  ASSERT_TRUE(OpenHelp(kHelpFile, nullptr));
  EXPECT_TRUE(viewerRunsWith("file:Pinnotes.htm"));
}

}  // namespace
}  // namespace handheld::testing
