// The note window's life: the class shared by all note windows, creation, the message table
// and the teardown.
#include "notewindow/note_window.h"

#include <aygshell.h>
#include <commctrl.h>

#include "app/app_references.h"
#include "app/commands.h"
#include "app/help_launcher.h"
#include "app/note_app.h"
#include "app/note_colours.h"
#include "notewindow/expiry_menu.h"
#include "pinnotes/note_file_layout.h"
#include "resources/resource.h"

namespace {

constexpr UINT_PTR kExpiryTimer = 1;
constexpr UINT kExpiryPeriodMs = 60000;
constexpr int kTitleBoxId = 102;
constexpr int kExpiryButtonId = 104;
constexpr int kCanvasId = 105;
constexpr int kDateButtonId = 110;
// A drop-down list with an edit field, not sorted.
constexpr DWORD kTitleBoxStyle = 0x20A;

// Shared by every note window of the process; the main thread alone touches them.
int liveWindows = 0;
HBRUSH yellowBrush = nullptr;

}  // namespace

NoteWindow::NoteWindow() = default;

NoteWindow::~NoteWindow() {
  // Both threads use this object: they end before it goes.
  destroy();
  stopPlayback();
}

bool NoteWindow::addClassUser(HINSTANCE instance) {
  if (liveWindows == 0) {
    yellowBrush = CreateSolidBrush(kNoteYellow);
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = yellowBrush;
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassW(&windowClass)) {
      DeleteObject(yellowBrush);
      yellowBrush = nullptr;
      return false;
    }
  }
  ++liveWindows;
  return true;
}

void NoteWindow::dropClassUser(HINSTANCE instance) {
  if (liveWindows == 0 || --liveWindows > 0) return;
  UnregisterClassW(kClassName, instance);
  DeleteObject(yellowBrush);
  yellowBrush = nullptr;
}

HWND NoteWindow::open(HWND owner, bool existing, bool alarmOpened) {
  if (window_) return nullptr;
  owner_ = owner;
  existing_ = existing;
  alarmOpened_ = alarmOpened;
  const HINSTANCE instance = theNoteApp->instance();
  if (!addClassUser(instance)) return nullptr;
  counted_ = true;
  CreateWindowExW(0, kClassName, kTitle, WS_POPUP | WS_CAPTION, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                  GetSystemMetrics(SM_CYSCREEN), owner, nullptr, instance, this);
  if (!window_) {
    counted_ = false;
    dropClassUser(instance);
    return nullptr;
  }
  createChildren(instance);
  showRecord();

  // The shell gives the window its "ok" and full-screen size, which lays the children out.
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  SHINITDLGINFO init = {};
  init.dwMask = SHIDIM_FLAGS;
  init.hDlg = window_;
  init.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN;
  SHInitDialog(&init);
  SHFullScreen(window_, SHFS_SHOWSIPBUTTON);
  panelReason_ = 0;
  restorePanel_ = !writingMode_;
  if (!writingMode_) SetFocus(canvas_.control());
  return window_;
}

void NoteWindow::createChildren(HINSTANCE instance) {
  titleBox_ = CreateWindowExW(0, u"COMBOBOX", u"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | kTitleBoxStyle, theScreen.x(5),
                              theScreen.y(4), theScreen.x(192), theScreen.y(185), window_,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kTitleBoxId)), instance, nullptr);
  fillTitleBox();
  expiryRect_ = {theScreen.x(6), theScreen.y(26), theScreen.x(234), theScreen.y(41)};
  canvas_.create(window_, kCanvasId, -theScreen.x(1), theScreen.y(44), theScreen.x(242), theScreen.y(226), true);
  const bool hires = theScreen.scaleX >= 2;
  expiryButton_.create(window_, instance, hires ? IDB_EXPIRY_BUTTON_HIRES : IDB_EXPIRY_BUTTON, u"PopupBtnClass",
                       kExpiryButtonId, theScreen.x(201), theScreen.y(6), theScreen.x(16), theScreen.y(16));
  dateButton_.create(window_, instance, hires ? IDB_DATE_BUTTON_HIRES : IDB_DATE_BUTTON, u"ClockBtnClass",
                     kDateButtonId, theScreen.x(220), theScreen.y(6), theScreen.x(16), theScreen.y(16));
  expiryMenu_ = CreateExpiryMenu();
}

void NoteWindow::fillTitleBox() {
  titles_.load();
  SendMessageW(titleBox_, CB_RESETCONTENT, 0, 0);
  WCHAR title[TitleList::kTitleCapacity];
  for (int i = 0; i < titles_.count(); ++i) {
    titles_.getAt(i, title);
    SendMessageW(titleBox_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title));
  }
  SendMessageW(titleBox_, CB_SETCURSEL, 0, 0);
}

void NoteWindow::showRecord() {
  modified_ = false;
  if (existing_) {
    // Sent, not posted: the text is read while the record still holds it.
    SendMessageW(titleBox_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(record_.title));
    canvas_.streamIn(record_.content);
    canvas_.setZoom(record_.zoom);
    picker_.setValue(record_.expiryTime);
  } else {
    canvas_.setZoomIndex(theNoteApp->zoom());
    SYSTEMTIME never = {};
    never.wHour = NoteFileLayout::kNeverExpiresHour;
    picker_.setValue(never);
  }
  refreshExpiryText();

  writingMode_ = theNoteApp->mode() == 0;
  canvas_.setMode(writingMode_ ? 0 : 1);
  menuBar_.create(window_, theNoteApp->instance());
  menuBar_.enable(IDC_NOTE_UNDO, false);
  menuBar_.setPressed(IDC_NOTE_PEN_MODE, writingMode_);
  const int page = theNoteApp->page();
  pageShown_ = page != 0;
  menuBar_.setPressed(IDC_NOTE_GRID, pageShown_);
  if (pageShown_) canvas_.setPage(true, page);
  updateZoomButtons();
}

