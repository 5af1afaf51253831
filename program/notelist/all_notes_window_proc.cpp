// The all-notes window's messages and commands: each becomes one slot of the store or one
// action on the list.
#include <aygshell.h>
#include <commctrl.h>

#include "app/app_references.h"
#include "app/commands.h"
#include "app/help_launcher.h"
#include "app/note_app.h"
#include "notelist/all_notes_window.h"
#include "resources/resource.h"

LRESULT CALLBACK AllNotesWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    auto* self = static_cast<AllNotesWindow*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
    return 0;
  }
  auto* self = reinterpret_cast<AllNotesWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || self->window_ != window) return DefWindowProcW(window, message, wParam, lParam);
  return self->handleMessage(message, wParam, lParam);
}

LRESULT AllNotesWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = window_;
  switch (message) {
    case WM_SIZE:
      layOutList(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_ACTIVE) activated();
      return 0;
    case WM_CLOSE: {
      if (mainWindow_) PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
      const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
      releaseClass();
      return result;
    }
    case WM_DESTROY:
      releaseWindowParts();
      return 0;
    case WM_HELP:
      OpenHelp(kHelpFile, u"AllPnts");
      return TRUE;
    case WM_NOTIFY:
      return notify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
      command(LOWORD(wParam));
      return 0;
    case PNM_LIST_CONTEXT_MENU:
      showContextMenu(static_cast<int>(wParam), static_cast<int>(lParam));
      return 0;
    case PNM_LIST_OPEN_MARKED:
      openNoteAt(list_.selectionMark());
      return 0;
    case PNM_SETTINGS_CHANGED:
      applyOptions();
      if (theNoteApp) theNoteApp->signalChange();
      if (window_ == window) createMenuBar();
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT AllNotesWindow::notify(const NMHDR& header) {
  if (header.code == LVN_COLUMNCLICK && header.idFrom == NoteListView::kControlId) {
    sortNotes(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
    refill();
    return 0;
  }
  if (header.code == static_cast<UINT>(GN_CONTEXTMENU)) {
    if (list_.selectionMark() == -1) return 0;
    list_.normaliseSelectionToMark();
    const POINT at = reinterpret_cast<const NMRGINFO&>(header).ptAction;
    PostMessageW(window_, PNM_LIST_CONTEXT_MENU, static_cast<WPARAM>(at.x), static_cast<LPARAM>(at.y));
    return 1;
  }
  return DefWindowProcW(window_, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void AllNotesWindow::showContextMenu(int x, int y) {
  if (!contextMenu_) return;
  TrackPopupMenuEx(contextMenu_, TPM_LEFTALIGN | TPM_TOPALIGN, list_.x() + x, list_.y() + y, window_, nullptr);
}

void AllNotesWindow::command(WORD id) {
  switch (id) {
    case ID_NOTES_EDIT:
      openNoteAt(list_.selectionMark());
      break;
    case ID_NOTES_DELETE:
      deleteSelectedNotes();
      break;
    case ID_NOTES_SET_EXPIRED:
      setSelectedNotesExpired();
      break;
    case ID_NOTES_SELECT_ALL:
      list_.selectAll();
      break;
    case ID_NOTES_NEW:
      newNote(FALSE);
      break;
    case ID_NOTES_OPTIONS:
      openOptions(window_);
      break;
    case ID_NOTES_TITLES:
      titlesEditor_.run(window_);
      break;
    case ID_NOTES_ABOUT:
      about();
      break;
    default:
      break;
  }
}
