// The control gallery (\Windows\ctlgallery.exe): every control of the platform at once, for
// people to try and for scripts to drive through automation. The controls sit in one dialog
// that scrolls inside the window; a button at the bottom opens the gallery's pop-up menu
// (message box, property sheet, open-file dialog, a sub-menu of options), and the line beside
// it says what the last choice gave.
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <array>
#include <string>

#include "gallery_ids.h"

namespace {

constexpr const char16_t* kWindowClass = u"CtlGallery";
constexpr const char16_t* kScrollerClass = u"CtlGalleryScroller";

HINSTANCE g_instance = nullptr;
HWND g_main = nullptr;
HWND g_scroller = nullptr;
HWND g_gallery = nullptr;  // the dialog of controls inside the scroller
HMENU g_menu = nullptr;    // kept loaded so that the options keep their checks

void setStatus(const std::u16string& text) { SetDlgItemTextW(g_main, IDC_STATUS, text.c_str()); }

int barHeight() { return GetSystemMetrics(SM_CYMENU) + 4; }

// ---- the controls ----

void fillListView(HWND view) {
  const std::array<const char16_t*, 2> columns{u"Item", u"Value"};
  RECT area;
  GetClientRect(view, &area);
  for (int i = 0; i < 2; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = (area.right - area.left) / 2;
    column.pszText = const_cast<LPWSTR>(columns[static_cast<size_t>(i)]);
    SendMessageW(view, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
  SendMessageW(view, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  for (int row = 0; row < 25; ++row) {
    std::u16string name = u"Row " + std::u16string(1, static_cast<char16_t>(u'A' + row));
    std::u16string value;
    for (char c : std::to_string((row + 1) * 7)) value += static_cast<char16_t>(c);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = name.data();
    const int index = static_cast<int>(SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    item.iItem = index;
    item.iSubItem = 1;
    item.pszText = value.data();
    SendMessageW(view, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  }
}

void fillTabs(HWND tabs) {
  const std::array<const char16_t*, 3> names{u"One", u"Two", u"Three"};
  for (size_t i = 0; i < names.size(); ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(names[i]);
    SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
}

void fillStrings(HWND control, UINT addMessage, std::initializer_list<const char16_t*> strings) {
  for (const char16_t* s : strings) SendMessageW(control, addMessage, 0, reinterpret_cast<LPARAM>(s));
}

void initGallery(HWND dialog) {
  fillStrings(GetDlgItem(dialog, IDC_COMBO), CB_ADDSTRING, {u"Apple", u"Banana", u"Cherry", u"Damson", u"Elderberry"});
  SendDlgItemMessageW(dialog, IDC_COMBO, CB_SETCURSEL, 0, 0);
  fillStrings(GetDlgItem(dialog, IDC_LIST), LB_ADDSTRING,
              {u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday", u"Sunday"});
  SetDlgItemTextW(dialog, IDC_MULTILINE, u"A text field of several lines: it wraps words and scrolls.");
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 0, 0};
  SendDlgItemMessageW(dialog, IDC_SCROLLBAR, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&info));
  fillListView(GetDlgItem(dialog, IDC_LISTVIEW));
  SendDlgItemMessageW(dialog, IDC_UPDOWN, UDM_SETRANGE32, 0, 100);
  SendDlgItemMessageW(dialog, IDC_UPDOWN, UDM_SETPOS32, 0, 5);
  fillTabs(GetDlgItem(dialog, IDC_TABS));
  CheckRadioButton(dialog, IDC_RADIO_ONE, IDC_RADIO_TWO, IDC_RADIO_ONE);
}

// The scroll bar control leaves moving its thumb to its parent.
void scrollTheBar(HWND bar, WORD code, int trackPosition) {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  SendMessageW(bar, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&info));
  int position = info.nPos;
  const int last = info.nMax - static_cast<int>(std::max(1u, info.nPage)) + 1;
  switch (code) {
    case SB_LINELEFT: position -= 1; break;
    case SB_LINERIGHT: position += 1; break;
    case SB_PAGELEFT: position -= static_cast<int>(info.nPage); break;
    case SB_PAGERIGHT: position += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = trackPosition; break;
    case SB_LEFT: position = info.nMin; break;
    case SB_RIGHT: position = last; break;
    default: return;
  }
  SendMessageW(bar, SBM_SETPOS, static_cast<WPARAM>(std::clamp(position, info.nMin, last)), TRUE);
}

INT_PTR CALLBACK galleryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      initGallery(dialog);
      return FALSE;  // the focus stays where the window puts it
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, IDC_SCROLLBAR))
        scrollTheBar(reinterpret_cast<HWND>(lParam), LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_PUSH && HIWORD(wParam) == BN_CLICKED) setStatus(u"Pushed");
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == IDC_TABS && header->code == TCN_SELCHANGE) {
        static const std::array<const char16_t*, 3> pages{u"Page one", u"Page two", u"Page three"};
        const auto tab = SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0);
        if (tab >= 0 && tab < 3) SetDlgItemTextW(dialog, IDC_TAB_PAGE, pages[static_cast<size_t>(tab)]);
      } else if (header->idFrom == IDC_CALENDAR && header->code == MCN_SELECTNONE) {
        setStatus(u"Calendar: none");
      } else if (header->idFrom == IDC_CALENDAR && header->code == MCN_SELECT) {
        setStatus(u"Calendar: a day");
      }
      return TRUE;
    }
    default:
      return FALSE;
  }
}

