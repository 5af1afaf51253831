// The note window's commands: toolbar, menus, controls, expiry choices and the picker.
#include <aygshell.h>
#include <commctrl.h>

#include "app/app_references.h"
#include "app/commands.h"
#include "app/note_app.h"
#include "notewindow/expiry_time.h"
#include "notewindow/note_window.h"
#include "resources/resource.h"

namespace {

constexpr WORD kEndWithoutKeeping = 101;
constexpr WORD kTitleBoxId = 102;
constexpr WORD kCanvasId = 105;
constexpr WORD kCanvasFocus = 256;
constexpr WORD kCanvasKillFocus = 512;
constexpr WORD kFirstExpiryChoice = 111;
constexpr WORD kLastExpiryChoice = 118;
// The canvas reports a change of its content with these.
constexpr WORD kCanvasChanged = 10003;
constexpr WORD kCanvasEdited = 10006;
constexpr UINT_PTR kExpiryTimer = 1;
constexpr UINT kExpiryPeriodMs = 60000;

// The panel was raised for: nothing, the title box, typing in the canvas, the user.
constexpr int kPanelForTitle = 1;
constexpr int kPanelForTyping = 2;
constexpr int kPanelByUser = 3;

}  // namespace

void NoteWindow::command(WORD id, WORD code, HWND from) {
  switch (id) {
    case IDOK:
      PostMessageW(window_, PNM_NOTE_CLOSE, 0, 0);
      return;
    case kEndWithoutKeeping:
      end(false);
      return;
    case kTitleBoxId:
      if (code == CBN_SETFOCUS) {
        panelReason_ = kPanelForTitle;
        SipShowIM(SIPF_ON);
        titleBoxFocused_ = true;
        modified_ = true;
      } else if (code == CBN_KILLFOCUS) {
        titleBoxFocused_ = false;
        SipShowIM(SIPF_OFF);
      }
      break;
    case kCanvasId:
      if (code == kCanvasFocus) {
        menuBar_.enable(IDC_NOTE_UNDO, true);
        if (!writingMode_ && panelReason_ != kPanelByUser) {
          panelReason_ = kPanelForTyping;
          SipShowIM(SIPF_ON);
        }
      } else if (code == kCanvasKillFocus) {
        restorePanel_ = true;
      }
      break;
    case IDC_NOTE_PEN_MODE:
      toggleMode();
      break;
    case IDC_NOTE_GRID:
      togglePage();
      break;
    case IDC_NOTE_ZOOM_IN:
    case IDC_NOTE_ZOOM_OUT:
      zoom(id == IDC_NOTE_ZOOM_IN);
      break;
    case IDC_NOTE_RECORD:
      bringToFront();
      canvas_.toggleRecording();
      modified_ = true;
      break;
    case IDC_NOTE_UNDO:
      undo();
      break;
    case IDC_NOTE_CLEAR_ALL:
      canvas_.recreate(true);
      menuBar_.enable(IDC_NOTE_UNDO, false);
      updateZoomButtons();
      // An emptied note is saved empty rather than left with its old content.
      modified_ = true;
      break;
    case IDC_NOTE_CUT:
      canvas_.cut();
      break;
    case IDC_NOTE_COPY:
      canvas_.copy();
      break;
    case IDC_NOTE_PASTE:
      canvas_.paste();
      break;
    default:
      if (id >= kFirstExpiryChoice && id <= kLastExpiryChoice) chooseExpiry(id);
      break;
  }
  if (from && from == canvas_.control() && (id == kCanvasChanged || id == kCanvasEdited))
    menuBar_.enable(IDC_NOTE_UNDO, true);
}

void NoteWindow::zoom(bool in) {
  bringToFront();
  if (in) {
    menuBar_.enable(IDC_NOTE_ZOOM_IN, canvas_.zoomIn());
    menuBar_.enable(IDC_NOTE_ZOOM_OUT, true);
  } else {
    menuBar_.enable(IDC_NOTE_ZOOM_OUT, canvas_.zoomOut());
    menuBar_.enable(IDC_NOTE_ZOOM_IN, true);
  }
}

