// The window of one note: full screen, yellow, class "PinnoteWndClass", title "VORLA Pinnotes",
// with its title box, expiry line and buttons, canvas and menu bar. It never touches files: it
// fills and reads its record, and reports the end of its life once through finishNote, which
// the note-handling side supplies.
#pragma once

#include <windows.h>

#include <atomic>
#include <vector>

#include "notes/note_record.h"
#include "notewindow/expiry_picker.h"
#include "notewindow/ink_canvas.h"
#include "notewindow/note_menu_bar.h"
#include "notewindow/title_list.h"
#include "pinnotes/unique_handle.h"
#include "ui/bitmap_button.h"

class NoteWindow {
 public:
  NoteWindow();
  virtual ~NoteWindow();
  NoteWindow(const NoteWindow&) = delete;
  NoteWindow& operator=(const NoteWindow&) = delete;

  // Creates the window for `record` (read from its file first when `existing`); null when it
  // cannot be made.
  HWND open(HWND owner, bool existing, bool alarmOpened);
  // Tears the window down; safe when there is none.
  void destroy();
  // Sends PNM_NOTE_CLOSE to the window if it exists: it ends as on the user's "ok".
  void requestClose();
  // Plays the note's own recording "SndCount" times on a thread of its own, after `after`
  // (a thread handle the caller keeps open until stopPlayback has returned, or null) ended.
  void startPlayback(HANDLE after = nullptr);
  // Stops the playback and joins its thread.
  void stopPlayback();
  // Records while the hardware record button is held.
  void startPushToTalk();

  HWND window() const { return window_; }
  // The text of the expiry line as last computed.
  LPCWSTR expiryText() const { return expiryText_; }

  // The window class and title every note window has.
  static constexpr WCHAR kClassName[] = u"PinnoteWndClass";
  static constexpr WCHAR kTitle[] = u"VORLA Pinnotes";

 protected:
  // Called exactly once, after the window is gone; `keep`: the edits were collected into
  // `record_`.
  virtual void finishNote(bool keep) = 0;

  NoteRecord record_;
  // The note's file; empty for a new note. Set by the derived class before open.
  WCHAR filePath_[MAX_PATH] = {};

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static bool addClassUser(HINSTANCE instance);
  static void dropClassUser(HINSTANCE instance);
  static void stopRecordingEverywhere();
  static DWORD WINAPI watchKey(LPVOID self);
  static DWORD WINAPI playAlarm(LPVOID self);

  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void command(WORD id, WORD code, HWND from);
  void createChildren(HINSTANCE instance);
  void showRecord();
  void updateZoomButtons();
  void forgetWindow();
  void fitScreen();
  void layout(int width, int height);
  // The canvas down to `bottom` (screen), at most to the client area's bottom.
  void layoutCanvas(int bottom);
  int clientBottom() const;
  void paint();
  void bringToFront();
  void fillTitleBox();
  void refreshExpiryText();
  void chooseExpiry(WORD id);
  void showExpiryMenu();
  void pickerClosed();
  void settingChanged();
  void toggleMode();
  void togglePage();
  void zoom(bool in);
  void undo();
  void closeDecision();
  bool collect();
  // Destroys the window, then reports the end; nothing of the object is used afterwards.
  void end(bool keep);
  void stopWatch();

  HWND window_ = nullptr;
  HWND owner_ = nullptr;
  HWND titleBox_ = nullptr;
  HMENU expiryMenu_ = nullptr;
  InkCanvas canvas_;
  BitmapButton expiryButton_;
  BitmapButton dateButton_;
  NoteMenuBar menuBar_;
  TitleList titles_;
  ExpiryPicker picker_;
  WCHAR expiryText_[256] = {};
  RECT expiryRect_ = {};
  bool existing_ = false;
  bool titleBoxFocused_ = false;
  bool modified_ = false;
  bool writingMode_ = true;
  bool pageShown_ = false;
  bool restorePanel_ = false;
  int panelReason_ = 0;
  bool alarmOpened_ = false;
  // The window is counted among the class's users.
  bool counted_ = false;
  // The window is being torn down by this object: messages of the teardown change nothing.
  bool destroying_ = false;

  // Push-to-talk: the watch thread ends when the key is up or `watchStop_` is set.
  UniqueHandle watchThread_;
  UniqueHandle watchStop_;
  DWORD watchKey_ = 0;

  // Alarm playback: a copy of the content taken on this thread; the playback thread never
  // touches the window or the canvas.
  UniqueHandle playbackThread_;
  UniqueHandle playbackStop_;
  std::atomic<bool> playing_{false};
  std::vector<BYTE> playbackContent_;
  HANDLE playbackAfter_ = nullptr;
  int playbackCount_ = 0;
};