// ---- the property sheet ----

INT_PTR CALLBACK pageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      if (GetDlgItem(page, IDC_PAGE_LIST)) {
        fillStrings(GetDlgItem(page, IDC_PAGE_LIST), LB_ADDSTRING, {u"Red", u"Green", u"Blue"});
        fillStrings(GetDlgItem(page, IDC_PAGE_COMBO), CB_ADDSTRING, {u"North", u"East", u"South", u"West"});
      }
      if (GetDlgItem(page, IDC_PAGE_UPDOWN)) SendDlgItemMessageW(page, IDC_PAGE_UPDOWN, UDM_SETRANGE32, 1, 9);
      if (GetDlgItem(page, IDC_PAGE_RADIO_ONE)) CheckRadioButton(page, IDC_PAGE_RADIO_ONE, IDC_PAGE_RADIO_TWO, IDC_PAGE_RADIO_ONE);
      return TRUE;
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(PSN_APPLY)) {
        SetWindowLongPtrW(page, DWLP_MSGRESULT, PSNRET_NOERROR);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

void showPropertySheet() {
  std::array<PROPSHEETPAGEW, 3> pages{};
  const std::array<int, 3> templates{IDD_PAGE_BUTTONS, IDD_PAGE_LISTS, IDD_PAGE_DATES};
  for (size_t i = 0; i < pages.size(); ++i) {
    pages[i].dwSize = sizeof(PROPSHEETPAGEW);
    pages[i].hInstance = g_instance;
    pages[i].pszTemplate = MAKEINTRESOURCEW(templates[i]);
    pages[i].pfnDlgProc = pageProc;
  }
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof(PROPSHEETHEADERW);
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_MAXIMIZE;
  header.hwndParent = g_main;
  header.hInstance = g_instance;
  header.pszCaption = u"Gallery sheet";
  header.nPages = static_cast<UINT>(pages.size());
  header.ppsp = pages.data();
  const INT_PTR result = PropertySheetW(&header);
  setStatus(result > 0 ? u"Property sheet: OK" : result == 0 ? u"Property sheet: cancelled" : u"Property sheet: failed");
}

// ---- the menu ----

void openFile() {
  char16_t path[MAX_PATH] = u"";
  OPENFILENAMEW request{};
  request.lStructSize = sizeof(OPENFILENAMEW);
  request.hwndOwner = g_main;
  request.lpstrFilter = u"All files (*.*)\0*.*\0Pictures (*.bmp)\0*.bmp\0";
  request.nFilterIndex = 1;
  request.lpstrFile = path;
  request.nMaxFile = MAX_PATH;
  request.lpstrTitle = u"Open a file";
  request.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  setStatus(GetOpenFileNameW(&request) ? u"Opened " + std::u16string(path) : u"Open: cancelled");
}

void askMessageBox() {
  switch (MessageBoxW(g_main, u"Keep the changes made in the gallery?", u"Gallery", MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: setStatus(u"Message box: yes"); break;
    case IDNO: setStatus(u"Message box: no"); break;
    default: setStatus(u"Message box: cancel"); break;
  }
}

void runCommand(UINT command) {
  HMENU popup = GetSubMenu(g_menu, 0);
  switch (command) {
    case IDM_MESSAGE_BOX: askMessageBox(); break;
    case IDM_PROPERTY_SHEET: showPropertySheet(); break;
    case IDM_OPEN_FILE: openFile(); break;
    case IDM_OPTION_A:
    case IDM_OPTION_B: {
      const bool checked = (GetMenuState(popup, command, MF_BYCOMMAND) & MF_CHECKED) != 0;
      CheckMenuItem(popup, command, MF_BYCOMMAND | (checked ? MF_UNCHECKED : MF_CHECKED));
      setStatus(std::u16string(command == IDM_OPTION_A ? u"Option A " : u"Option B ") + (checked ? u"off" : u"on"));
      break;
    }
    case IDM_SIZE_SMALL:
    case IDM_SIZE_LARGE:
      CheckMenuRadioItem(popup, IDM_SIZE_SMALL, IDM_SIZE_LARGE, command, MF_BYCOMMAND);
      setStatus(command == IDM_SIZE_SMALL ? u"Size: small" : u"Size: large");
      break;
    case IDM_EXIT: DestroyWindow(g_main); break;
    default: break;
  }
}

void openMenu() {
  RECT button;
  GetWindowRect(GetDlgItem(g_main, IDC_MENU_BUTTON), &button);
  const UINT command = static_cast<UINT>(TrackPopupMenuEx(GetSubMenu(g_menu, 0), TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_RETURNCMD,
                                                          button.left, button.top, g_main, nullptr));
  if (command) runCommand(command);
}

// ---- the scroller ----

int galleryHeight() {
  RECT r;
  GetWindowRect(g_gallery, &r);
  return r.bottom - r.top;
}

int scrollPosition() { return GetScrollPos(g_scroller, SB_VERT); }

void scrollTo(int position) {
  RECT client;
  GetClientRect(g_scroller, &client);
  const int page = client.bottom;
  position = std::clamp(position, 0, std::max(0, galleryHeight() - page));
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, galleryHeight() - 1, static_cast<UINT>(page), position, 0};
  SetScrollInfo(g_scroller, SB_VERT, &info, TRUE);
  SetWindowPos(g_gallery, nullptr, 0, -position, client.right, galleryHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
}

// Brings a control that took the focus into view.
void keepInView(HWND control) {
  if (!control || !IsChild(g_gallery, control)) return;
  RECT item, view;
  GetWindowRect(control, &item);
  GetWindowRect(g_scroller, &view);
  if (item.top < view.top) scrollTo(scrollPosition() - (view.top - item.top) - 4);
  else if (item.bottom > view.bottom) scrollTo(scrollPosition() + (item.bottom - view.bottom) + 4);
}

LRESULT CALLBACK scrollerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_VSCROLL: {
      RECT client;
      GetClientRect(window, &client);
      const int line = GetSystemMetrics(SM_CYMENU);
      int position = scrollPosition();
      switch (LOWORD(wParam)) {
        case SB_LINEUP: position -= line; break;
        case SB_LINEDOWN: position += line; break;
        case SB_PAGEUP: position -= client.bottom; break;
        case SB_PAGEDOWN: position += client.bottom; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: position = static_cast<short>(HIWORD(wParam)); break;
        case SB_TOP: position = 0; break;
        case SB_BOTTOM: position = galleryHeight(); break;
        default: return 0;
      }
      scrollTo(position);
      return 0;
    }
    case WM_SIZE:
      if (g_gallery) scrollTo(scrollPosition());
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK mainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      RECT client;
      GetClientRect(window, &client);
      const int bar = barHeight();
      g_scroller = CreateWindowExW(0, kScrollerClass, u"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, client.right,
                                   client.bottom - bar, window, nullptr, g_instance, nullptr);
      const int buttonWidth = client.right / 4;
      CreateWindowExW(0, u"BUTTON", u"Menu", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 2, client.bottom - bar + 2,
                      buttonWidth, bar - 4, window, reinterpret_cast<HMENU>(IDC_MENU_BUTTON), g_instance, nullptr);
      CreateWindowExW(0, u"STATIC", u"Tap Menu for more", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE,
                      buttonWidth + 6, client.bottom - bar + 2, client.right - buttonWidth - 8, bar - 4, window,
                      reinterpret_cast<HMENU>(IDC_STATUS), g_instance, nullptr);
      if (!g_scroller) return -1;
      g_gallery = CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_GALLERY), g_scroller, galleryProc, 0);
      if (!g_gallery) return -1;
      scrollTo(0);
      return 0;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_MENU_BUTTON && HIWORD(wParam) == BN_CLICKED) openMenu();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

bool registerClasses() {
  WNDCLASSW main{};
  main.lpfnWndProc = mainProc;
  main.hInstance = g_instance;
  main.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  main.lpszClassName = kWindowClass;
  WNDCLASSW scroller{};
  scroller.lpfnWndProc = scrollerProc;
  scroller.hInstance = g_instance;
  scroller.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  scroller.lpszClassName = kScrollerClass;
  return RegisterClassW(&main) && RegisterClassW(&scroller);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
  g_instance = instance;
  INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES | ICC_UPDOWN_CLASS | ICC_TAB_CLASSES};
  InitCommonControlsEx(&init);
  g_menu = LoadMenuW(instance, MAKEINTRESOURCEW(IDM_GALLERY));
  if (!g_menu || !registerClasses()) return 1;
  g_main = CreateWindowExW(0, kWindowClass, u"Controls", WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                           GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
  if (!g_main) return 1;
  ShowWindow(g_main, show);
  MSG message;
  HWND lastFocus = nullptr;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(g_gallery, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (HWND focus = GetFocus(); focus != lastFocus) {
      lastFocus = focus;
      keepInView(focus);
    }
  }
  DestroyMenu(g_menu);
  return static_cast<int>(message.wParam);
}
