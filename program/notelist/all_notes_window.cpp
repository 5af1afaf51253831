#include "notelist/all_notes_window.h"

#include <aygshell.h>

#include <mutex>

#include "app/app_references.h"
#include "app/note_colours.h"
#include "pinnotes/crossing_names.h"
#include "resources/resource.h"

namespace {

constexpr WCHAR kWindowClass[] = u"AllPinnotesWnd";

}  // namespace

AllNotesWindow::AllNotesWindow() = default;

AllNotesWindow::~AllNotesWindow() {
  // The store's part is gone: no message may reach a slot any more.
  if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  closeAll();
}

void AllNotesWindow::showAll() {
  if (!window_) {
    if (!create()) return;
    sortNotes(-1);
    fill();
    return;
  }
  if (HWND editor = titlesEditor_.window()) {
    SetForegroundWindow(editor);
    return;
  }
  SetForegroundWindow(window_);
  SipShowIM(SIPF_OFF);
}

void AllNotesWindow::closeAll() {
  const HWND window = window_;
  releaseWindowParts();
  if (window && IsWindow(window)) DestroyWindow(window);
  releaseClass();
}

bool AllNotesWindow::create() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  brush_ = CreateSolidBrush(kNoteYellow);
  WNDCLASSW windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = brush_;
  windowClass.lpszClassName = kWindowClass;
  classRegistered_ = RegisterClassW(&windowClass) != 0;
  if (!classRegistered_) {
    releaseClass();
    return false;
  }
  // WM_CREATE sets window_.
  if (!CreateWindowExW(0, kWindowClass, CrossingNames::kWindowTitle, WS_VISIBLE | WS_BORDER, 0, 0,
                       theScreen.width, theScreen.height, nullptr, nullptr, instance, this)) {
    releaseClass();
    return false;
  }
  buildContextMenu();
  SHINITDLGINFO shellInit{};
  shellInit.dwMask = SHIDIM_FLAGS;
  shellInit.hDlg = window_;
  shellInit.dwFlags = SHIDIF_SIZEDLGFULLSCREEN;
  SHInitDialog(&shellInit);
  createMenuBar();
  list_.create(window_, 0, 0, 230 * theScreen.scaleX, 170 * theScreen.scaleY);
  // The list fills the window from the start, not only after the next WM_SIZE.
  RECT client{};
  GetClientRect(window_, &client);
  layOutList(client.right, client.bottom);
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  if (menuBarMenu_) EnableMenuItem(menuBarMenu_, 1, MF_BYPOSITION | MF_GRAYED);
  return true;
}

void AllNotesWindow::buildContextMenu() {
  contextMenu_ = CreatePopupMenu();
  if (!contextMenu_) return;
  // Built by position; the result reads "Edit ...", "Select All", separator, "Set as expired",
  // "Delete".
  InsertMenuW(contextMenu_, 0, MF_BYPOSITION | MF_STRING, ID_NOTES_EDIT, u"Edit ...");
  InsertMenuW(contextMenu_, 1, MF_BYPOSITION | MF_STRING, ID_NOTES_DELETE, u"Delete");
  InsertMenuW(contextMenu_, 1, MF_BYPOSITION | MF_STRING, ID_NOTES_SELECT_ALL, u"Select All");
  InsertMenuW(contextMenu_, 2, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  InsertMenuW(contextMenu_, 3, MF_BYPOSITION | MF_STRING, ID_NOTES_SET_EXPIRED, u"Set as expired");
}

void AllNotesWindow::createMenuBar() {
  // The old bar takes its menu with it.
  if (menuBar_) DestroyWindow(menuBar_);
  menuBar_ = nullptr;
  menuBarMenu_ = nullptr;
  SHMENUBARINFO bar{};
  bar.cbSize = sizeof bar;
  bar.hwndParent = window_;
  bar.dwFlags = SHCMBF_HMENU;
  bar.nToolBarId = IDM_ALL_NOTES_BAR;
  bar.hInstRes = GetModuleHandleW(nullptr);
  if (!SHCreateMenuBar(&bar)) return;
  menuBar_ = bar.hwndMB;
  menuBarMenu_ = reinterpret_cast<HMENU>(SendMessageW(menuBar_, SHCMBM_GETMENU, 0, 0));
}

void AllNotesWindow::layOutList(int clientWidth, int clientHeight) {
  if (!list_.control()) return;
  // Only the list's top border shows.
  MoveWindow(list_.control(), -theScreen.scaleX, 0, clientWidth + 2 * theScreen.scaleX,
             clientHeight + theScreen.scaleY, TRUE);
}

void AllNotesWindow::releaseWindowParts() {
  list_.destroy();
  if (contextMenu_) DestroyMenu(contextMenu_);
  contextMenu_ = nullptr;
  // The bar and its menu go with the window.
  menuBar_ = nullptr;
  menuBarMenu_ = nullptr;
  window_ = nullptr;
}

void AllNotesWindow::releaseClass() {
  if (classRegistered_) UnregisterClassW(kWindowClass, GetModuleHandleW(nullptr));
  classRegistered_ = false;
  if (brush_) DeleteObject(brush_);
  brush_ = nullptr;
}

void AllNotesWindow::refill() {
  if (!window_) return;
  std::lock_guard lock(noteLock_);
  list_.deleteAllRows();
  fill();
}

void AllNotesWindow::fill() {
  std::lock_guard lock(noteLock_);
  list_.beginBatch();
  for (const NoteEntry& note : notes_) list_.insertRow(note);
  list_.endBatch();
}

int AllNotesWindow::selectedCount() const { return list_.selectedCount(); }

std::vector<int> AllNotesWindow::selectedIndices() const { return list_.selectedIndices(); }

int AllNotesWindow::selectionMark() const { return list_.selectionMark(); }

void AllNotesWindow::updateListFont() { list_.updateFont(); }
