// Connecting to a device server and greeting it: the first exchange of every client.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "ipc/protocol.h"
#include "os/unique_fd.h"

namespace handheld::ipc {

struct Greeting {
  os::UniqueFd socket;
  Hello::Reply reply;
};

// Fails with a reason a person can act on (no device running, no access to it, refused, ...);
// `noDevice`, when given, is set when nothing listens on the root at all.
std::optional<Greeting> connectToDevice(const std::filesystem::path& root, ClientKind kind,
                                        std::string& error, bool* noDevice = nullptr);

}  // namespace handheld::ipc
