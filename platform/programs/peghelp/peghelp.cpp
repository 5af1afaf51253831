// The help viewer (\Windows\PegHelp.exe): shows one topic of an HTML help file, named on the
// command line as "file:NAME#ANCHOR" (NAME in \Windows, or a full device path), and follows
// the file's links. A second start shows its topic in the viewer already running.
#include <windows.h>

#include <string>

#include "help_view.h"
#include "strings/utf.h"
#include "viewer_request.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
  using namespace handheld::peghelp;
  const std::u16string_view line = commandLine ? std::u16string_view(commandLine) : std::u16string_view();
  logLine("command line \"" + handheld::strings::toUtf8(line) + "\"");
  if (HWND running = FindWindowW(kViewerClass, nullptr)) {
    if (forwardCommandLine(running, line)) return 0;
    logLine("the running viewer did not take the command line; showing it here");
  }
  HelpViewer viewer(instance, helpWorkArea());
  viewer.openCommandLine(line);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
