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

// Fails with a reason a person can act on (no device running, refused, ...).
std::optional<Greeting> connectToDevice(const std::filesystem::path& root, ClientKind kind,
                                        std::string& error);

}  // namespace handheld::ipc
