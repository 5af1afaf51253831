#include "private_x_server.h"

#include <X11/Xlib.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace handheld::testing {

PrivateXServer::PrivateXServer() {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return;
  const pid_t child = fork();
  if (child == 0) {
    // Xvfb writes the display number it took to this descriptor.
    fcntl(pipeFds[1], F_SETFD, 0);
    const std::string fd = std::to_string(pipeFds[1]);
    const int devnull = ::open("/dev/null", O_RDWR);
    dup2(devnull, 1);
    dup2(devnull, 2);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  ::close(pipeFds[1]);
  std::string number;
  pollfd readable{pipeFds[0], POLLIN, 0};
  char c;
  while (child > 0 && ::poll(&readable, 1, 10000) > 0 && ::read(pipeFds[0], &c, 1) == 1 && c != '\n') number += c;
  ::close(pipeFds[0]);
  if (child <= 0) return;
  if (number.empty()) {
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    return;
  }
  pid_ = child;
  display_ = ":" + number;
  setenv("DISPLAY", display_.c_str(), 1);
  unsetenv("WAYLAND_DISPLAY");
}

PrivateXServer::~PrivateXServer() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}

bool PrivateXServer::closeWindowTitled(const std::string& title) const {
  Display* display = XOpenDisplay(display_.c_str());
  if (!display) return false;
  ::Window root = DefaultRootWindow(display), parent, *children = nullptr;
  unsigned count = 0;
  bool sent = false;
  if (XQueryTree(display, root, &root, &parent, &children, &count)) {
    for (unsigned i = 0; i < count && !sent; ++i) {
      char* name = nullptr;
      if (XFetchName(display, children[i], &name) && name && title == name) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = children[i];
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        sent = XSendEvent(display, children[i], False, NoEventMask, &event) != 0;
      }
      if (name) XFree(name);
    }
    if (children) XFree(children);
  }
  XFlush(display);
  XCloseDisplay(display);
  return sent;
}

}  // namespace handheld::testing
