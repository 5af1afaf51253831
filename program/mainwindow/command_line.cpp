#include "mainwindow/command_line.h"

#include "app/commands.h"
#include "app/note_app.h"
#include "mainwindow/main_window.h"
#include "pinnotes/crossing_names.h"

namespace {

bool is(LPCWSTR commandLine, LPCWSTR word) { return lstrcmpW(commandLine, word) == 0; }

}  // namespace

void DispatchCommandLine(HWND mainWindow, LPCWSTR commandLine, bool alarmedAtCreation) {
  if (commandLine[0] == 0 || is(commandLine, CrossingNames::kShowAllWord)) {
    PostMessageW(mainWindow, PNM_SHOW_ALL, 0, 0);
  } else if (is(commandLine, CrossingNames::kAddNewWord)) {
    PostMessageW(mainWindow, PNM_ADD_NEW, 0, 0);
  } else if (is(commandLine, CrossingNames::kRunAtTimeWord)) {
    if (!alarmedAtCreation) PostMessageW(mainWindow, PNM_NOTE_DUE, 0, 0);
  } else {
    // The command line lives until the process ends, so its address can travel.
    MainWindow::acceptPathMessage(commandLine);
    PostMessageW(mainWindow, PNM_OPEN_NOTE_PATH, reinterpret_cast<WPARAM>(commandLine), 0);
  }
}

void ForwardCommandLine(HWND runningWindow, LPCWSTR commandLine, NoteApp& app) {
  // The shell starts the program again when the record button is pressed; the button is
  // looked at before anything else.
  const DWORD recordKey = app.RecordButtonKey();
  const bool recordButtonHeld = (GetKeyState(static_cast<int>(recordKey)) & 0x8000) != 0;
  if (is(commandLine, CrossingNames::kRunAtTimeWord)) {
    PostMessageW(runningWindow, PNM_NOTE_DUE, 0, 0);
  } else if (recordButtonHeld && app.recordButton()) {
    PostMessageW(runningWindow, WM_HOTKEY, 0, static_cast<LPARAM>(recordKey) << 16);
  } else {
    PostMessageW(runningWindow, PNM_SHOW_ALL, 0, 0);
  }
}
