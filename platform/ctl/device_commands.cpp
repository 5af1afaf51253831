// init, start, stop, status
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>

#include "commands.h"
#include "device_control.h"

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
      if (options.screen != "qvga" && options.screen != "vga" && options.screen != "qvga-landscape" &&
          options.screen != "vga-landscape")
        return fail("unknown screen mode '" + options.screen + "'", 2);
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
  auto client = automation::AutomationClient::connect(c.root(), error);
  if (!client) {
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
