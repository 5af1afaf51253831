// The hidden main window, class "PINNOTES", title "VORLA Pinnotes": the program's mailbox.
// A second start, the Today item and the program's own windows reach the program through it,
// and it turns each message into one call on the note store. Its destruction ends the
// program.
#pragma once

#include <windows.h>

#include "app/accepted_path.h"

class MainWindow {
 public:
  // The about box's text, until the about box itself comes.
  static constexpr WCHAR kAboutCaption[] = u"About";
  static constexpr WCHAR kAboutText[] = u"VORLA Pinnotes v2.51";

  static bool registerClass(HINSTANCE instance);
  // Creates the window. `alarmedAtCreation` receives whether the expiry check that runs at
  // creation raised a note.
  static HWND create(HINSTANCE instance, BYTE* alarmedAtCreation);
  // PNM_OPEN_NOTE_PATH carries a pointer into this process, so only the path the start-up
  // posts itself is taken; a pointer from anywhere else would be read blindly.
  static void acceptPathMessage(LPCWSTR path) { ownPath_.announce(path); }
  // PNM_NOTE_SAVED likewise: a note window names the path it is about to hand over, and only
  // that pointer is taken, once, however the message arrives (sent from inside another
  // send, or dispatched by a dialog's or menu's loop).
  static void acceptSavedPath(LPCWSTR path) { theSavedNotePath.announce(path); }

  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static void onCreate(HWND window, const CREATESTRUCTW& creation);
  static void onCommand(HWND window, WORD command);
  static void openMappedNote();
  static void showAbout();
  // Saves an open note, then destroys the window, which ends the program.
  static void end(HWND window);

  static inline AcceptedPath ownPath_;
};
