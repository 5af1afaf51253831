#include "startup_programs.h"

#include <algorithm>

#include "strings/utf.h"

namespace handheld::device {

namespace {

constexpr std::u16string_view kInitKey = u"Init";
constexpr std::u16string_view kLaunchPrefix = u"Launch";
constexpr uint32_t kMaxOrder = 99;
constexpr size_t kMaxPathChars = 260;

// "Launch<n>" with n of one or two decimal digits; nullopt for any other name.
std::optional<uint32_t> launchOrder(std::u16string_view name) {
  if (name.size() <= kLaunchPrefix.size() || name.size() > kLaunchPrefix.size() + 2) return std::nullopt;
  for (size_t i = 0; i < kLaunchPrefix.size(); ++i)
    if ((name[i] | 0x20) != (kLaunchPrefix[i] | 0x20)) return std::nullopt;
  uint32_t order = 0;
  for (char16_t c : name.substr(kLaunchPrefix.size())) {
    if (c < u'0' || c > u'9') return std::nullopt;
    order = order * 10 + static_cast<uint32_t>(c - u'0');
  }
  return order <= kMaxOrder ? std::optional<uint32_t>(order) : std::nullopt;
}

}  // namespace

std::vector<StartupEntry> readStartupList(const registry::RegistryStore& store) {
  std::vector<StartupEntry> entries;
  for (DWORD index = 0;; ++index) {
    auto value = store.enumValue(registry::Root::LocalMachine, kInitKey, index);
    if (value.status != ERROR_SUCCESS) break;
    auto order = launchOrder(value.name);
    if (!order || value.type != REG_SZ) continue;
    // The stored bytes are UTF-16, usually with their terminator; an odd byte is dropped.
    std::u16string path(value.data.size() / 2, u'\0');
    for (size_t i = 0; i < path.size(); ++i)
      path[i] = static_cast<char16_t>(value.data[2 * i] | (value.data[2 * i + 1] << 8));
    path.resize(std::min(path.find(u'\0'), path.size()));
    if (path.empty() || path.size() > kMaxPathChars) continue;
    entries.push_back({*order, std::move(path)});
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const StartupEntry& a, const StartupEntry& b) { return a.order < b.order; });
  return entries;
}

StartupPrograms::StartupPrograms(Server& server, ProcessService& processes, registry::RegistryStore& store)
    : server_(server), processes_(processes), store_(store) {
  processes_.onExit([this](uint32_t pid) {
    if (started_.erase(pid))
      server_.log().write("start-up program (process " + std::to_string(pid) + ") ended; the device goes on");
  });
}

void StartupPrograms::launchAll() {
  for (const auto& entry : readStartupList(store_)) {
    uint32_t pid = 0;
    const uint32_t error = processes_.launch(entry.path, u"", pid);
    if (error) {
      server_.log().write("start-up program " + strings::toUtf8(entry.path) + " did not start: error " +
                          std::to_string(error));
      continue;
    }
    started_.insert(pid);
  }
}

}  // namespace handheld::device
