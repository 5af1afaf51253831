// A second start of the viewer hands its command line to the running one and ends: only
// integers cross between processes in a message, so the text travels in a named block of
// the sender's ("PegHelp request <process id>") that lives while the sender waits for the
// answer to the registered message "PegHelpOpen" (wParam: the sender's process id).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace handheld::peghelp {

UINT openRequestMessage();
// True when the running viewer took the command line.
bool forwardCommandLine(HWND running, std::u16string_view commandLine);
// The command line a sender left for us, read while it waits.
std::optional<std::u16string> takeForwardedCommandLine(WPARAM senderProcessId);

}  // namespace handheld::peghelp
