// What ShellExecuteEx runs for a file and its parameters: the program (a device path) and its
// command line. Kept apart from the registry and the launcher so the rules can be checked
// alone.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace handheld::shellsvc {

inline constexpr std::u16string_view kBrowser = u"\\Windows\\iexplore.exe";
inline constexpr std::u16string_view kHelpViewer = u"\\Windows\\PegHelp.exe";
inline constexpr std::u16string_view kMailComposer = u"\\Windows\\TMail.exe";
inline constexpr std::u16string_view kMailFallback = u"\\Windows\\PMail.exe";

struct Associations {
  // The open command HKEY_CLASSES_ROOT gives for an extension with its dot (".stk").
  std::function<std::optional<std::u16string>(std::u16string_view extension)> openCommand;
  // Whether a device file exists.
  std::function<bool(std::u16string_view devicePath)> exists;
};

struct Launch {
  std::u16string program;
  std::u16string arguments;
};

struct Resolution {
  std::optional<Launch> launch;
  DWORD error = 0;  // when there is no launch: ERROR_NO_ASSOCIATION, ERROR_FILE_NOT_FOUND, ...
};

// Web addresses ("http:", "https:", "www.") open in the browser, "mailto:" in the mail
// composer as -to "<address>", "file:" help topics in the help viewer; a program (".exe")
// runs with the parameters; any other file opens with its extension's command, "%1" standing
// for the file. A program that is no device path (a host path, a drive, "." or "..") is
// refused with ERROR_ACCESS_DENIED.
Resolution resolveTarget(std::u16string_view file, std::u16string_view parameters, const Associations& associations);

// The SE_ERR_ code ShellExecuteEx puts in hInstApp for an error.
int shellErrorFor(DWORD error);

}  // namespace handheld::shellsvc
