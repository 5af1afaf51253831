#include "app/app_references.h"

NoteApp* theNoteApp = nullptr;
NoteStore* theNoteStore = nullptr;
HWND theMainWindow = nullptr;
ScreenMetrics theScreen;
