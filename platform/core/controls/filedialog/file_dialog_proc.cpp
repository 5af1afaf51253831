// The open-file dialog's procedure: its controls laid out over the whole screen, the folder
// listed into the list box, going into folders and up, the filter, and the checks of the
// name chosen before the dialog ends.
#include "controls/filedialog/file_dialog.h"

#include "strings/utf.h"
#include "user/controls/automation_state.h"
#include "user/controls/control_support.h"
#include "user/dialogs/dialog_font.h"
#include "user/dialogs/dialog_info.h"

namespace handheld::controls {

namespace {

constexpr int kButtonWidthUnits = 50;  // dialog units
constexpr int kNameLabelUnits = 30;
// ES_AUTOHSCROLL: a name longer than the field scrolls rather than stopping.
constexpr DWORD kNameScrolls = 0x0080L;

FileDialogState* stateOf(HWND dialog) {
  return reinterpret_cast<FileDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

bool classExists(const char16_t* name) {
  WNDCLASSW description{};
  return GetClassInfoW(nullptr, name, &description) != FALSE;
}

HWND make(HWND dialog, const char16_t* className, const char16_t* text, DWORD style, const RECT& r, int id) {
  HWND control = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, dialog,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  if (control) SendMessageW(control, WM_SETFONT, static_cast<WPARAM>(SendMessageW(dialog, WM_GETFONT, 0, 0)), FALSE);
  return control;
}

std::u16string shown(const BrowserEntry& entry) { return entry.folder ? u"[" + entry.name + u"]" : entry.name; }

int selection(HWND dialog) {
  return static_cast<int>(SendDlgItemMessageW(dialog, kListId, LB_GETCURSEL, 0, 0));
}

std::u16string itemText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control ? user::controls::controlText(control) : std::u16string();
}

// Lists the folder; `select` is the name to select when it is there.
void refresh(HWND dialog, FileDialogState& state, const std::u16string& select) {
  static const std::vector<std::u16string> kEverything;
  const auto& patterns = state.filters.empty() ? kEverything : state.filters[state.filterIndex].patterns;
  state.entries.clear();
  if (!state.folder.atRoot()) state.entries.push_back({u"..", true, false});
  for (auto& entry : listFolder(state.folder, patterns)) state.entries.push_back(std::move(entry));
  SetDlgItemTextW(dialog, kFolderId, state.folder.text().c_str());
  HWND list = GetDlgItem(dialog, kListId);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  int selected = -1;
  for (size_t i = 0; i < state.entries.size(); ++i) {
    const auto text = shown(state.entries[i]);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (selected < 0 && !select.empty() && CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, state.entries[i].name.c_str(), -1, select.c_str(), -1) == CSTR_EQUAL)
      selected = static_cast<int>(i);
  }
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void warn(HWND dialog, const FileDialogState& state, const std::u16string& text) {
  MessageBoxW(dialog, text.c_str(), state.title.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

// Checks the path as the flags ask and ends the dialog with it.
void accept(HWND dialog, FileDialogState& state, const FolderPath& folder, const std::u16string& name) {
  if ((state.flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) && !folder.exists()) {
    warn(dialog, state, folder.text() + u"\nPath does not exist.\nPlease verify the correct path was given.");
    return;
  }
  const std::u16string path = folder.child(name);
  if (state.flags & OFN_FILEMUSTEXIST) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      warn(dialog, state, name + u"\nFile not found.\nPlease verify the correct file name was given.");
      return;
    }
  }
  state.chosen = path;
  state.readOnly = IsDlgButtonChecked(dialog, kReadOnlyId) == BST_CHECKED;
  EndDialog(dialog, IDOK);
}

// Into a folder, up, or the file chosen.
void open(HWND dialog, FileDialogState& state, size_t index) {
  if (index >= state.entries.size()) return;
  const BrowserEntry entry = state.entries[index];
  if (!entry.folder) {
    accept(dialog, state, state.folder, entry.name);
    return;
  }
  std::u16string select;
  if (entry.name == u"..") {
    select = state.folder.text();
    select = select.substr(select.find_last_of(u'\\') + 1);  // the folder left, selected
    state.folder.up();
  } else {
    state.folder.enter(entry.name);
  }
  refresh(dialog, state, select);
  SetDlgItemTextW(dialog, kNameId, u"");
}

// A typed name: a folder (relative to the one shown, or from the root) to show, or a file.
void openTyped(HWND dialog, FileDialogState& state, const std::u16string& typed) {
  const bool fromRoot = typed.front() == u'\\' || typed.front() == u'/';
  const FolderPath target = FolderPath::parse(fromRoot ? typed : state.folder.text() + u"\\" + typed);
  if (target.exists()) {
    state.folder = target;
    refresh(dialog, state, u"");
    SetDlgItemTextW(dialog, kNameId, u"");
    return;
  }
  const std::u16string path = target.text();
  const size_t cut = path.find_last_of(u'\\');
  accept(dialog, state, FolderPath::parse(path.substr(0, cut)), path.substr(cut + 1));
}

void okPressed(HWND dialog, FileDialogState& state) {
  const std::u16string typed = itemText(dialog, kNameId);
  if (!typed.empty()) {
    openTyped(dialog, state, typed);
    return;
  }
  const int selected = selection(dialog);
  if (selected >= 0) open(dialog, state, static_cast<size_t>(selected));
}

void layOut(HWND dialog, FileDialogState& state) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  SetWindowPos(dialog, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  auto info = user::dialogs::dialogInfo(dialog);
  const SIZE base = info ? info->baseUnits : SIZE{7, 14};
  const int unit = user::controls::lineWidth(), margin = 4 * unit;
  const int line = base.cy + 6 * unit;
  state.titleBand = {0, 0, width, user::dialogs::titleBandHeight(state.titleFont.height())};
  int top = state.titleBand.bottom + margin;
  make(dialog, u"STATIC", u"", SS_LEFTNOWORDWRAP | SS_NOPREFIX, {margin, top, width - margin, top + base.cy}, kFolderId);
  top += base.cy + margin;

  // From the bottom up: the buttons, the read-only check box, the filters, the name.
  const int buttonHeight = base.cy * 3 / 2 + 2 * unit, buttonWidth = kButtonWidthUnits * base.cx / 4;
  int bottom = height - margin - buttonHeight;
  const int left = (width - 2 * buttonWidth - margin) / 2;
  make(dialog, u"BUTTON", u"OK", WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON,
       {left, bottom, left + buttonWidth, bottom + buttonHeight}, IDOK);
  make(dialog, u"BUTTON", u"Cancel", WS_TABSTOP | BS_PUSHBUTTON,
       {left + buttonWidth + margin, bottom, left + 2 * buttonWidth + margin, bottom + buttonHeight}, IDCANCEL);
  bottom -= margin;
  if (!(state.flags & OFN_HIDEREADONLY)) {
    bottom -= line;
    HWND check = make(dialog, u"BUTTON", u"Open as &read-only", WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX,
                      {margin, bottom, width - margin, bottom + line}, kReadOnlyId);
    if (state.flags & OFN_READONLY) SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    bottom -= margin;
  }
  if (!state.filters.empty() && classExists(u"COMBOBOX")) {
    bottom -= line;
    // The combo box's window reaches down over its dropped list.
    HWND types = make(dialog, u"COMBOBOX", u"", WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWNLIST,
                      {margin, bottom, width - margin, bottom + 6 * line}, kTypesId);
    for (const auto& filter : state.filters)
      SendMessageW(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(filter.description.c_str()));
    SendMessageW(types, CB_SETCURSEL, state.filterIndex, 0);
    bottom -= margin;
  }
  const bool typing = classExists(u"EDIT");
  if (typing) bottom -= line + margin;
  make(dialog, u"LISTBOX", u"", WS_TABSTOP | WS_GROUP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
       {margin, top, width - margin, bottom}, kListId);
  if (typing) {
    const int labelWidth = kNameLabelUnits * base.cx / 4, y = bottom + margin;
    make(dialog, u"STATIC", u"Name:", SS_LEFT, {margin, y + 3 * unit, margin + labelWidth, y + line}, -1);
    make(dialog, u"EDIT", state.initialName.c_str(), WS_TABSTOP | WS_GROUP | WS_BORDER | kNameScrolls,
         {margin + labelWidth, y, width - margin, y + line}, kNameId);
  }
}

BOOL initialize(HWND dialog, FileDialogState& state) {
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
  layOut(dialog, state);
  if (!GetDlgItem(dialog, kListId)) return FALSE;
  refresh(dialog, state, state.initialName);
  // The list has the focus when the dialog is activated.
  HWND list = GetDlgItem(dialog, kListId);
  user::dialogs::changeDialog(dialog, [&](user::dialogs::DialogInfo& info) { info.lastFocus = list; });
  return TRUE;
}

void describe(HWND dialog, const FileDialogState& state, LPARAM lParam) {
  nlohmann::json& out = user::controls::automationStateOf(lParam);
  out["folder"] = strings::toUtf8(state.folder.text());
  nlohmann::json items = nlohmann::json::array();
  for (const auto& entry : state.entries) items.push_back(strings::toUtf8(shown(entry)));
  out["items"] = items;
  out["selection"] = selection(dialog);
  if (state.filters.empty()) out["filter"] = nullptr;
  else out["filter"] = strings::toUtf8(state.filters[state.filterIndex].patternText);
  SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
}

void paint(HWND dialog, const FileDialogState& state) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(dialog, &ps);
  if (hdc) user::dialogs::paintTitleBand(hdc, state.titleBand, state.title, state.titleFont.get());
  EndPaint(dialog, &ps);
}

void command(HWND dialog, FileDialogState& state, WORD id, WORD code) {
  switch (id) {
    case IDOK:
      if (code == BN_CLICKED) okPressed(dialog, state);
      break;
    case IDCANCEL:
      if (code == BN_CLICKED) EndDialog(dialog, IDCANCEL);
      break;
    case kListId:
      if (code == LBN_DBLCLK && selection(dialog) >= 0) open(dialog, state, static_cast<size_t>(selection(dialog)));
      else if (code == LBN_SELCHANGE && selection(dialog) >= 0 &&
               static_cast<size_t>(selection(dialog)) < state.entries.size() && GetDlgItem(dialog, kNameId)) {
        const auto& entry = state.entries[static_cast<size_t>(selection(dialog))];
        SetDlgItemTextW(dialog, kNameId, entry.folder ? u"" : entry.name.c_str());
      }
      break;
    case kTypesId:
      if (code == CBN_SELCHANGE) {
        const LRESULT chosen = SendDlgItemMessageW(dialog, kTypesId, CB_GETCURSEL, 0, 0);
        if (chosen >= 0 && static_cast<size_t>(chosen) < state.filters.size()) state.filterIndex = static_cast<size_t>(chosen);
        refresh(dialog, state, u"");
      }
      break;
    default:
      break;
  }
}

}  // namespace

INT_PTR CALLBACK fileDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    if (!initialize(dialog, *reinterpret_cast<FileDialogState*>(lParam))) DestroyWindow(dialog);
    return FALSE;
  }
  FileDialogState* state = stateOf(dialog);
  if (!state) return FALSE;
  switch (message) {
    case WM_COMMAND:
      command(dialog, *state, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_PAINT:
      paint(dialog, *state);
      return TRUE;
    case user::controls::WM_AUTOMATION_STATE:
      describe(dialog, *state, lParam);
      return TRUE;
    case WM_NCDESTROY:
      SetWindowLongPtrW(dialog, DWLP_USER, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace handheld::controls
