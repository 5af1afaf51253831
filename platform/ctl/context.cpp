#include <cstdio>
#include <cstdlib>

#include "commands.h"
#include "kernel/error_text.h"

namespace handheld::ctl {

automation::AutomationClient& Context::device() {
  if (!client_) {
    std::string error;
    bool noDevice = false;
    client_ = automation::AutomationClient::connect(root_, error, &noDevice);
    if (!client_) {
      fail(noDevice ? error + " (start it with `handheld-ctl start`)" : error);
      std::exit(1);
    }
  }
  return *client_;
}

int fail(const std::string& message, int code) {
  std::fprintf(stderr, "handheld-ctl: %s\n", message.c_str());
  return code;
}

int refused(uint32_t error, const std::string& words) {
  return fail("refused: " + kernel::describeError(error, words));
}

std::optional<uint64_t> parseNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  size_t used = 0;
  try {
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    uint64_t value = std::stoull(hex ? text.substr(2) : text, &used, hex ? 16 : 10);
    if (used != text.size() - (hex ? 2 : 0) || text[0] == '-') return std::nullopt;
    return value;
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace handheld::ctl
