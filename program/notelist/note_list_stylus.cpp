// The list's own stylus handling: the control's procedure never sees the stylus, so that a
// tap opens a note, a hold keeps a multi-selection for the context menu, and drags select
// (or with Ctrl toggle) ranges of rows.
#include <aygshell.h>
#include <commctrl.h>

#include "app/commands.h"
#include "notelist/note_list_view.h"

namespace {

bool keyDown(int key) { return GetKeyState(key) < 0; }

// The gesture ended because the stylus moved away (a drag begins), not because it was lifted:
// the message that ended it is still queued.
bool stylusMovedAway() {
  MSG next;
  return PeekMessageW(&next, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE) && next.message == WM_MOUSEMOVE;
}

}  // namespace

LRESULT CALLBACK NoteListView::subclassProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* view = reinterpret_cast<NoteListView*>(GetWindowLongPtrW(control, GWLP_USERDATA));
  if (!view || view->control_ != control) return DefWindowProcW(control, message, wParam, lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
      view->stylusDown(lParam);
      return 0;
    case WM_MOUSEMOVE:
      view->stylusMove(lParam);
      return 0;
    case WM_LBUTTONUP:
      view->stylusUp(lParam);
      return 0;
    default:
      return CallWindowProcW(view->previousProcedure_, control, message, wParam, lParam);
  }
}

int NoteListView::hitTest(LPARAM point) const {
  LVHITTESTINFO hit{};
  hit.pt = {GET_X_LPARAM(point), GET_Y_LPARAM(point)};
  return static_cast<int>(SendMessageW(control_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

void NoteListView::stylusDown(LPARAM point) {
  const bool ctrl = keyDown(VK_CONTROL);
  const bool shift = keyDown(VK_SHIFT);
  dragging_ = true;
  SetCapture(control_);
  const int row = hitTest(point);
  SetFocus(control_);
  lastPoint_ = point;
  if (count() == 0) return;
  tapSelection(row, ctrl, shift);

  const HWND control = control_;
  SHRGINFO gesture{};
  gesture.cbSize = sizeof gesture;
  gesture.hwndClient = control_;
  gesture.ptDown = {GET_X_LPARAM(point), GET_Y_LPARAM(point)};
  gesture.dwFlags = SHRG_NOTIFYPARENT;
  const DWORD result = SHRecognizeGesture(&gesture);
  // The parent may have closed the list while the gesture ran.
  if (control_ != control) return;
  if (result != 1 && multiSelectionKept_) {
    tapSelection(row, ctrl, shift);
  } else if (result == 0 && !ctrl && !shift && !stylusMovedAway()) {
    PostMessageW(parent_, PNM_LIST_OPEN_MARKED, 0, 0);
  }
}

void NoteListView::tapSelection(int row, bool ctrl, bool shift) {
  if (count() == 0) return;
  if (row < 0) {
    deselectAllBut(-1);
    return;
  }
  lastIndex_ = row;
  if (!ctrl && !shift) {
    setFocus(row);
    // Only a multi-selection that holds the tapped row waits for a hold; the mark follows the
    // stylus so that the context menu keeps the selection the hold was made on.
    if (selectedCount() >= 2 && !multiSelectionKept_ && isSelected(row)) {
      multiSelectionKept_ = true;
      setMark(row);
      return;
    }
    setMark(row);
    setSelected(row, true);
    deselectAllBut(row);
    multiSelectionKept_ = false;
    return;
  }
  const int focused = firstFocused();
  if (ctrl && !shift) {
    setFocus(row);
  } else if (focused >= 0) {
    selectRange(focused, row, !ctrl);
  } else {
    setFocus(row);
    setSelected(row, true);
  }
}

void NoteListView::stylusMove(LPARAM point) {
  if (!dragging_) return;
  lastPoint_ = point;
  const int row = hitTest(point);
  if (row < 0 || count() == 0) return;
  const bool ctrl = keyDown(VK_CONTROL);
  const bool shift = keyDown(VK_SHIFT);
  if (shift) return;
  if (!ctrl) {
    const int mark = selectionMark();
    selectRange(mark < 0 ? row : mark, row, true);
    return;
  }
  const int focused = firstFocused();
  if (focused < 0 || row == lastIndex_) return;
  // The toggled range grows or shrinks the drag by the rows passed since the last step.
  if (row > focused) {
    if (row > lastIndex_) toggleRange(lastIndex_ + 1, row);
    else toggleRange(lastIndex_, row + 1);
  } else if (row < focused) {
    if (row > lastIndex_) toggleRange(lastIndex_, row - 1);
    else toggleRange(lastIndex_ - 1, row);
  } else {
    toggle(lastIndex_);
  }
  setSelected(focused, false);
  lastIndex_ = row;
}

void NoteListView::stylusUp(LPARAM point) {
  dragging_ = false;
  if (GetCapture() == control_) ReleaseCapture();
  lastPoint_ = point;
  const int row = hitTest(point);
  if (row >= 0 && keyDown(VK_CONTROL) && !keyDown(VK_SHIFT) && firstFocused() == row) toggle(row);
}
