// A window's text as DefWindowProcW keeps it; top-level titles are mirrored in the server.
#pragma once

#include <windows.h>

#include <string>

namespace handheld::user {

void storeWindowText(HWND window, std::u16string text);

}  // namespace handheld::user
