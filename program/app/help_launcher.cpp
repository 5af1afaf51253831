#include "app/help_launcher.h"

#include <string>

namespace {

constexpr WCHAR kHelpViewer[] = u"PegHelp.exe";
constexpr size_t kCommandLineCapacity = 260;

}  // namespace

bool OpenHelp(LPCWSTR fileName, LPCWSTR anchor) {
  std::u16string commandLine = u"file:";
  commandLine += fileName ? fileName : u"";
  if (anchor) {
    commandLine += u"#";
    commandLine += anchor;
  }
  if (commandLine.size() >= kCommandLineCapacity) commandLine.resize(kCommandLineCapacity - 1);
  PROCESS_INFORMATION started = {};
  if (!CreateProcessW(kHelpViewer, commandLine.c_str(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      nullptr, &started)) {
    return false;
  }
  // Nobody waits for the viewer, so its handles are not kept.
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}
