#include "notewindow/titles_editor.h"

#include <aygshell.h>

#include <algorithm>
#include <vector>

#include "app/app_references.h"
#include "app/help_launcher.h"
#include "app/note_app.h"
#include "notewindow/title_list.h"
#include "resources/resource.h"

namespace {

// Texts read from the edit field and the list box are cut to what a stored title can hold.
constexpr int kTextCapacity = static_cast<int>(TitleList::kTitleCapacity);

}  // namespace

INT_PTR TitlesEditor::run(HWND parent) {
  parent_ = parent;
  const INT_PTR result = DialogBoxParamW(theNoteApp->instance(), MAKEINTRESOURCEW(IDD_TITLES_EDITOR), parent,
                                         dialogProc, reinterpret_cast<LPARAM>(this));
  dialog_ = nullptr;
  return result;
}

INT_PTR CALLBACK TitlesEditor::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* editor = reinterpret_cast<TitlesEditor*>(lParam);
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    editor->dialog_ = dialog;
    editor->initialise();
    return TRUE;
  }
  auto* editor = reinterpret_cast<TitlesEditor*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!editor) return FALSE;
  switch (message) {
    case WM_SIZE:
      editor->layOut();
      break;
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETSIPINFO) editor->layOut();
      break;
    case WM_PAINT:
      editor->paintBand();
      break;
    case WM_HELP:
      OpenHelp(kHelpFile, u"Titles");
      break;
    case WM_COMMAND:
      editor->command(LOWORD(wParam), HIWORD(wParam));
      break;
    default:
      break;
  }
  return FALSE;
}

void TitlesEditor::initialise() {
  // First, so that the sizing below already lays out the list box.
  list_ = GetDlgItem(dialog_, IDC_TITLES_LIST);
  edit_ = GetDlgItem(dialog_, IDC_TITLE_TEXT);
  moveUp_ = GetDlgItem(dialog_, IDC_TITLE_MOVE_UP);
  moveDown_ = GetDlgItem(dialog_, IDC_TITLE_MOVE_DOWN);
  delete_ = GetDlgItem(dialog_, IDC_TITLE_DELETE);
  add_ = GetDlgItem(dialog_, IDC_TITLE_ADD);
  deleteAll_ = GetDlgItem(dialog_, IDC_TITLES_DELETE_ALL);

  SHINITDLGINFO shell = {};
  shell.dwMask = SHIDIM_FLAGS;
  shell.hDlg = dialog_;
  shell.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_FULLSCREENNOMENUBAR;
  SHInitDialog(&shell);
  SetForegroundWindow(dialog_);
  // Hiding and showing the input-panel button again puts it on the navigation bar of this
  // full-screen dialog.
  SHFullScreen(dialog_, SHFS_HIDESIPBUTTON);
  SHFullScreen(dialog_, SHFS_SHOWSIPBUTTON);
  SipShowIM(SIPF_OFF);
  SipShowIM(SIPF_ON);

  for (HWND button : {add_, delete_, moveUp_, moveDown_}) EnableWindow(button, FALSE);

  const TitleList titles;
  EnableWindow(deleteAll_, titles.count() > 0);
  for (int index = 0; index < titles.count(); ++index) {
    WCHAR text[kTextCapacity] = {};
    titles.getAt(index, text);
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
}

void TitlesEditor::layOut() {
  SIPINFO panel = {};
  panel.cbSize = sizeof panel;
  SHSipInfo(SPI_GETSIPINFO, 0, &panel, 0);
  RECT window;
  GetWindowRect(dialog_, &window);
  const int bottom = (panel.fdwFlags & SIPF_ON) ? panel.rcVisibleDesktop.bottom - 60 * theScreen.scaleY
                                                : window.bottom - 85 * theScreen.scaleY;
  // A dialog shorter than the controls above the list leaves it empty rather than inverted.
  const int height = std::max(0, static_cast<int>(bottom - window.top));
  MoveWindow(list_, 3 * theScreen.scaleX, 55 * theScreen.scaleY, 151 * theScreen.scaleX, height, TRUE);
}

void TitlesEditor::paintBand() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(dialog_, &paint);
  RECT client;
  GetClientRect(dialog_, &client);
  const RECT band = {client.left - theScreen.scaleX, client.bottom - 25 * theScreen.scaleY,
                     client.right + theScreen.scaleX, client.bottom + theScreen.scaleY};
  FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  EndPaint(dialog_, &paint);
}

