#include "shellsvc/execute/shell_target.h"

#include <shellapi.h>

#include "strings/case_fold.h"

namespace handheld::shellsvc {

namespace {

bool startsWithNoCase(std::u16string_view text, std::u16string_view head) {
  return text.size() >= head.size() && strings::equalNoCase(text.substr(0, head.size()), head);
}

std::u16string_view trimmed(std::u16string_view text) {
  const size_t first = text.find_first_not_of(u' ');
  if (first == std::u16string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

// A device path names entries beneath the root only.
bool isDevicePath(std::u16string_view path) {
  if (path.empty() || path.front() == u'/' || path.find(u':') != std::u16string_view::npos) return false;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of(u"\\/", start);
    if (end == std::u16string_view::npos) end = path.size();
    const std::u16string_view name = path.substr(start, end - start);
    if (name == u"." || name == u"..") return false;
    start = end + 1;
  }
  return true;
}

// The extension with its dot, of the last name; empty when it has none.
std::u16string_view extensionOf(std::u16string_view path) {
  const size_t name = path.find_last_of(u"\\/");
  const size_t dot = path.rfind(u'.');
  if (dot == std::u16string_view::npos || (name != std::u16string_view::npos && dot < name)) return {};
  return path.substr(dot);
}

// The command's program, quoted or up to the first space, and the rest.
Launch splitCommand(std::u16string_view command) {
  command = trimmed(command);
  if (!command.empty() && command.front() == u'"') {
    const size_t close = command.find(u'"', 1);
    if (close == std::u16string_view::npos) return {std::u16string(command.substr(1)), {}};
    return {std::u16string(command.substr(1, close - 1)), std::u16string(trimmed(command.substr(close + 1)))};
  }
  const size_t space = command.find(u' ');
  if (space == std::u16string_view::npos) return {std::u16string(command), {}};
  return {std::u16string(command.substr(0, space)), std::u16string(trimmed(command.substr(space + 1)))};
}

std::u16string substituteFile(std::u16string_view command, std::u16string_view file) {
  std::u16string out;
  bool substituted = false;
  for (size_t i = 0; i < command.size(); ++i) {
    if (command[i] == u'%' && i + 1 < command.size() && command[i + 1] == u'1') {
      out += file;
      substituted = true;
      ++i;
    } else {
      out += command[i];
    }
  }
  // Device programs take their whole command line as the one file they open: no quotes.
  if (!substituted) out += u" " + std::u16string(file);
  return out;
}

Resolution launching(std::u16string program, std::u16string arguments) {
  if (!isDevicePath(program)) return {std::nullopt, ERROR_ACCESS_DENIED};
  return {Launch{std::move(program), std::move(arguments)}, 0};
}

}  // namespace

Resolution resolveTarget(std::u16string_view file, std::u16string_view parameters, const Associations& associations) {
  file = trimmed(file);
  if (file.empty()) return {std::nullopt, ERROR_FILE_NOT_FOUND};
  if (startsWithNoCase(file, u"mailto:")) {
    std::u16string_view address = file.substr(7);
    address = address.substr(0, address.find(u'?'));
    const bool composer = associations.exists(kMailComposer);
    return launching(std::u16string(composer ? kMailComposer : kMailFallback),
                     u"-to \"" + std::u16string(address) + u"\"");
  }
  if (startsWithNoCase(file, u"http:") || startsWithNoCase(file, u"https:") || startsWithNoCase(file, u"www."))
    return launching(std::u16string(kBrowser), std::u16string(file));
  if (startsWithNoCase(file, u"file:")) return launching(std::u16string(kHelpViewer), std::u16string(file));

  // A topic anchor is no part of the file's name.
  const std::u16string_view path = file.substr(0, file.find(u'#'));
  const std::u16string_view extension = extensionOf(path);
  if (strings::equalNoCase(extension, u".exe")) return launching(std::u16string(path), std::u16string(parameters));
  if (extension.empty()) return {std::nullopt, ERROR_NO_ASSOCIATION};
  auto command = associations.openCommand(extension);
  if (!command || trimmed(*command).empty()) return {std::nullopt, ERROR_NO_ASSOCIATION};
  if (!isDevicePath(path)) return {std::nullopt, ERROR_ACCESS_DENIED};
  if (!associations.exists(path)) return {std::nullopt, ERROR_FILE_NOT_FOUND};
  Launch launch = splitCommand(substituteFile(*command, file));
  return launching(std::move(launch.program), std::move(launch.arguments));
}

int shellErrorFor(DWORD error) {
  switch (error) {
    case ERROR_PATH_NOT_FOUND: return SE_ERR_PNF;
    case ERROR_ACCESS_DENIED: return SE_ERR_ACCESSDENIED;
    case ERROR_NO_ASSOCIATION: return SE_ERR_NOASSOC;
    default: return SE_ERR_FNF;
  }
}

}  // namespace handheld::shellsvc
