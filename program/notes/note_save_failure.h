// Telling the user that a note could not be saved or opened, and why.
#pragma once

#include <windows.h>

#include <string>

// The error a save reports when every note file name is taken.
inline constexpr DWORD kNoFreeNoteName = ERROR_FILE_EXISTS;

// The message box text for a save that failed with `error`.
std::u16string SaveFailureText(DWORD error);

// Shows the text in a message box captioned "VORLA Pinnotes" without waiting for it: the box
// runs on a thread of its own, so that its modal loop cannot let anything delete the note
// window object while that object is still saving.
void ShowSaveFailure(DWORD error);

// The message box text for a note whose file could not be read.
std::u16string OpenFailureText();
// Shows it the same way.
void ShowOpenFailure();
