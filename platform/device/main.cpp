// handheld-device: the device server of one device root.
#include <fcntl.h>
#include <signal.h>
#include <sys/epoll.h>
#include <sys/file.h>
#include <sys/signalfd.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "device.h"
#include "device_image.h"
#include "display/device_frame.h"
#include "os/descriptor_limit.h"
#include "os/device_root.h"
#include "os/state_file.h"

using namespace handheld;

namespace {

void usage() {
  std::puts(
      "usage: handheld-device [--root DIR] [--headless] [--screen MODE] [--scale N] [--init]\n"
      "       [--no-startup] [--end-with PID]\n"
      "Runs the device server of one device root until it is stopped (or its window closed).\n"
      "  --root DIR       device root (default: $HANDHELD_ROOT or $XDG_DATA_HOME/handheld/default)\n"
      "  --headless       no desktop window\n"
      "  --screen MODE    qvga, vga, qvga-landscape or vga-landscape (default qvga)\n"
      "  --scale N        the desktop window's zoom, 1-4 (default 2 for QVGA, 1 for VGA)\n"
      "  --init           lay out the device image and exit\n"
      "  --no-startup     do not start the programs HKLM\\Init lists (the shell)\n"
      "  --install FILE PATH  link the executable FILE at the device path PATH as a program\n"
      "                   of the image (the launcher starts no link placed otherwise) and exit\n"
      "  --ready-fd N     write one byte to descriptor N once requests are accepted\n"
      "  --end-with PID   stop when process PID ends (tests tie their device to themselves)\n"
      "Most people start it with `handheld-ctl start` or `make run`.");
}

// A root that cannot be written would fail later in ways that mislead (no lock, changes
// that are never saved), so it is refused at once, saying what is wrong.
bool rootIsWritable(const std::filesystem::path& root, std::string& error) {
  for (const auto& [what, folder] : {std::pair{"the device root ", root},
                                     std::pair{"the device's state folder ", os::deviceStateDir(root)}}) {
    if (::access(folder.c_str(), W_OK) == 0 || errno == ENOENT) continue;
    error = what + folder.string() + " cannot be written (" + std::strerror(errno) + ")";
    return false;
  }
  return true;
}

// One server per root: the lock is held for the server's life and dies with it. Whatever
// other than a regular file sits at the lock's path is set aside (`note` says so).
os::UniqueFd takeLock(const std::filesystem::path& root, std::string& error, std::string& note) {
  const auto path = os::deviceStateFile(root, "lock");
  auto opened = os::openStateFile(path, O_RDWR | O_CREAT);
  if (opened.notRegular) {
    std::string why;
    auto aside = os::setAsideStateFile(path, why);
    note = path.string() + " was not a regular file; " +
           (aside ? "moved it to " + aside->string() : "it could not be moved aside (" + why + ")");
    opened = os::openStateFile(path, O_RDWR | O_CREAT);
  }
  if (!opened.fd) {
    error = "cannot open the lock " + path.string() + " (" +
            (opened.notRegular ? std::string("not a regular file") : std::strerror(opened.error)) + ")";
    return {};
  }
  if (flock(opened.fd.get(), LOCK_EX | LOCK_NB) != 0) {
    error = errno == EWOULDBLOCK ? "a device is already running on " + root.string()
                                 : "cannot lock " + path.string() + " (" + std::strerror(errno) + ")";
    return {};
  }
  return std::move(opened.fd);
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<std::string> rootArg;
  device::DeviceOptions options;
  options.headless = false;
  bool initOnly = false;
  std::optional<std::string> installFile, installPath;
  int readyFd = -1;
  pid_t endWith = 0;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "handheld-device: %s needs a value\n", arg.c_str());
        std::exit(2);
      }
      return argv[++i];
    };
    if (arg == "--root") rootArg = value();
    else if (arg == "--headless") options.headless = true;
    else if (arg == "--screen") options.screen = value();
    else if (arg == "--scale") {
      options.scale = std::atoi(value().c_str());
      if (options.scale < 1 || options.scale > device::DeviceFrame::kMaxScale) {
        std::fprintf(stderr, "handheld-device: --scale takes 1 to %d\n", device::DeviceFrame::kMaxScale);
        return 2;
      }
    }
    else if (arg == "--init") initOnly = true;
    else if (arg == "--no-startup") options.startupPrograms = false;
    else if (arg == "--install") {
      installFile = value();
      installPath = value();
    }
    else if (arg == "--ready-fd") readyFd = std::atoi(value().c_str());
    else if (arg == "--end-with") {
      endWith = static_cast<pid_t>(std::atoll(value().c_str()));
      if (endWith <= 0) {
        std::fprintf(stderr, "handheld-device: --end-with takes a process id\n");
        return 2;
      }
    }
    else if (arg == "--help" || arg == "-h") { usage(); return 0; }
    else {
      std::fprintf(stderr, "handheld-device: unknown argument %s (see --help)\n", arg.c_str());
      return 2;
    }
  }
  os::raiseDescriptorLimit();  // every client holds descriptors here; its programs inherit it
  options.root = os::chooseDeviceRoot(rootArg);
  // Everything in this process that maps device paths uses this root.
  setenv("HANDHELD_ROOT", options.root.c_str(), 1);

  std::string error;
  auto fail = [&error] {
    std::fprintf(stderr, "handheld-device: %s\n", error.c_str());
    return 1;
  };
  if (!rootIsWritable(options.root, error) || !device::prepareDeviceRoot(options.root, error)) return fail();
  if (initOnly || installFile) {
    if (!device::layOutDeviceImage(error)) return fail();
    if (installFile && !device::installProgram(*installFile, *installPath, error)) return fail();
    return 0;
  }

  std::string lockNote;
  os::UniqueFd lock = takeLock(options.root, error, lockNote);
  if (!lock) {
    std::fprintf(stderr, "handheld-device: %s\n", error.c_str());
    return 1;
  }

  device::Log log;
  bool foreground = readyFd < 0;
  if (!log.open(options.root, foreground, error)) return fail();
  if (!device::layOutDeviceImage(error)) {
    log.write(error);  // in the foreground that says it on stderr too
    return foreground ? 1 : fail();
  }
  if (!lockNote.empty()) log.write(lockNote);

  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGHUP);
  sigprocmask(SIG_BLOCK, &signals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  // The device ends with that process: a descriptor of it becomes readable when it has ended.
  os::UniqueFd endWithFd;
  if (endWith > 0) {
    endWithFd = os::UniqueFd(static_cast<int>(syscall(SYS_pidfd_open, endWith, 0)));
    if (!endWithFd) {
      error = "the process to end with (" + std::to_string(endWith) + ") is gone";
      log.write(error);
      return fail();
    }
  }

  device::Device dev(options, log);
  if (!dev.start(error)) {
    log.write(error);
    std::fprintf(stderr, "handheld-device: %s\n", error.c_str());
    return 1;
  }
  os::UniqueFd signalFd(signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK));
  dev.loop().watch(signalFd.get(), EPOLLIN, [&](uint32_t) {
    signalfd_siginfo info;
    while (::read(signalFd.get(), &info, sizeof info) == sizeof info) {
    }
    dev.requestStop();
  });
  if (endWithFd) {
    dev.loop().watch(endWithFd.get(), EPOLLIN, [&](uint32_t) {
      log.write("process " + std::to_string(endWith) + " ended; the device stops with it");
      dev.requestStop();
    });
  }
  log.write("device started on " + options.root.string() +
            (options.headless ? " (headless)" : " (desktop window)"));
  if (readyFd >= 0) {
    // In the background the log takes what would go to a terminal, ours and our programs'.
    log.captureStdio();
    char ready = 1;
    [[maybe_unused]] ssize_t n = ::write(readyFd, &ready, 1);
    ::close(readyFd);
  }
  dev.run();
  ::unlink(os::deviceSocketPath(options.root).c_str());
  log.write("device stopped");
  return 0;
}
