// handheld-device: the device server of one device root.
#include <fcntl.h>
#include <signal.h>
#include <sys/epoll.h>
#include <sys/file.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "device.h"
#include "device_image.h"
#include "display/device_frame.h"
#include "os/descriptor_limit.h"
#include "os/device_root.h"

using namespace handheld;

namespace {

void usage() {
  std::puts(
      "usage: handheld-device [--root DIR] [--headless] [--screen MODE] [--scale N] [--init]\n"
      "Runs the device server of one device root until it is stopped (or its window closed).\n"
      "  --root DIR       device root (default: $HANDHELD_ROOT or $XDG_DATA_HOME/handheld/default)\n"
      "  --headless       no desktop window\n"
      "  --screen MODE    qvga, vga, qvga-landscape or vga-landscape (default qvga)\n"
      "  --scale N        the desktop window's zoom, 1-4 (default 2 for QVGA, 1 for VGA)\n"
      "  --init           lay out the device image and exit\n"
      "  --ready-fd N     write one byte to descriptor N once requests are accepted\n"
      "Most people start it with `handheld-ctl start` or `make run`.");
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<std::string> rootArg;
  device::DeviceOptions options;
  options.headless = false;
  bool initOnly = false;
  int readyFd = -1;
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
    else if (arg == "--ready-fd") readyFd = std::atoi(value().c_str());
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
  if (!device::layOutDeviceImage(options.root, error)) {
    std::fprintf(stderr, "handheld-device: %s\n", error.c_str());
    return 1;
  }
  if (initOnly) return 0;

  // One server per root: the lock is held for the server's life and dies with it.
  auto lockPath = os::deviceStateFile(options.root, "lock");
  os::UniqueFd lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (!lock || flock(lock.get(), LOCK_EX | LOCK_NB) != 0) {
    std::fprintf(stderr, "handheld-device: a device is already running on %s\n", options.root.c_str());
    return 1;
  }

  device::Log log;
  bool foreground = readyFd < 0;
  log.open(os::deviceStateFile(options.root, "device.log"), foreground);

  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGHUP);
  sigprocmask(SIG_BLOCK, &signals, nullptr);
  signal(SIGPIPE, SIG_IGN);

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
  log.write("device started on " + options.root.string() +
            (options.headless ? " (headless)" : " (desktop window)"));
  if (readyFd >= 0) {
    // In the background the log takes what would go to a terminal, ours and our programs'.
    if (log.fd() >= 0) {
      dup2(log.fd(), 1);
      dup2(log.fd(), 2);
    }
    char ready = 1;
    [[maybe_unused]] ssize_t n = ::write(readyFd, &ready, 1);
    ::close(readyFd);
  }
  dev.run();
  ::unlink(os::deviceSocketPath(options.root).c_str());
  log.write("device stopped");
  return 0;
}
