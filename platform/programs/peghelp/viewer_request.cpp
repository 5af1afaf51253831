#include "viewer_request.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace handheld::peghelp {

namespace {

constexpr DWORD kBlockBytes = 4096;
constexpr size_t kMaxUnits = (kBlockBytes - sizeof(uint32_t)) / sizeof(char16_t);

std::u16string blockName(DWORD processId) {
  std::u16string name = u"PegHelp request ";
  for (char c : std::to_string(processId)) name += static_cast<char16_t>(c);
  return name;
}

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct ViewUnmapper {
  void operator()(void* view) const { UnmapViewOfFile(view); }
};

}  // namespace

UINT openRequestMessage() {
  static const UINT message = RegisterWindowMessageW(u"PegHelpOpen");
  return message;
}

bool forwardCommandLine(HWND running, std::u16string_view commandLine) {
  std::unique_ptr<void, HandleCloser> block(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                               kBlockBytes, blockName(GetCurrentProcessId()).c_str()));
  if (!block) return false;
  std::unique_ptr<void, ViewUnmapper> view(MapViewOfFile(block.get(), FILE_MAP_WRITE, 0, 0, kBlockBytes));
  if (!view) return false;
  const auto units = static_cast<uint32_t>(std::min(commandLine.size(), kMaxUnits));
  auto* bytes = static_cast<unsigned char*>(view.get());
  std::memcpy(bytes, &units, sizeof units);
  std::memcpy(bytes + sizeof units, commandLine.data(), units * sizeof(char16_t));
  return SendMessageW(running, openRequestMessage(), GetCurrentProcessId(), 0) == 1;
}

std::optional<std::u16string> takeForwardedCommandLine(WPARAM senderProcessId) {
  std::unique_ptr<void, HandleCloser> block(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                               kBlockBytes,
                                                               blockName(static_cast<DWORD>(senderProcessId)).c_str()));
  // A block made just now is no sender's.
  if (!block || GetLastError() != ERROR_ALREADY_EXISTS) return std::nullopt;
  std::unique_ptr<void, ViewUnmapper> view(MapViewOfFile(block.get(), FILE_MAP_READ, 0, 0, kBlockBytes));
  if (!view) return std::nullopt;
  const auto* bytes = static_cast<const unsigned char*>(view.get());
  uint32_t units = 0;
  std::memcpy(&units, bytes, sizeof units);
  std::u16string text(std::min<size_t>(units, kMaxUnits), u'\0');
  std::memcpy(text.data(), bytes + sizeof units, text.size() * sizeof(char16_t));
  return text;
}

}  // namespace handheld::peghelp
