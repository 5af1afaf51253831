// Process-wide references, set during start-up and valid until shutdown.
#pragma once

#include <windows.h>

class NoteApp;
class NoteStore;

extern NoteApp* theNoteApp;
extern NoteStore* theNoteStore;
// The main window; in a second instance, the first instance's.
extern HWND theMainWindow;

// Every position and size is a multiple of the border width and height (1 on ordinary
// screens, 2 on high-resolution ones), read once at start with the screen size.
struct ScreenMetrics {
  int scaleX = 1;
  int scaleY = 1;
  int width = 0;
  int height = 0;

  // `units` border widths or heights in pixels.
  int x(int units) const { return units * scaleX; }
  int y(int units) const { return units * scaleY; }
};
extern ScreenMetrics theScreen;
