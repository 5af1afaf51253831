// Any bytes as the image-links record: each link read is a whole line's path and target.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "os/image_links.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const auto& link : handheld::os::parseImageLinks(text)) {
    if (link.path.empty() || link.target.empty()) std::abort();
    if (link.path.find_first_of("\t\n") != std::string::npos) std::abort();
    if (link.target.find('\n') != std::string::npos) std::abort();
    if (text.find(link.path + '\t' + link.target + '\n') == std::string_view::npos) std::abort();
  }
  return 0;
}