void NoteWindow::undo() {
  bringToFront();
  canvas_.undo();
  // Undoing may change the zoom: the zoom buttons follow it, not just the undo state.
  updateZoomButtons();
  if (!canvas_.canUndo()) menuBar_.enable(IDC_NOTE_UNDO, false);
}

void NoteWindow::toggleMode() {
  writingMode_ = !writingMode_;
  canvas_.setMode(writingMode_ ? 0 : 1);
  menuBar_.setPressed(IDC_NOTE_PEN_MODE, writingMode_);
  if (writingMode_) {
    // Lowered on purpose: it must not come back.
    restorePanel_ = false;
    SipShowIM(SIPF_OFF);
  }
  SetFocus(canvas_.control());
}

void NoteWindow::togglePage() {
  pageShown_ = !pageShown_;
  const int page = theNoteApp->page();
  canvas_.setPage(pageShown_, page != 0 ? page : 1);
  menuBar_.setPressed(IDC_NOTE_GRID, pageShown_);
}

void NoteWindow::refreshExpiryText() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  const std::u16string text = ExpiryLineText(picker_.value(), existing_ && record_.expired != 0, now);
  const size_t length = std::min(text.size(), std::size(expiryText_) - 1);
  text.copy(expiryText_, length);
  expiryText_[length] = 0;
  if (!window_) return;
  InvalidateRect(window_, &expiryRect_, TRUE);
  UpdateWindow(window_);
}

void NoteWindow::chooseExpiry(WORD id) {
  const ExpiryChoice* choice = FindExpiryChoice(id);
  if (!choice) return;
  SYSTEMTIME now;
  GetLocalTime(&now);
  picker_.setValue(ApplyExpiryChoice(*choice, picker_.value(), now));
  record_.expired = 0;
  modified_ = true;
  refreshExpiryText();
}

void NoteWindow::showExpiryMenu() {
  RECT client;
  GetClientRect(window_, &client);
  const HMENU menu = expiryMenu_;
  const HWND window = window_;
  // The menu's loop may close and delete this object: nothing of it is used afterwards. A
  // choice arrives later as a posted command, which a destroyed window never gets.
  TrackPopupMenuEx(menu, TPM_RIGHTALIGN, client.right, 48 * theScreen.scaleY, window, nullptr);
}

void NoteWindow::pickerClosed() {
  if (picker_.changed()) {
    record_.expired = 0;
    refreshExpiryText();
    SetTimer(window_, kExpiryTimer, kExpiryPeriodMs, nullptr);
    modified_ = true;
  }
  layoutCanvas(clientBottom());
}

void NoteWindow::closeDecision() {
  const bool empty = canvas_.isEmpty();
  // A new untouched note leaves no file; an alarmed note's file is gone, so it is always kept.
  if (empty && !modified_ && !(existing_ && alarmOpened_)) {
    SendMessageW(window_, PNM_NOTE_DISCARD, 0, 0);
    return;
  }
  const BYTE wasExpired = record_.expired;
  record_.expired = collect() ? 0 : wasExpired;
  end(true);
}

bool NoteWindow::collect() {
  WCHAR title[NoteFileLayout::kTitleUnits] = {};
  GetWindowTextW(titleBox_, title, static_cast<int>(std::size(title)));
  if (!title[0]) lstrcpynW(title, TitleList::kNoTitle, static_cast<int>(std::size(title)));
  lstrcpynW(record_.title, title, static_cast<int>(std::size(record_.title)));
  record_.zoom = canvas_.getZoom();
  // Into a new block first: a failed read keeps the note's content.
  std::vector<BYTE> content;
  if (canvas_.streamOut(content)) record_.content = std::move(content);

  titles_.load();
  titles_.moveToFront(record_.title);
  titles_.save();

  if (SameExpiry(picker_.value(), record_.expiryTime)) return false;
  record_.expiryTime = picker_.value();
  return true;
}
