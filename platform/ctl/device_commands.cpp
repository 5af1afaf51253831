// init, start, stop, status
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>

#include "commands.h"
#include "device_control.h"
#include "ipc/screen_modes.h"

extern char** environ;

namespace handheld::ctl {

int runInit(Context& c, const Args& args) {
  if (!args.empty()) return fail("init takes no arguments", 2);
  std::string binary = automation::deviceBinaryBesideSelf().string();
  std::string root = c.root().string();
  std::string initFlag = "--init", rootFlag = "--root";
  char* argv[] = {binary.data(), rootFlag.data(), root.data(), initFlag.data(), nullptr};
  pid_t child = 0;
  int status = 0;
  if (posix_spawn(&child, argv[0], nullptr, nullptr, argv, environ) != 0 ||
      waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return fail("could not lay out the device image on " + root);
  std::printf("device image laid out on %s\n", c.root().c_str());
  return 0;
}

int runStart(Context& c, const Args& args) {
  automation::StartOptions options;
  options.root = c.root();
  options.deviceBinary = automation::deviceBinaryBesideSelf();
  options.headless = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--headless") {
      options.headless = true;
    } else if (args[i] == "--screen" && i + 1 < args.size()) {
      options.screen = args[++i];
      if (!ipc::findScreenMode(options.screen))
        return fail("unknown screen mode '" + options.screen + "' (" + ipc::screenModeNames() + ")", 2);
    } else if (args[i] == "--scale" && i + 1 < args.size()) {
      auto scale = parseNumber(args[++i]);
      if (!scale || *scale < 1 || *scale > 4) return fail("--scale takes 1, 2, 3 or 4", 2);
      options.scale = static_cast<int>(*scale);
    } else {
      return fail("start: unknown option '" + args[i] + "'", 2);
    }
  }
  std::string error;
  if (!automation::startDevice(options, error)) return fail(error);
  return 0;
}

int runStop(Context& c, const Args& args) {
  if (!args.empty()) return fail("stop takes no arguments", 2);
  std::string error;
  if (!automation::stopDevice(c.root(), error)) return fail(error);
  return 0;
}

int runStatus(Context& c, const Args& args) {
  if (!args.empty()) return fail("status takes no arguments", 2);
  std::string error;
  bool noDevice = false;
  auto client = automation::AutomationClient::connect(c.root(), error, &noDevice);
  if (!client) {
    if (!noDevice) return fail(error);  // it may run; this user cannot tell
    std::printf("stopped: %s\n", error.c_str());
    return 1;
  }
  auto status = client->call<ipc::DeviceStatus>({});
  if (!status) return fail("the device did not answer");
  std::printf("running: root %s, server process %u, %s, screen %s, %u device processes\n",
              status->root.c_str(), status->serverPid, status->display.c_str(), status->screen.c_str(),
              status->processes);
  return 0;
}

}  // namespace handheld::ctl
