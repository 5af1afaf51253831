// The note window's layout, painting, the input panel and the screen turning.
#include "notewindow/note_window.h"

#include <aygshell.h>

#include <algorithm>

#include "app/app_references.h"
#include "app/note_colours.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr int kPanelByUser = 3;

}  // namespace

void NoteWindow::layout(int width, int height) {
  // Sizes arrive during creation, before the children exist.
  if (titleBox_) {
    // Only the width changes: this platform's box would take a taller height as its own and
    // cover the canvas, not as its list's (which keeps the height it was made with).
    RECT box;
    GetWindowRect(titleBox_, &box);
    MoveWindow(titleBox_, theScreen.x(5), theScreen.y(4), width - theScreen.x(48), box.bottom - box.top, TRUE);
  }
  canvas_.move(-theScreen.x(1), theScreen.y(44), width + theScreen.x(2), height - theScreen.y(43));
  expiryButton_.move(width - theScreen.x(38), theScreen.y(6), theScreen.x(16), theScreen.y(16));
  dateButton_.move(width - theScreen.x(19), theScreen.y(6), theScreen.x(16), theScreen.y(16));
}

void NoteWindow::layoutCanvas(int bottom) {
  // In client terms, as WM_SIZE lays it out: the caption is not the canvas's to cover.
  RECT client;
  GetClientRect(window_, &client);
  POINT origin = {0, 0};
  ClientToScreen(window_, &origin);
  const int limit = std::min(bottom - origin.y, static_cast<int>(client.bottom));
  canvas_.move(-theScreen.x(1), theScreen.y(44), client.right + theScreen.x(2), limit - theScreen.y(43));
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
