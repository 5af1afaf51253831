#include "item_libraries.h"

#include <cstdarg>
#include <cstdio>
#include <set>

#include "strings/utf.h"

namespace handheld::shell {
namespace {

// Device paths compare without regard to case.
std::u16string foldPath(const std::u16string& path) {
  std::u16string folded = path;
  for (char16_t& c : folded)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return folded;
}

std::set<std::u16string>& brokenLibraries() {
  static std::set<std::u16string> libraries;
  return libraries;
}

}  // namespace

void logToday(const char* format, ...) {
  char line[1024];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(line, sizeof(line), format, arguments);
  va_end(arguments);
  std::fprintf(stderr, "shell: today: %s\n", line);
  std::fflush(stderr);
}

std::string utf8(const std::u16string& text) { return strings::toUtf8(text); }

std::string faultName(int signal) { return signal ? "signal " + std::to_string(signal) : "an exception"; }

bool isBrokenLibrary(const std::u16string& dll) { return brokenLibraries().count(foldPath(dll)) != 0; }

void markBrokenLibrary(const std::u16string& dll) { brokenLibraries().insert(foldPath(dll)); }

void rebuildTodayScreens() {
  for (HWND screen : todayScreens()) PostMessageW(screen, kTodayRebuild, 0, 0);
}

}  // namespace handheld::shell
