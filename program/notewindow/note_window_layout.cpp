// The note window's layout, painting, the input panel and the screen turning.
#include <aygshell.h>

#include <algorithm>

#include "app/app_references.h"
#include "notewindow/note_window.h"

namespace {

constexpr COLORREF kNoteYellow = RGB(255, 255, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr int kPanelByUser = 3;

int bx(int units) { return units * theScreen.scaleX; }
int by(int units) { return units * theScreen.scaleY; }

}  // namespace

void NoteWindow::layout(int width, int height) {
  // Sizes arrive during creation, before the children exist.
  if (titleBox_) {
    // Only the width changes: this platform's box would take a taller height as its own and
    // cover the canvas, not as its list's (which keeps the height it was made with).
    RECT box;
    GetWindowRect(titleBox_, &box);
    MoveWindow(titleBox_, bx(5), by(4), width - bx(48), box.bottom - box.top, TRUE);
  }
  canvas_.move(-bx(1), by(44), width + bx(2), height - by(43));
  expiryButton_.move(width - bx(38), by(6), bx(16), by(16));
  dateButton_.move(width - bx(19), by(6), bx(16), by(16));
}

void NoteWindow::layoutCanvas(int bottom) {
  // In client terms, as WM_SIZE lays it out: the caption is not the canvas's to cover.
  RECT client;
  GetClientRect(window_, &client);
  POINT origin = {0, 0};
  ClientToScreen(window_, &origin);
  const int limit = std::min(bottom - origin.y, static_cast<int>(client.bottom));
  canvas_.move(-bx(1), by(44), client.right + bx(2), limit - by(43));
}

int NoteWindow::clientBottom() const {
  RECT client;
  GetClientRect(window_, &client);
  POINT corner = {0, client.bottom};
  ClientToScreen(window_, &corner);
  return corner.y;
}

void NoteWindow::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  if (dc) {
    SetTextColor(dc, kBlack);
    SetBkColor(dc, kNoteYellow);
    SetBkMode(dc, OPAQUE);
    RECT rect = expiryRect_;
    DrawTextW(dc, expiryText_, -1, &rect, DT_VCENTER);
  }
  EndPaint(window_, &ps);
}

void NoteWindow::settingChanged() {
  SIPINFO info = {};
  info.cbSize = sizeof(info);
  if (!SHSipInfo(SPI_GETSIPINFO, 0, &info, 0)) return;
  const bool up = (info.fdwFlags & SIPF_ON) != 0;
  // Only typing wants the panel back; in writing mode it would switch the note to typing.
  if (!up && restorePanel_ && !writingMode_) {
    panelReason_ = 0;
    restorePanel_ = false;
    SipShowIM(SIPF_ON);
    return;
  }
  if (up && panelReason_ == 0 && !titleBoxFocused_ && !picker_.isOpen()) {
    // Raised by the user: the note is typed into from now on.
    panelReason_ = kPanelByUser;
    SendMessageW(canvas_.control(), WM_SETFOCUS, 0, 0);
    if (writingMode_) toggleMode();
  }
  panelReason_ = 0;
  canvas_.setPanelUp(up);
  layoutCanvas(up ? info.rcVisibleDesktop.bottom : clientBottom());
}

void NoteWindow::fitScreen() {
  // The screen turned: full screen again, in its new shape.
  SHINITDLGINFO init = {};
  init.dwMask = SHIDIM_FLAGS;
  init.hDlg = window_;
  init.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN;
  SHInitDialog(&init);
}
