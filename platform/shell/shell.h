// The shell's windows and what its parts ask of each other.
#pragma once

#include <windows.h>

#include <string>

namespace handheld::shell {

inline constexpr const char16_t* kNavigationBarClass = u"ShellNavigationBar";
inline constexpr const char16_t* kDesktopClass = u"ShellDesktop";
inline constexpr const char16_t* kDesktopTitle = u"Today";

struct ShellWindows {
  HINSTANCE instance = nullptr;
  HWND navigationBar = nullptr;
  HWND desktop = nullptr;  // the Today screen's host, below the navigation bar
  HWND inputPanel = nullptr;
};
ShellWindows& shellWindows();

// Brings the Today screen in front of every program's window.
void showToday();
// Starts a device program without a command line; false when it did not start.
bool startProgram(const std::u16string& path);
// Sends WM_HELP with a HELPINFO to a program's window (another process's, usually).
void requestHelp(HWND target);
// The Settings sheet: the Today page and the Buttons page (modal).
void openSettings();

// navigation_bar.cpp
HWND createNavigationBar(HINSTANCE instance);
// The last window of another program that was in front, or null.
HWND lastProgramWindow();
// desktop.cpp
HWND createDesktop(HINSTANCE instance);
// Places the navigation bar and the desktop for the screen's current size.
void layoutShell();

}  // namespace handheld::shell
