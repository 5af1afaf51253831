#include "mainwindow/main_window.h"

#include "app/app_references.h"
#include "app/commands.h"
#include "app/note_app.h"
#include "notes/note_store.h"
#include "pinnotes/crossing_names.h"
#include "pinnotes/unique_handle.h"
#include "resources/resource.h"

bool MainWindow::registerClass(HINSTANCE instance) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PINNOTES));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = CrossingNames::kMainWindowClass;
  return RegisterClassW(&windowClass) != 0;
}

HWND MainWindow::create(HINSTANCE instance, BYTE* alarmedAtCreation) {
  return CreateWindowExW(0, CrossingNames::kMainWindowClass, CrossingNames::kWindowTitle, 0, 0, 0,
                         0, 0, nullptr, nullptr, instance, alarmedAtCreation);
}

void MainWindow::onCreate(HWND window, const CREATESTRUCTW& creation) {
  theNoteStore->setMainWindow(window);
  theNoteStore->setTodayWindow(
      FindWindowW(CrossingNames::kTodayWindowClass, CrossingNames::kWindowTitle));
  theNoteStore->listChanged();
  bool alarmed = false;
  if (theNoteApp->notify() || NoteApp::todayItemEnabled()) {
    alarmed = theNoteStore->ExpiryCheck(false);
  }
  if (auto* result = static_cast<BYTE*>(creation.lpCreateParams)) *result = alarmed ? 1 : 0;
}

void MainWindow::onCommand(HWND window, WORD command) {
  switch (command) {
    case IDM_NEWNOTE:
      theNoteStore->newNote(FALSE);
      break;
    case IDM_SHOWALL:
      theNoteStore->showAll();
      break;
    case IDM_ABOUT:
      showAbout();
      break;
    case IDM_OPTIONS:
      theNoteStore->openOptions(window);
      break;
    case IDM_EXIT:
      end(window);
      break;
    default:
      if (command >= IDM_NOTE_FIRST) theNoteStore->openNoteAt(command - IDM_NOTE_FIRST);
      break;
  }
}

void MainWindow::showAbout() {
  // The main window is never shown, so the box goes over the program's window in front.
  HWND owner = GetForegroundWindow();
  DWORD process = 0;
  if (!owner || GetWindowThreadProcessId(owner, &process) == 0 || process != GetCurrentProcessId()) {
    owner = theNoteStore->window();
  }
  MessageBoxW(owner, kAboutText, kAboutCaption, MB_OK | MB_ICONINFORMATION);
}

void MainWindow::end(HWND window) {
  // An open note ends as on its "ok" first, so that it is saved; when that fails the note is
  // shown again and the program goes on, so that the edits are not lost.
  if (theNoteStore->closeNoteWindow()) DestroyWindow(window);
}

void MainWindow::openMappedNote() {
  // The Today item holds the block open while it waits for this message to return.
  const UniqueHandle map(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                             CrossingNames::kNoteStateMapBytes,
                                             CrossingNames::kNoteStateMap));
  if (!map.isOpen()) return;
  if (const void* view = MapViewOfFile(map.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0)) {
    // The block need not be terminated; the path is taken up to MAX_PATH - 1 units.
    WCHAR path[MAX_PATH];
    lstrcpynW(path, static_cast<LPCWSTR>(view), MAX_PATH);
    UnmapViewOfFile(view);
    theNoteStore->openNoteByPath(path);
  }
}

LRESULT CALLBACK MainWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      onCreate(window, *reinterpret_cast<const CREATESTRUCTW*>(lParam));
      return 0;
    case WM_CLOSE:
      end(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == 0) onCommand(window, LOWORD(wParam));
      return 0;
    case WM_HOTKEY:
      if (HIWORD(lParam) == theNoteApp->RecordButtonKey()) {
        if (HWND note = theNoteStore->newNote(TRUE)) SetForegroundWindow(note);
      }
      return 0;
    case PNM_CLOSE_ALL_NOTES:
      theNoteStore->closeAll();
      return 0;
    case PNM_NOTE_SAVED:
      if (theSavedNotePath.take(lParam)) {
        theNoteStore->noteSaved(wParam == 1, reinterpret_cast<LPCWSTR>(lParam));
      }
      return 0;
    case PNM_NOTE_CLOSED:
      theNoteStore->showAll();
      theNoteStore->noteWindowClosed();
      return 0;
    case PNM_NOTE_OPENING:
    case PNM_SHOW_ALL:
      theNoteStore->showAll();
      return 0;
    case PNM_OPEN_MAPPED_NOTE:
      openMappedNote();
      return 0;
    case PNM_OPEN_NOTE_PATH:
      if (ownPath_.take(static_cast<LPARAM>(wParam))) {
        theNoteStore->openNoteByPath(reinterpret_cast<LPCWSTR>(wParam));
      }
      return 0;
    case PNM_NOTE_DUE:
      theNoteStore->ExpiryCheck(true);
      return 0;
    case PNM_ADD_NEW:
      theNoteStore->newNote(FALSE);
      return 0;
    case PNM_SETTINGS_CHANGED:
      theNoteStore->applyOptions();
      theNoteApp->signalChange();
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}
