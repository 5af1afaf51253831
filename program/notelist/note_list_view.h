// The list control of the all-notes window: one row per note (its expiry time and title, and
// a picture of its state), rows changed only under the note lock, and a stylus handling of its
// own that tells a tap (open), a hold (context menu), drags and Ctrl/Shift selections apart.
#pragma once

#include <windows.h>

#include "pinnotes/critical_section.h"

#include <commctrl.h>

#include <vector>

#include "notes/note_entry.h"

class NoteListView {
 public:
  // The row images, in strip order.
  enum RowImage { kPendingImage = 0, kExpiredImage = 1, kNeverExpiresImage = 2 };
  static constexpr int kControlId = 1;

  // `noteLock` guards every change of the rows.
  explicit NoteListView(CriticalSection& noteLock) : noteLock_(noteLock) {}
  // The owner destroys the control (destroy) while its parent window goes.
  virtual ~NoteListView() = default;
  NoteListView(const NoteListView&) = delete;
  NoteListView& operator=(const NoteListView&) = delete;

  // Makes the control as a child of `parent` at the given rectangle; false when it could not.
  bool create(HWND parent, int x, int y, int width, int height);
  // Destroys the control with its font and images; nothing when there is none.
  void destroy();
  // (Re)builds the font from the "FontSize" setting.
  void updateFont();

  // Appends the row of `note`; nothing while there is no control. Both take the note lock.
  void insertRow(const NoteEntry& note);
  void deleteAllRows();
  // Many rows at once: the control is not redrawn until the batch ends, then once.
  void beginBatch();
  void endBatch();

  int selectedCount() const;
  std::vector<int> selectedIndices() const;
  // -1 for none.
  int selectionMark() const;
  // Before a context menu: a multi-selection that holds the marked row stays, anything else
  // becomes the marked row alone.
  void normaliseSelectionToMark();
  // Marks and focuses row 0 and selects every row.
  void selectAll();

  HWND control() const { return control_; }
  int x() const { return x_; }
  int y() const { return y_; }

 private:
  static LRESULT CALLBACK subclassProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
  void loadImages();
  void stylusDown(LPARAM point);
  void stylusMove(LPARAM point);
  void stylusUp(LPARAM point);
  void tapSelection(int row, bool ctrl, bool shift);
  int hitTest(LPARAM point) const;
  int firstFocused() const;
  int count() const;
  void setFocus(int row);
  void setSelected(int row, bool selected);
  bool isSelected(int row) const;
  void toggle(int row);
  void setMark(int row);
  // Every row of [min(a, b), max(a, b)] selected; the others deselected too when asked.
  void selectRange(int a, int b, bool deselectOthers);
  void toggleRange(int a, int b);
  void deselectAllBut(int row);

  CriticalSection& noteLock_;
  HWND control_ = nullptr;
  HWND parent_ = nullptr;
  HFONT font_ = nullptr;
  HIMAGELIST images_ = nullptr;
  WNDPROC previousProcedure_ = nullptr;
  int x_ = 0;
  int y_ = 0;
  int width_ = 0;
  int height_ = 0;
  int rowCount_ = 0;
  bool dragging_ = false;
  LPARAM lastPoint_ = 0;
  bool multiSelectionKept_ = false;
  int lastIndex_ = -1;
};
