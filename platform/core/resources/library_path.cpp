#include "resources/library_path.h"

#include <system_error>
#include <vector>

#include "os/device_root.h"
#include "strings/case_fold.h"
#include "strings/utf.h"

namespace handheld::resources {

namespace {

// The entry of `folder` named `name`: the exact spelling first, then any case.
std::optional<std::filesystem::path> findEntry(const std::filesystem::path& folder,
                                               const std::u16string& name) {
  auto hostName = strings::toUtf8Strict(name);
  if (!hostName) return std::nullopt;
  std::error_code error;
  std::filesystem::path exact = folder / *hostName;
  if (std::filesystem::exists(exact, error)) return exact;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (strings::equalNoCase(strings::fromUtf8(entry.path().filename().string()), name)) {
      return entry.path();
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::filesystem::path> libraryHostPath(std::u16string_view devicePath) {
  std::u16string path(devicePath);
  if (path.find_first_of(u"\\/") == std::u16string::npos) path = u"\\Windows\\" + path;
  std::vector<std::u16string> names;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of(u"\\/", start);
    if (end == std::u16string::npos) end = path.size();
    std::u16string name = path.substr(start, end - start);
    start = end + 1;
    if (name.empty() && names.empty()) continue;  // the leading separator
    // Nothing may lead outside the device root.
    if (name.empty() || name == u"." || name == u".." || name.find(u'\0') != std::u16string::npos) {
      return std::nullopt;
    }
    names.push_back(std::move(name));
  }
  if (names.empty()) return std::nullopt;
  std::filesystem::path host = os::chooseDeviceRoot();
  for (const auto& name : names) {
    auto next = findEntry(host, name);
    if (!next) return std::nullopt;
    host = *next;
  }
  std::error_code error;
  if (!std::filesystem::is_regular_file(host, error)) return std::nullopt;
  return host;
}

}  // namespace handheld::resources