void TitlesEditor::command(int id, int code) {
  switch (id) {
    case IDOK:
      store();
      EndDialog(dialog_, 1);
      break;
    case IDC_TITLE_TEXT:
      if (code == EN_CHANGE) EnableWindow(add_, !editText().empty());
      if (code == EN_SETFOCUS) SipShowIM(SIPF_ON);
      if (code == EN_KILLFOCUS) SipShowIM(SIPF_OFF);
      break;
    case IDC_TITLE_ADD:
      add();
      break;
    case IDC_TITLE_DELETE:
      deleteSelected();
      break;
    case IDC_TITLES_LIST:
      if (code == LBN_SELCHANGE) updateButtons();
      break;
    case IDC_TITLE_MOVE_UP:
      move(-1);
      break;
    case IDC_TITLE_MOVE_DOWN:
      move(1);
      break;
    case IDC_TITLES_DELETE_ALL:
      deleteAll();
      break;
    default:
      break;
  }
}

void TitlesEditor::add() {
  const std::u16string text = editText();
  if (text.empty()) return;
  // The list box's search ignores case, so "work" is refused while "Work" is listed.
  if (SendMessageW(list_, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str())) !=
      LB_ERR) {
    MessageBoxW(dialog_, u"Title with the same text already exists!", u"Already exists", MB_OK);
    SetFocus(edit_);
    SendMessageW(edit_, EM_SETSEL, 0, -1);
    return;
  }
  SendMessageW(list_, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  updateButtons();
  EnableWindow(deleteAll_, TRUE);
}

void TitlesEditor::deleteSelected() {
  const LRESULT selected = SendMessageW(list_, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) return;
  SendMessageW(list_, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
  updateButtons();
  EnableWindow(deleteAll_, itemCount() > 0);
}

void TitlesEditor::move(int step) {
  const LRESULT selected = SendMessageW(list_, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) return;
  const int from = static_cast<int>(selected);
  const int to = from + step;
  if (to < 0 || to >= itemCount()) return;
  const std::u16string text = itemText(from);
  SendMessageW(list_, LB_DELETESTRING, static_cast<WPARAM>(from), 0);
  SendMessageW(list_, LB_INSERTSTRING, static_cast<WPARAM>(to), reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(to), 0);
  updateButtons();
}

void TitlesEditor::deleteAll() {
  if (MessageBoxW(dialog_, u"Are you sure you want to delete all titles?", u"Delete all", MB_YESNO) != IDYES) return;
  SendMessageW(list_, LB_RESETCONTENT, 0, 0);
  updateButtons();
  EnableWindow(deleteAll_, FALSE);
}

void TitlesEditor::store() {
  TitleList titles;
  titles.clear();
  // addUnique compares exactly, so a text the list box holds twice is stored once.
  for (int index = 0; index < itemCount(); ++index) titles.addUnique(itemText(index).c_str());
  titles.save();
}

void TitlesEditor::updateButtons() {
  const LRESULT selected = SendMessageW(list_, LB_GETCURSEL, 0, 0);
  const bool any = selected != LB_ERR;
  EnableWindow(delete_, any);
  EnableWindow(moveUp_, any && selected > 0);
  EnableWindow(moveDown_, any && selected < itemCount() - 1);
}

std::u16string TitlesEditor::editText() const {
  WCHAR text[kTextCapacity] = {};
  GetWindowTextW(edit_, text, kTextCapacity);
  return text;
}

std::u16string TitlesEditor::itemText(int index) const {
  const LRESULT length = SendMessageW(list_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return {};
  // LB_GETTEXT has no bound: the buffer takes the whole item, which is then cut.
  std::vector<WCHAR> text(static_cast<size_t>(length) + 1, 0);
  SendMessageW(list_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  std::u16string result(text.data());
  if (result.size() >= static_cast<size_t>(kTextCapacity)) result.resize(kTextCapacity - 1);
  return result;
}

int TitlesEditor::itemCount() const { return static_cast<int>(SendMessageW(list_, LB_GETCOUNT, 0, 0)); }
