// run, ps, wait-exit
#include <cstdio>

#include "commands.h"
#include "strings/utf.h"
#include "winerror.h"

namespace handheld::ctl {

namespace {

// Why the device would not start `path`, in words; empty where the code says it well enough.
std::string startFailure(uint32_t error, const std::string& path) {
  switch (error) {
    case ERROR_PATH_NOT_FOUND:
      return path.empty() ? "the path is empty" : "a folder on the way to " + path + " does not exist";
    case ERROR_FILE_NOT_FOUND: return "no device program at " + path;
    case ERROR_INVALID_NAME: return path + " is not a device path (a path may not leave the device root)";
    case ERROR_ACCESS_DENIED:
      return "access to " + path + " is denied (a path may not go through a link or into \\.device)";
    case ERROR_FILENAME_EXCED_RANGE: return "the path " + path + " is too long";
    case ERROR_BAD_EXE_FORMAT: return path + " is not a program the device can run";
    case ERROR_NOT_ENOUGH_QUOTA:
      return "the device runs its maximum of " + std::to_string(ipc::kMaxRunningPrograms) + " programs";
    case ERROR_INVALID_PARAMETER:
      return "the command line is longer than " + std::to_string(ipc::kMaxCommandLine) + " characters";
    default: return {};
  }
}

}  // namespace

int runRun(Context& c, const Args& args) {
  if (args.empty()) return fail("run needs a device path", 2);
  std::string commandLine;
  for (size_t i = 1; i < args.size(); ++i) commandLine += (i > 1 ? " " : "") + args[i];
  auto path = strings::fromUtf8Strict(args[0]);
  auto line = strings::fromUtf8Strict(commandLine);
  if (!path || !line) return fail("the path or the command line is not valid UTF-8", 2);
  auto reply = c.device().call<ipc::StartProcess>({*path, *line});
  if (!reply) return fail("the device did not answer");
  if (reply->error) return refused(reply->error, startFailure(reply->error, args[0]));
  std::printf("%u\n", reply->pid);
  return 0;
}

int runPs(Context& c, const Args& args) {
  if (!args.empty()) return fail("ps takes no arguments", 2);
  auto reply = c.device().call<ipc::ListProcesses>({});
  if (!reply) return fail("the device did not answer");
  std::printf("%-8s %-10s %s\n", "PID", "STATE", "PROGRAM AND COMMAND LINE");
  for (auto& p : reply->processes) {
    std::string state = p.running ? "running" : "exit " + std::to_string(p.exitCode);
    std::string program = p.devicePath.empty() ? "(started outside the device)" : strings::toUtf8(p.devicePath);
    std::printf("%-8u %-10s %s%s%s\n", p.pid, state.c_str(), program.c_str(),
                p.commandLine.empty() ? "" : " ", strings::toUtf8(p.commandLine).c_str());
  }
  return 0;
}

int runWaitExit(Context& c, const Args& args) {
  if (args.empty() || args.size() > 2) return fail("usage: wait-exit ID [SECONDS]", 2);
  auto pid = parseNumber(args[0]);
  auto seconds = args.size() == 2 ? parseNumber(args[1]) : std::optional<uint64_t>(30);
  if (!pid || !seconds || *pid > UINT32_MAX || *seconds > 86400) return fail("usage: wait-exit ID [SECONDS]", 2);
  auto reply = c.device().call<ipc::WaitProcessExit>(
      {static_cast<uint32_t>(*pid), static_cast<uint32_t>(*seconds * 1000)});
  if (!reply) return fail("the device did not answer");
  if (reply->error == WAIT_TIMEOUT) return fail("process " + args[0] + " still runs after " + std::to_string(*seconds) + " s");
  if (reply->error == ERROR_INVALID_PARAMETER) return refused(reply->error, "no device process " + args[0]);
  if (reply->error) return refused(reply->error);
  std::printf("%u\n", reply->exitCode);
  return 0;
}

}  // namespace handheld::ctl
