#include "mainwindow/startup.h"

#include "app/app_references.h"
#include "app/note_app.h"
#include "mainwindow/command_line.h"
#include "mainwindow/ink_library.h"
#include "mainwindow/main_window.h"
#include "mainwindow/message_loop.h"
#include "notes/note_store.h"
#include "resources/resource.h"

namespace {

void readScreenMetrics() {
  theScreen.scaleX = GetSystemMetrics(SM_CXBORDER);
  theScreen.scaleY = GetSystemMetrics(SM_CYBORDER);
  theScreen.width = GetSystemMetrics(SM_CXSCREEN);
  theScreen.height = GetSystemMetrics(SM_CYSCREEN);
}

// Sets a process-wide reference for as long as its object lives.
template <typename T>
class Published {
 public:
  Published(T*& reference, T* object) : reference_(reference) { reference_ = object; }
  ~Published() { reference_ = nullptr; }
  Published(const Published&) = delete;
  Published& operator=(const Published&) = delete;

 private:
  T*& reference_;
};

// The one window of the given class and title.
HWND findMainWindow(HINSTANCE instance) {
  WCHAR className[100] = {};
  WCHAR title[100] = {};
  LoadStringW(instance, IDS_MAIN_WINDOW_CLASS, className, 100);
  LoadStringW(instance, IDS_APP_TITLE, title, 100);
  return FindWindowW(className, title);
}

}  // namespace

int RunPinnotes(HINSTANCE instance, LPCWSTR commandLine) {
  readScreenMetrics();
  // A second instance builds these too (the note store scans the folder) before it hands its
  // request on; they are destroyed in reverse order on every way out.
  NoteApp app;
  Published<NoteApp> publishedApp(theNoteApp, &app);
  NoteStore store(app);
  Published<NoteStore> publishedStore(theNoteStore, &store);
  app.setInstance(instance);
  StartInkLibrary();

  theMainWindow = findMainWindow(instance);
  if (theMainWindow) {
    ForwardCommandLine(theMainWindow, commandLine, app);
    return 0;
  }
  MainWindow::registerClass(instance);
  BYTE alarmedAtCreation = 0;
  theMainWindow = MainWindow::create(instance, &alarmedAtCreation);
  if (!theMainWindow) return 0;
  UpdateWindow(theMainWindow);
  DispatchCommandLine(theMainWindow, commandLine, alarmedAtCreation != 0);
  const int exitCode = RunMessageLoop(theMainWindow);
  theMainWindow = nullptr;
  return exitCode;
}
