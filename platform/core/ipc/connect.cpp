#include "ipc/connect.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "ipc/channel.h"
#include "kernel/error_text.h"
#include "os/device_root.h"
#include "winerror.h"

namespace handheld::ipc {

std::optional<Greeting> connectToDevice(const std::filesystem::path& root, ClientKind kind,
                                        std::string& error, bool* noDevice) {
  if (noDevice) *noDevice = false;
  auto path = os::deviceSocketPath(root);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (path.native().size() >= sizeof(addr.sun_path)) {
    error = "the device root path is too long for its socket: " + root.string();
    return std::nullopt;
  }
  std::strcpy(addr.sun_path, path.c_str());
  Greeting greeting;
  greeting.socket.reset(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (!greeting.socket) {
    error = std::string("socket: ") + std::strerror(errno);
    return std::nullopt;
  }
  int rc;
  do {
    rc = ::connect(greeting.socket.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    // No socket, or one a device that ended left behind: nothing runs. Anything else (a root
    // this user may not enter, say) is no proof of that and is told as it is.
    const int why = errno;
    const bool nothing = why == ENOENT || why == ECONNREFUSED;
    if (noDevice) *noDevice = nothing;
    error = why == EAGAIN ? "the device on " + root.string() + " has too many connections waiting; try again"
            : nothing     ? "no device is running on " + root.string()
                          : "cannot reach the device at " + root.string() + ": " +
                                (why == EACCES || why == EPERM ? "permission denied" : std::strerror(why));
    return std::nullopt;
  }
  Hello::Request hello{kind, static_cast<uint32_t>(getpid()), kProtocolVersion};
  WireWriter writer;
  encode(writer, hello);
  auto packet = buildPacket(static_cast<uint16_t>(Op::Hello), 0, 0, writer);
  Packet answer;
  // A device that refuses the connection answers before the greeting and closes, so its
  // answer is read even when the greeting could not be sent.
  if (!packet) {
    error = "cannot build the greeting";
    return std::nullopt;
  }
  sendPacketBlocking(greeting.socket.get(), *packet);
  if (receivePacketBlocking(greeting.socket.get(), answer) != IoResult::Done ||
      (answer.flags & kError) ||
      !decode(answer.body.data(), answer.body.size(), &answer.fds, greeting.reply)) {
    error = answer.descriptorsLost ? std::string("this process has no descriptor left for the device")
                                   : "the device on " + root.string() + " did not answer the greeting";
    return std::nullopt;
  }
  if (greeting.reply.error == ERROR_REQ_NOT_ACCEP) {
    error = "the device on " + root.string() + " refused the connection: this user has as many connections as it allows";
    return std::nullopt;
  }
  if (greeting.reply.error != 0) {
    error = "the device refused the connection: " + kernel::describeError(greeting.reply.error);
    return std::nullopt;
  }
  return greeting;
}

}  // namespace handheld::ipc
