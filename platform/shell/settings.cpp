// The Settings sheet: the Today page and the Buttons page. The Buttons page shows, for each
// hardware button, what it starts (nothing, the Today screen, the start menu or one of the
// installed programs) and writes the choices to the button table when the sheet is applied.
#include <aygshell.h>
#include <commctrl.h>

#include <array>
#include <vector>

#include "button_table.h"
#include "installed_programs.h"
#include "shell.h"
#include "shell_ids.h"
#include "today/today_screen.h"

namespace handheld::shell {

namespace {

constexpr size_t kButtons = kLastButton - kFirstButton + 1;

struct ButtonsPage {
  std::vector<std::u16string> choices;  // actions, in the program list's order
  std::array<std::u16string, kButtons> actions;
  std::array<bool, kButtons> changed{};
};
ButtonsPage* g_page = nullptr;  // the one open page (the sheet is modal)

std::u16string choiceLabel(const std::u16string& action, const std::vector<InstalledProgram>& programs) {
  if (action.empty()) return u"(nothing)";
  if (action == kTodayAction) return u"Today";
  if (action == kStartMenuAction) return u"Start menu";
  for (const auto& program : programs)
    if (program.path == action) return program.name;
  return action;  // a program outside the list keeps its path
}

void addChoice(HWND list, const std::u16string& action, const std::vector<InstalledProgram>& programs) {
  g_page->choices.push_back(action);
  SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choiceLabel(action, programs).c_str()));
}

// Shows the selected button's action in the program list, adding it when it is not there.
void showButton(HWND page) {
  HWND buttons = GetDlgItem(page, IDC_BUTTON_LIST), list = GetDlgItem(page, IDC_PROGRAM_LIST);
  const LRESULT button = SendMessageW(buttons, CB_GETCURSEL, 0, 0);
  if (button < 0 || static_cast<size_t>(button) >= kButtons) return;
  const std::u16string& action = g_page->actions[static_cast<size_t>(button)];
  size_t index = 0;
  while (index < g_page->choices.size() && g_page->choices[index] != action) ++index;
  if (index == g_page->choices.size()) addChoice(list, action, installedPrograms());
  SendMessageW(list, CB_SETCURSEL, index, 0);
}

void initPage(HWND page) {
  HWND buttons = GetDlgItem(page, IDC_BUTTON_LIST), list = GetDlgItem(page, IDC_PROGRAM_LIST);
  const auto programs = installedPrograms();
  for (UINT key = kFirstButton; key <= kLastButton; ++key) {
    g_page->actions[key - kFirstButton] = buttonAction(key);
    SendMessageW(buttons, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(buttonName(key).c_str()));
  }
  addChoice(list, u"", programs);
  addChoice(list, std::u16string(kTodayAction), programs);
  addChoice(list, std::u16string(kStartMenuAction), programs);
  for (const auto& program : programs) addChoice(list, program.path, programs);
  SendMessageW(buttons, CB_SETCURSEL, 0, 0);
  showButton(page);
}

INT_PTR CALLBACK buttonsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!g_page) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      initPage(page);
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) != CBN_SELCHANGE) return FALSE;
      if (LOWORD(wParam) == IDC_BUTTON_LIST) {
        showButton(page);
      } else if (LOWORD(wParam) == IDC_PROGRAM_LIST) {
        const LRESULT button = SendDlgItemMessageW(page, IDC_BUTTON_LIST, CB_GETCURSEL, 0, 0);
        const LRESULT choice = SendDlgItemMessageW(page, IDC_PROGRAM_LIST, CB_GETCURSEL, 0, 0);
        if (button < 0 || static_cast<size_t>(button) >= kButtons || choice < 0 ||
            static_cast<size_t>(choice) >= g_page->choices.size())
          return TRUE;
        g_page->actions[static_cast<size_t>(button)] = g_page->choices[static_cast<size_t>(choice)];
        g_page->changed[static_cast<size_t>(button)] = true;
        SendMessageW(GetParent(page), PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
      }
      return TRUE;
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lParam)->code == PSN_APPLY) {
        for (size_t i = 0; i < kButtons; ++i)
          if (g_page->changed[i] && setButtonAction(static_cast<UINT>(kFirstButton + i), g_page->actions[i]) == ERROR_SUCCESS)
            g_page->changed[i] = false;
        SetWindowLongPtrW(page, DWLP_MSGRESULT, PSNRET_NOERROR);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

// The maximised sheet brings its own title band with "ok" across the top, so the navigation
// bar stands back while the sheet is in front.
int CALLBACK sheetCallback(HWND sheet, UINT message, LPARAM) {
  if (message == PSCB_GETVERSION) return COMCTL32_VERSION;
  if (message == PSCB_INITIALIZED) SHFullScreen(sheet, SHFS_HIDETASKBAR);
  return 0;
}

}  // namespace

void openSettings() {
  if (g_page) return;  // already open
  ButtonsPage state;
  g_page = &state;
  HINSTANCE instance = shellWindows().instance;
  PROPSHEETPAGEW pages[2] = {todaySettingsPage(instance), {}};
  pages[1].dwSize = sizeof(PROPSHEETPAGEW);
  pages[1].hInstance = instance;
  pages[1].pszTemplate = MAKEINTRESOURCEW(IDD_BUTTONS_PAGE);
  pages[1].pfnDlgProc = buttonsPageProc;
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_MAXIMIZE | PSH_USECALLBACK;
  header.pfnCallback = sheetCallback;
  header.hwndParent = shellWindows().desktop;
  header.hInstance = instance;
  header.pszCaption = u"Settings";
  header.nPages = 2;
  header.ppsp = pages;
  PropertySheetW(&header);
  g_page = nullptr;
}

}  // namespace handheld::shell
