// The "Today" page of the Settings sheet: the registered items in their order, whether each is
// shown, moving them, and an item's own options dialog.
#include <todaycmn.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "fault_guard.h"
#include "item_libraries.h"
#include "item_list.h"
#include "today_page_ids.h"
#include "today_screen.h"

namespace handheld::shell {
namespace {

// An empty page; its controls are made in WM_INITDIALOG and follow the page's size.
alignas(4) const WORD kPageTemplate[] = {
    LOWORD(WS_CHILD | DS_SETFONT), HIWORD(WS_CHILD | DS_SETFONT),  // style
    0, 0,                                                          // extended style
    0,                                                             // items
    0, 0, 160, 140,                                                // x, y, cx, cy
    0, 0, 0,                                                       // menu, class, title
    8, u'T', u'a', u'h', u'o', u'm', u'a', 0,                      // font
};

struct PageState {
  std::vector<TodayItemInfo> items;
};

PageState* stateOf(HWND page) { return reinterpret_cast<PageState*>(GetWindowLongPtrW(page, DWLP_USER)); }

int selection(HWND page) {
  return static_cast<int>(SendDlgItemMessageW(page, kTodayPageList, LB_GETCURSEL, 0, 0));
}

std::u16string itemText(const TodayItemInfo& item) {
  return item.enabled ? item.name : item.name + u" (not shown)";
}

void fillList(HWND page, int selected) {
  PageState& state = *stateOf(page);
  SendDlgItemMessageW(page, kTodayPageList, LB_RESETCONTENT, 0, 0);
  for (const TodayItemInfo& item : state.items) {
    const std::u16string text = itemText(item);
    SendDlgItemMessageW(page, kTodayPageList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  SendDlgItemMessageW(page, kTodayPageList, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void updateControls(HWND page) {
  PageState& state = *stateOf(page);
  const int selected = selection(page);
  const bool valid = selected >= 0 && selected < static_cast<int>(state.items.size());
  const TodayItemInfo* item = valid ? &state.items[static_cast<size_t>(selected)] : nullptr;
  CheckDlgButton(page, kTodayPageShown, item && item->enabled ? BST_CHECKED : BST_UNCHECKED);
  EnableWindow(GetDlgItem(page, kTodayPageShown), item != nullptr);
  EnableWindow(GetDlgItem(page, kTodayPageUp), valid && selected > 0);
  EnableWindow(GetDlgItem(page, kTodayPageDown), valid && selected + 1 < static_cast<int>(state.items.size()));
  EnableWindow(GetDlgItem(page, kTodayPageOptions), item && item->options && !item->dll.empty());
}

void layoutControls(HWND page) {
  RECT client{};
  GetClientRect(page, &client);
  const int unit = std::max(1, GetSystemMetrics(SM_CYBORDER));
  const int margin = 4 * unit, line = 20 * unit, buttonWidth = 70 * unit;
  const int listRight = std::max(margin, static_cast<int>(client.right) - 2 * margin - buttonWidth);
  const int listBottom = std::max(2 * line, static_cast<int>(client.bottom) - margin - line);
  MoveWindow(GetDlgItem(page, kTodayPageLabel), margin, margin, client.right - 2 * margin, line, TRUE);
  MoveWindow(GetDlgItem(page, kTodayPageList), margin, margin + line, listRight - margin, listBottom - margin - line,
             TRUE);
  const int buttonLeft = listRight + margin;
  MoveWindow(GetDlgItem(page, kTodayPageUp), buttonLeft, margin + line, buttonWidth, line, TRUE);
  MoveWindow(GetDlgItem(page, kTodayPageDown), buttonLeft, margin + 2 * line + unit * 4, buttonWidth, line, TRUE);
  MoveWindow(GetDlgItem(page, kTodayPageOptions), buttonLeft, margin + 3 * line + unit * 8, buttonWidth, line, TRUE);
  MoveWindow(GetDlgItem(page, kTodayPageShown), margin, listBottom + unit * 2, client.right - 2 * margin, line, TRUE);
}

void createControls(HWND page, HINSTANCE instance) {
  struct Control {
    const char16_t* className;
    const char16_t* text;
    DWORD style;
    int id;
  };
  const Control controls[] = {
      {u"STATIC", u"Items shown on the Today screen:", SS_LEFT, kTodayPageLabel},
      {u"LISTBOX", u"", LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP, kTodayPageList},
      {u"BUTTON", u"Move Up", BS_PUSHBUTTON | WS_TABSTOP, kTodayPageUp},
      {u"BUTTON", u"Move Down", BS_PUSHBUTTON | WS_TABSTOP, kTodayPageDown},
      {u"BUTTON", u"Options...", BS_PUSHBUTTON | WS_TABSTOP, kTodayPageOptions},
      {u"BUTTON", u"Show on the Today screen", BS_AUTOCHECKBOX | WS_TABSTOP, kTodayPageShown},
  };
  const auto font = static_cast<WPARAM>(SendMessageW(page, WM_GETFONT, 0, 0));
  for (const Control& control : controls) {
    HWND created = CreateWindowExW(0, control.className, control.text, WS_CHILD | WS_VISIBLE | control.style, 0, 0,
                                   10, 10, page, reinterpret_cast<HMENU>(static_cast<intptr_t>(control.id)),
                                   instance, nullptr);
    if (created && font) SendMessageW(created, WM_SETFONT, font, FALSE);
  }
  layoutControls(page);
}

// The options dialog of the item being run on this thread, for the guarding procedure.
struct OptionsRun {
  DLGPROC procedure = nullptr;
  bool faulted = false;
  int signal = 0;
};
thread_local OptionsRun* t_optionsRun = nullptr;

INT_PTR CALLBACK guardedOptionsProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  OptionsRun* run = t_optionsRun;
  if (!run || run->faulted) return FALSE;
  INT_PTR result = FALSE;
  if (!guardedCall([&] { result = run->procedure(dialog, message, wParam, lParam); }, &run->signal)) {
    run->faulted = true;
    EndDialog(dialog, -1);
    return TRUE;
  }
  // An item that leaves the cancel command alone would keep the person in its dialog.
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL && !result && IsWindow(dialog)) EndDialog(dialog, IDCANCEL);
  return result;
}

void runOptions(HWND page, const TodayItemInfo& item) {
  const std::string name = utf8(item.name), dll = utf8(item.dll);
  if (isBrokenLibrary(item.dll)) {
    logToday("item \"%s\": %s faulted before; its options do not open", name.c_str(), dll.c_str());
    return;
  }
  HMODULE module = LoadLibraryW(item.dll.c_str());
  if (!module) {
    logToday("item \"%s\": cannot load %s for its options (error %u)", name.c_str(), dll.c_str(), GetLastError());
    return;
  }
  OptionsRun run;
  run.procedure = reinterpret_cast<DLGPROC>(reinterpret_cast<void (*)()>(GetProcAddressW(module, MAKEINTRESOURCEW(241))));
  if (!run.procedure || !FindResourceW(module, MAKEINTRESOURCEW(IDD_TODAY_CUSTOM), RT_DIALOG)) {
    logToday("item \"%s\": %s has no options dialog (ordinal 241 and dialog 500)", name.c_str(), dll.c_str());
    FreeLibrary(module);
    return;
  }
  OptionsRun* outer = t_optionsRun;
  t_optionsRun = &run;
  DialogBoxParamW(module, MAKEINTRESOURCEW(IDD_TODAY_CUSTOM), page, guardedOptionsProcedure, 0);
  t_optionsRun = outer;
  if (run.faulted) {
    logToday("item \"%s\": %s faulted (%s) in its options dialog; left out until the shell starts again",
             name.c_str(), dll.c_str(), faultName(run.signal).c_str());
    markBrokenLibrary(item.dll);  // the module stays loaded
  } else {
    FreeLibrary(module);
  }
  // The item reads its options when it starts.
  rebuildTodayScreens();
}

void onCommand(HWND page, int id, int code) {
  PageState& state = *stateOf(page);
  const int selected = selection(page);
  if (selected < 0 || selected >= static_cast<int>(state.items.size())) return;
  const auto index = static_cast<size_t>(selected);
  switch (id) {
    case kTodayPageList:
      if (code == LBN_SELCHANGE) updateControls(page);
      return;
    case kTodayPageShown:
      state.items[index].enabled = IsDlgButtonChecked(page, kTodayPageShown) == BST_CHECKED;
      fillList(page, selected);
      break;
    case kTodayPageUp:
      if (index == 0) return;
      std::swap(state.items[index], state.items[index - 1]);
      fillList(page, selected - 1);
      break;
    case kTodayPageDown:
      if (index + 1 >= state.items.size()) return;
      std::swap(state.items[index], state.items[index + 1]);
      fillList(page, selected + 1);
      break;
    case kTodayPageOptions: {
      const TodayItemInfo item = state.items[index];  // a copy: the page may change meanwhile
      if (item.options && !item.dll.empty()) runOptions(page, item);
      return;
    }
    default: return;
  }
  updateControls(page);
  SendMessageW(GetParent(page), PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
}

void apply(HWND page) {
  PageState& state = *stateOf(page);
  for (size_t i = 0; i < state.items.size(); ++i) state.items[i].order = static_cast<DWORD>(i);
  if (!writeTodayItemSettings(state.items)) logToday("the Today settings could not all be written");
  rebuildTodayScreens();
}

INT_PTR CALLBACK pageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* state = new PageState{readTodayItems()};
      SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
      const auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
      createControls(page, sheetPage ? sheetPage->hInstance : nullptr);
      fillList(page, state->items.empty() ? -1 : 0);
      updateControls(page);
      return TRUE;
    }
    case WM_DESTROY:
      delete stateOf(page);
      SetWindowLongPtrW(page, DWLP_USER, 0);
      return FALSE;
    default: break;
  }
  if (!stateOf(page)) return FALSE;
  switch (message) {
    case WM_SIZE: layoutControls(page); return TRUE;
    case WM_COMMAND: onCommand(page, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lParam)->code == PSN_APPLY) {
        apply(page);
        SetWindowLongPtrW(page, DWLP_MSGRESULT, PSNRET_NOERROR);
        return TRUE;
      }
      return FALSE;
    default: return FALSE;
  }
}

}  // namespace

PROPSHEETPAGEW todaySettingsPage(HINSTANCE instance) {
  PROPSHEETPAGEW page{};
  page.dwSize = sizeof(page);
  page.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
  page.hInstance = instance;
  page.pResource = reinterpret_cast<LPCDLGTEMPLATEW>(kPageTemplate);
  page.pszTitle = u"Today";
  page.pfnDlgProc = pageProcedure;
  return page;
}

}  // namespace handheld::shell
