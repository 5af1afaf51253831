// The list window of all notes, as the base part of the note store: it owns the window, its
// list view, its menus and the titles editor, and calls the store's note operations through
// the ten slots below, in this order. The note list and its lock are the store's, kept here so
// that the window can fill its rows.
#pragma once

#include <windows.h>

#include <list>
#include <vector>

#include "notelist/note_list_view.h"
#include "notes/note_entry.h"
#include "pinnotes/critical_section.h"
#include "notewindow/titles_editor.h"

class AllNotesWindow {
 public:
  AllNotesWindow();
  AllNotesWindow(const AllNotesWindow&) = delete;
  AllNotesWindow& operator=(const AllNotesWindow&) = delete;

  // Slot 0: a new note window, recording at once when `startRecording` is set; its handle.
  virtual HWND newNote(BOOL startRecording) = 0;
  // Slot 1: deletes the selected notes after asking.
  virtual void deleteSelectedNotes() = 0;
  // Slot 2: opens the note at a list index; -1 does nothing.
  virtual void openNoteAt(int index) = 0;
  // Slot 3: marks the selected notes as expired.
  virtual void setSelectedNotesExpired() = 0;
  // Slot 4: sorts by a column; -1 resets to the first order, -2 keeps the current one.
  virtual void sortNotes(int column) = 0;
  // Slot 5: stores the options' values in the settings.
  virtual void applyOptions() = 0;
  // Slot 6: runs the options with `owner` as their owner window.
  virtual void openOptions(HWND owner) = 0;
  // Slot 7: asks the main window to show the about box.
  virtual void about() = 0;
  // Slot 8: closes the list window and ends the program.
  virtual void closeAndExit() = 0;
  // Slot 9: the list window became active.
  virtual void activated() = 0;
  virtual ~AllNotesWindow();

  // Creates the list window or brings it (or the titles editor over it) to the front.
  void showAll();
  // Tears the list window down and destroys it.
  void closeAll();
  // Deletes every row and fills the list again from the note list; nothing while closed.
  void refill();
  // The selected rows, ascending (a row index is a position in the note list).
  int selectedCount() const;
  std::vector<int> selectedIndices() const;
  // The list window, or null while it is closed.
  HWND window() const { return window_; }
  void setMainWindow(HWND mainWindow) { mainWindow_ = mainWindow; }
  // The list's selection mark, -1 for none.
  int selectionMark() const;
  // Builds the list font again from the "FontSize" setting, after the options changed it.
  void updateListFont();

 protected:
  HWND window_ = nullptr;
  HWND mainWindow_ = nullptr;
  std::list<NoteEntry> notes_;
  // Guards notes_ and every update of the list; re-entrant for its owning thread.
  CriticalSection noteLock_;
  TitlesEditor titlesEditor_;

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void command(WORD id);
  LRESULT notify(const NMHDR& header);
  void showContextMenu(int x, int y);
  bool create();
  void buildContextMenu();
  void createMenuBar();
  void layOutList(int clientWidth, int clientHeight);
  void fill();
  // The window's parts, when its window goes (the window itself is destroyed by its caller).
  void releaseWindowParts();
  // The class and its brush, once no window of the class is left.
  void releaseClass();

  HMENU menuBarMenu_ = nullptr;
  HMENU contextMenu_ = nullptr;
  HBRUSH brush_ = nullptr;
  HWND menuBar_ = nullptr;
  bool classRegistered_ = false;
  NoteListView list_{noteLock_};
};
