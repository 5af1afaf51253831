// The list's stylus selection as tables of actions and the selection, mark and slot calls
// each leaves; the tap-and-hold context menu; a list of a thousand notes.
#include <aygshell.h>
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "notes_window_fixture.h"

namespace handheld::testing {
namespace {

using Rows = std::vector<int>;

class ListStylus : public NotesWindowTest {
 protected:
  // The stylus down and lifted before the hold time.
  void tap(LPARAM point) {
    PostMessageW(list(), WM_LBUTTONUP, 0, point);
    SendMessageW(list(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    pump();
  }
  void tapRow(int row) { tap(rowPoint(row)); }
  // The stylus rests past the hold time. The context-menu request it posts is taken from the
  // queue and returned as "menu X,Y" instead of opening the menu; "" when none came.
  std::string hold(LPARAM point) {
    SendMessageW(list(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    std::string request;
    MSG posted;
    if (PeekMessageW(&posted, notes_->window(), 1124, 1124, PM_REMOVE)) {
      request = "menu " + std::to_string(posted.wParam) + "," + std::to_string(posted.lParam);
    }
    SendMessageW(list(), WM_LBUTTONUP, 0, point);
    pump();
    return request;
  }
  // The expected request of a hold at a point of the list: the point on the screen.
  std::string menuAt(LPARAM point) const {
    POINT at{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    ClientToScreen(list(), &at);
    return "menu " + std::to_string(at.x) + "," + std::to_string(at.y);
  }
  // Down on the first row, through the others, up on the last.
  void dragRows(const Rows& rows) {
    for (size_t i = 1; i < rows.size(); ++i) PostMessageW(list(), WM_MOUSEMOVE, MK_LBUTTON, rowPoint(rows[i]));
    PostMessageW(list(), WM_LBUTTONUP, 0, rowPoint(rows.back()));
    SendMessageW(list(), WM_LBUTTONDOWN, MK_LBUTTON, rowPoint(rows.front()));
    pump();
  }
  void selectAll() { SendMessageW(notes_->window(), WM_COMMAND, 111, 0); }
};

TEST_F(ListStylus, APlainTapSelectsMarksAndOpensTheRow) {
  showWithNotes(6);
  tapRow(2);
  EXPECT_EQ(selectedRows(), (Rows{2}));
  EXPECT_EQ(mark(), 2);
  EXPECT_EQ(focusedRow(), 2);
  EXPECT_EQ(notes_->takeCalls(), (Calls{"openNoteAt(2)"}));
  tapRow(4);
  EXPECT_EQ(selectedRows(), (Rows{4}));
  EXPECT_EQ(notes_->takeCalls(), (Calls{"openNoteAt(4)"}));
  EXPECT_EQ(GetFocus(), list());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ListStylus, ATapOnAMultiSelectionCollapsesItWithoutOpening) {
  showWithNotes(6);
  selectAll();
  tapRow(3);
  EXPECT_EQ(selectedRows(), (Rows{3}));
  EXPECT_EQ(mark(), 3);
  EXPECT_EQ(notes_->takeCalls(), Calls{});
  // With one row selected, the next tap opens again.
  tapRow(3);
  EXPECT_EQ(notes_->takeCalls(), (Calls{"openNoteAt(3)"}));
}

TEST_F(ListStylus, AHoldKeepsTheMultiSelectionForTheContextMenu) {
  showWithNotes(6);
  selectAll();
  EXPECT_EQ(hold(rowPoint(3)), menuAt(rowPoint(3)));
  EXPECT_EQ(selectedRows(), (Rows{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(mark(), 3);
  EXPECT_EQ(notes_->takeCalls(), Calls{});
  // After the menu, a tap collapses the selection to its row and opens it.
  tapRow(1);
  EXPECT_EQ(selectedRows(), (Rows{1}));
  EXPECT_EQ(notes_->takeCalls(), (Calls{"openNoteAt(1)"}));
}

TEST_F(ListStylus, AHoldOnARowOutsideTheSelectionSelectsOnlyIt) {
  showWithNotes(6);
  dragRows({0, 2});
  ASSERT_EQ(selectedRows(), (Rows{0, 1, 2}));
  EXPECT_EQ(hold(rowPoint(4)), menuAt(rowPoint(4)));
  EXPECT_EQ(selectedRows(), (Rows{4}));
  EXPECT_EQ(mark(), 4);
  // And on a single row.
  EXPECT_EQ(hold(rowPoint(1)), menuAt(rowPoint(1)));
  EXPECT_EQ(selectedRows(), (Rows{1}));
  EXPECT_EQ(notes_->takeCalls(), Calls{});
}

// Built with Ctrl, the selection {2, 3} leaves the mark on row 0; a hold on row 3 keeps it.
TEST_F(ListStylus, AHoldKeepsAMultiSelectionThatLacksTheOldMark) {
  showWithNotes(6);
  tapRow(0);
  pressKey("VK_CONTROL");
  tapRow(0);
  tapRow(2);
  tapRow(3);
  releaseKey("VK_CONTROL");
  ASSERT_EQ(selectedRows(), (Rows{2, 3}));
  notes_->takeCalls();
  EXPECT_EQ(hold(rowPoint(3)), menuAt(rowPoint(3)));
  EXPECT_EQ(selectedRows(), (Rows{2, 3}));
  EXPECT_EQ(notes_->takeCalls(), Calls{});
}

TEST_F(ListStylus, ATapBelowTheRowsDeselectsAndKeepsTheMark) {
  showWithNotes(3);
  tapRow(1);
  notes_->takeCalls();
  tap(belowRows());
  EXPECT_EQ(selectedRows(), Rows{});
  EXPECT_EQ(mark(), 1);
  // The open request of a plain tap follows, for the marked note.
  EXPECT_EQ(notes_->takeCalls(), (Calls{"openNoteAt(1)"}));
}

TEST_F(ListStylus, AHoldWithNothingMarkedShowsNoMenu) {
  showWithNotes(3);
  EXPECT_EQ(hold(belowRows()), "");
  EXPECT_EQ(selectedRows(), Rows{});
  EXPECT_EQ(notes_->takeCalls(), (Calls{"openNoteAt(-1)"}));
}

TEST_F(ListStylus, ADragSelectsTheRangeFromTheMarkAndOpensNothing) {
  showWithNotes(6);
  dragRows({1, 2, 4});
  EXPECT_EQ(selectedRows(), (Rows{1, 2, 3, 4}));
  EXPECT_EQ(mark(), 1);
  dragRows({1, 4, 2});
  EXPECT_EQ(selectedRows(), (Rows{1, 2}));
  // Upwards from the mark, and rows outside the range go.
  dragRows({4, 3, 2});
  EXPECT_EQ(selectedRows(), (Rows{2, 3, 4}));
  EXPECT_EQ(notes_->takeCalls(), Calls{});
}

TEST_F(ListStylus, CtrlDragTogglesTheRowsPassedAndCtrlTapTogglesOne) {
  showWithNotes(6);
  tapRow(4);
  notes_->takeCalls();
  pressKey("VK_CONTROL");
  struct Step {
    Rows drag;
    Rows selected;
  };
  const Step steps[] = {
      {{0, 1, 2}, {1, 2, 4}},  // down from the focused row 0: 1 and 2 toggled on
      {{0, 1, 2, 1}, {2, 4}},  // 1 and 2 toggled off on the way down, 2 on again on the way back
      {{0, 3}, {1, 3, 4}},     // one jump toggles 1 to 3
      {{5, 4, 3}, {1}},        // up from 5: 4 and 3 toggled off
      {{2}, {1, 2}},           // a Ctrl-tap toggles its row
      {{2}, {1}},
  };
  for (const Step& step : steps) {
    dragRows(step.drag);
    EXPECT_EQ(selectedRows(), step.selected) << "drag from row " << step.drag.front();
  }
  releaseKey("VK_CONTROL");
  EXPECT_EQ(notes_->takeCalls(), Calls{});
}

TEST_F(ListStylus, ShiftTapSelectsFromTheFocusedRow) {
  showWithNotes(6);
  tapRow(5);
  notes_->takeCalls();
  pressKey("VK_CONTROL");
  tapRow(0);
  releaseKey("VK_CONTROL");
  ASSERT_EQ(selectedRows(), (Rows{0, 5}));
  ASSERT_EQ(focusedRow(), 0);
  // Ctrl and Shift: the range joins what is selected.
  pressKey("VK_CONTROL");
  pressKey("VK_SHIFT");
  tapRow(2);
  releaseKey("VK_CONTROL");
  EXPECT_EQ(selectedRows(), (Rows{0, 1, 2, 5}));
  // Shift alone: the range replaces it.
  tapRow(3);
  EXPECT_EQ(selectedRows(), (Rows{0, 1, 2, 3}));
  EXPECT_EQ(focusedRow(), 0);
  // A drag with Shift adds nothing.
  dragRows({3, 5});
  EXPECT_EQ(selectedRows(), (Rows{0, 1, 2, 3}));
  releaseKey("VK_SHIFT");
  EXPECT_EQ(notes_->takeCalls(), Calls{});
}

TEST_F(ListStylus, AnEmptyListIgnoresEverything) {
  showWithNotes(0);
  tap(rowPoint(0));
  tap(belowRows());
  EXPECT_EQ(hold(belowRows()), "");
  PostMessageW(list(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 60));
  tap(MAKELPARAM(40, 20));
  pressKey("VK_CONTROL");
  tap(belowRows());
  releaseKey("VK_CONTROL");
  NMHDR hold{list(), 1, 1000};
  EXPECT_EQ(SendMessageW(notes_->window(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&hold)), 0);
  pump();
  EXPECT_EQ(notes_->takeCalls(), Calls{});
  EXPECT_EQ(notes_->selectedCount(), 0);
  EXPECT_EQ(GetCapture(), nullptr);
}

// The context menu by keys: each press of "down" moves to the next item, the separator
// skipped, so the item chosen after n presses is the n-th of "Edit ...", "Select All",
// "Set as expired", "Delete".
TEST_F(ListStylus, TheContextMenuHoldsItsItemsInOrder) {
  showWithNotes(3);
  tapRow(1);
  notes_->takeCalls();
  struct Choice {
    int downs;
    Calls calls;
    Rows selected;
  };
  const Choice choices[] = {
      {1, {"openNoteAt(1)"}, {1}},
      {2, {}, {0, 1, 2}},
      {3, {"setSelectedNotesExpired"}, {0, 1, 2}},
      {4, {"deleteSelectedNotes"}, {0, 1, 2}},
  };
  for (const Choice& choice : choices) {
    for (int i = 0; i < choice.downs; ++i) PostMessageW(notes_->window(), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(notes_->window(), WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(notes_->window(), 1124, 30, 60);
    pump();
    EXPECT_EQ(notes_->takeCalls(), choice.calls) << choice.downs;
    EXPECT_EQ(selectedRows(), choice.selected) << choice.downs;
  }
}

TEST_F(ListStylus, TheContextMenuOpensAtTheHoldPoint) {
  showWithNotes(3);
  RECT menu{};
  auto watcher = std::async(std::launch::async, [&] {
    HWND popup = nullptr;
    for (int attempt = 0; attempt < 250 && !popup; ++attempt) {
      popup = FindWindowW(u"PopupMenu", nullptr);
      if (!popup) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (popup) GetWindowRect(popup, &menu);
    PostMessageW(notes_->window(), WM_KEYDOWN, VK_ESCAPE, 0);
  });
  SendMessageW(notes_->window(), 1124, 30, 60);
  watcher.wait();
  EXPECT_EQ(menu.left, 30);
  EXPECT_EQ(menu.top, 60);
  pump();
  EXPECT_EQ(notes_->takeCalls(), Calls{});
}

TEST_F(ListStylus, TheHoldNoticeNormalisesTheSelectionToTheMark) {
  showWithNotes(4);
  NMRGINFO notice{};
  notice.hdr = {list(), 1, 1000};
  notice.ptAction = {77, 88};
  // No mark: not answered, nothing posted.
  EXPECT_EQ(SendMessageW(notes_->window(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&notice)), 0);
  MSG posted;
  EXPECT_FALSE(PeekMessageW(&posted, notes_->window(), 1124, 1124, PM_REMOVE));
  // A mark outside the selection becomes the selection.
  SendMessageW(notes_->window(), WM_COMMAND, 111, 0);
  SendMessageW(list(), LVM_SETSELECTIONMARK, 0, 2);
  LVITEMW off{};
  off.stateMask = LVIS_SELECTED;
  SendMessageW(list(), LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&off));
  EXPECT_EQ(SendMessageW(notes_->window(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&notice)), 1);
  EXPECT_EQ(selectedRows(), (Rows{2}));
  EXPECT_EQ(focusedRow(), 2);
  ASSERT_TRUE(PeekMessageW(&posted, notes_->window(), 1124, 1124, PM_REMOVE));
  EXPECT_EQ(posted.wParam, WPARAM{77});
  EXPECT_EQ(posted.lParam, LPARAM{88});
}

TEST_F(ListStylus, AThousandNotesFillScrollAndOpenByTheirRow) {
  showWithNotes(1000);
  ASSERT_EQ(SendMessageW(list(), LVM_GETITEMCOUNT, 0, 0), 1000);
  SendMessageW(list(), LVM_ENSUREVISIBLE, 999, FALSE);
  const int top = static_cast<int>(SendMessageW(list(), LVM_GETTOPINDEX, 0, 0));
  EXPECT_GT(top, 900);
  tapRow(top + 1);
  EXPECT_EQ(selectedRows(), (Rows{top + 1}));
  EXPECT_EQ(notes_->takeCalls(), (Calls{"openNoteAt(" + std::to_string(top + 1) + ")"}));
  // Filled without painting row by row, and shown again with the focus kept.
  notes_->refill();
  EXPECT_EQ(SendMessageW(list(), LVM_GETITEMCOUNT, 0, 0), 1000);
  EXPECT_TRUE(IsWindowVisible(list()));
  EXPECT_EQ(GetFocus(), list());
}

}  // namespace
}  // namespace handheld::testing
