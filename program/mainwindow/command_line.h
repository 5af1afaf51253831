// The program's command line: "", "showall", "addnew", "AppRunAtTime" or a note file's path,
// compared whole and case-sensitively.
#pragma once

#include <windows.h>

class NoteApp;

// First instance: posts the request to its own main window. Nothing for "AppRunAtTime" when
// the expiry check at the window's creation already raised a note.
void DispatchCommandLine(HWND mainWindow, LPCWSTR commandLine, bool alarmedAtCreation);

// Second instance: posts the request to the running instance. Only "AppRunAtTime" keeps its
// meaning; anything else shows all notes, or makes a new recording note when the record
// button is held and the "RecBtn" setting is on.
void ForwardCommandLine(HWND runningWindow, LPCWSTR commandLine, NoteApp& app);
