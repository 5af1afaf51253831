#include "help_file.h"

#include <windows.h>

#include <memory>

#include "help_text.h"
#include "help_topic.h"
#include "kernel/error_text.h"
#include "strings/utf.h"

namespace handheld::peghelp {

namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

std::string escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '"') out += "&quot;";
    else out += c;
  }
  return out;
}

// The file's bytes, or the reason there are none.
std::string readHelpFile(const std::u16string& path, std::string& bytes) {
  HANDLE raw = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (raw == INVALID_HANDLE_VALUE) return "it cannot be opened: " + kernel::describeError(GetLastError());
  FileHandle file(raw);
  DWORD high = 0;
  const DWORD low = GetFileSize(raw, &high);
  if (high != 0 || low > kMaxHelpFileBytes)
    return "it is larger than " + std::to_string(kMaxHelpFileBytes / 1024) + " KiB";
  bytes.resize(low);
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!ReadFile(raw, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr))
      return "it cannot be read: " + kernel::describeError(GetLastError());
    if (got == 0) break;  // shorter now than when measured
    done += got;
  }
  bytes.resize(done);
  return {};
}

}  // namespace

LoadedTopic messagePage(const std::string& message) {
  LoadedTopic page;
  page.message = message;
  page.html = "<!DOCTYPE html><html><head><title>Help</title></head><body><h3>Help is not available</h3><p>" +
              escaped(message) + "</p></body></html>";
  return page;
}

bool helpFileExists(const std::u16string& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

LoadedTopic loadTopic(const HelpAddress& address) {
  const std::string file = strings::toUtf8(address.file);
  std::string bytes;
  if (std::string failure = readHelpFile(address.file, bytes); !failure.empty())
    return messagePage("The help file " + file + " cannot be shown: " + failure + ".");
  HelpText text = decodeHelpBytes(bytes);
  if (!text.refusal.empty()) return messagePage("The help file " + file + " cannot be shown: " + text.refusal + ".");
  HelpTopic topic = extractTopic(text.utf8, strings::toUtf8(address.anchor));
  if (!topic.refusal.empty()) return messagePage("The help file " + file + " cannot be shown: " + topic.refusal + ".");
  if (!topic.found)
    return messagePage("The help file " + file + " has no topic \"" + strings::toUtf8(address.anchor) + "\".");
  return {std::move(topic.html), std::move(topic.title), {}};
}

}  // namespace handheld::peghelp