void NoteWindow::updateZoomButtons() {
  const int zoom = canvas_.getZoom();
  menuBar_.enable(IDC_NOTE_ZOOM_OUT, zoom != InkCanvas::kZoomSteps[0]);
  menuBar_.enable(IDC_NOTE_ZOOM_IN, zoom != InkCanvas::kZoomSteps[std::size(InkCanvas::kZoomSteps) - 1]);
}

void NoteWindow::destroy() {
  if (window_) {
    destroying_ = true;
    // The picker first: its closing must not run into a window that is going.
    picker_.close();
    canvas_.destroy();
    expiryButton_.destroy();
    dateButton_.destroy();
    SetFocus(window_);
    DestroyWindow(window_);
    window_ = nullptr;
    titleBox_ = nullptr;
    destroying_ = false;
  }
  menuBar_.destroy();
  if (expiryMenu_) DestroyMenu(expiryMenu_);
  expiryMenu_ = nullptr;
  if (counted_) dropClassUser(theNoteApp->instance());
  counted_ = false;
  // The window went first, so the thread's last stop messages cannot target it.
  stopWatch();
  stopPlayback();
}

void NoteWindow::end(bool keep) {
  destroy();
  finishNote(keep);
}

void NoteWindow::requestClose() {
  if (window_) SendMessageW(window_, PNM_NOTE_CLOSE, 0, 0);
}

void NoteWindow::bringToFront() {
  SetForegroundWindow(window_);
  SHFullScreen(window_, SHFS_HIDETASKBAR);
  SHFullScreen(window_, SHFS_SHOWSIPBUTTON);
}

LRESULT CALLBACK NoteWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    auto* self = static_cast<NoteWindow*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
    SetTimer(window, kExpiryTimer, kExpiryPeriodMs, nullptr);
    return 0;
  }
  auto* self = reinterpret_cast<NoteWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    // Destroyed from outside (with its owner): the object forgets the window and its children.
    if (!self->destroying_) self->forgetWindow();
    return DefWindowProcW(window, message, wParam, lParam);
  }
  // During the teardown nothing is acted on: it must not start another.
  if (!self || self->destroying_) return DefWindowProcW(window, message, wParam, lParam);
  return self->handle(message, wParam, lParam);
}

void NoteWindow::forgetWindow() {
  picker_.close();
  canvas_.destroy();
  expiryButton_.destroy();
  dateButton_.destroy();
  window_ = nullptr;
  titleBox_ = nullptr;
}

// Handlers that can end the window return at once: the object may be gone afterwards.
LRESULT NoteWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      layout(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_PAINT:
      paint();
      return 0;
    case WM_TIMER:
      if (wParam == kExpiryTimer) refreshExpiryText();
      return 0;
    case WM_LBUTTONDOWN: {
      bringToFront();
      const POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      // The rectangle's right and bottom edges count too.
      if (at.x >= expiryRect_.left && at.x <= expiryRect_.right && at.y >= expiryRect_.top &&
          at.y <= expiryRect_.bottom)
        PostMessageW(window_, PNM_NOTE_OPEN_PICKER, 0, 0);
      return 0;
    }
    case WM_KEYUP:
      if (theNoteApp->recordButton() && wParam == theNoteApp->RecordButtonKey()) stopRecordingEverywhere();
      return 0;
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETSIPINFO) settingChanged();
      else if (wParam == SETTINGCHANGE_RESET) fitScreen();
      return 0;
    case WM_NOTIFY:
      if (lParam && reinterpret_cast<const NMHDR*>(lParam)->code == NM_CLICK) bringToFront();
      return 0;
    case WM_HELP:
      OpenHelp(kHelpFile, u"Edit");
      return 0;
    case WM_COMMAND:
      command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case PNM_NOTE_CLOSE:
      closeDecision();
      return 0;
    case PNM_NOTE_DISCARD:
      end(false);
      return 0;
    case PNM_NOTE_REOPEN:
      if (lParam && std::u16string_view(reinterpret_cast<LPCWSTR>(lParam)) == filePath_) end(false);
      return 0;
    case PNM_NOTE_STOP_RECORDING:
      canvas_.stop();
      return 0;
    case PNM_NOTE_EXPIRY_MENU:
      showExpiryMenu();
      return 0;
    case PNM_NOTE_OPEN_PICKER:
      if (!picker_.isOpen()) picker_.open(window_, dateButton_.window());
      return 0;
    case PNM_NOTE_PICKER_CLOSED:
      pickerClosed();
      return 0;
    case PNM_NOTE_ZOOM_IN:
      bringToFront();
      canvas_.zoomIn();
      return 0;
    case PNM_NOTE_ZOOM_OUT:
      bringToFront();
      canvas_.zoomOut();
      return 0;
    case PNM_NOTE_TOGGLE_RECORD:
      bringToFront();
      canvas_.toggleRecording();
      return 0;
    case PNM_NOTE_UNDO:
      bringToFront();
      canvas_.undo();
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}
