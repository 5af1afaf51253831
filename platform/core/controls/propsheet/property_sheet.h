// Property sheets: a full-screen dialog with a caption strip ("ok" at its right end), the
// current page below it and the tab control (child id 0x3020, TCS_BOTTOM) along the bottom.
// Pages are child dialogs made from their templates: PSP_PREMATURE ones as the sheet starts,
// the others when first selected. OK sends PSN_KILLACTIVE to the current page and PSN_APPLY to
// every created page in order; cancel asks PSN_QUERYCANCEL and sends PSN_RESET.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "resources/templates.h"

// What an HPROPSHEETPAGE points to: the caller's description, copied with the bytes the
// caller appended to it (dwSize), and the page's template, decoded once.
struct _PSP {
  std::vector<uint8_t> bytes;
  handheld::resources::DialogTemplate dialog;
  std::u16string title;

  PROPSHEETPAGEW* description() { return reinterpret_cast<PROPSHEETPAGEW*>(bytes.data()); }
};

namespace handheld::controls {

inline constexpr int kSheetTabId = 0x3020;

struct SheetPage {
  HPROPSHEETPAGE handle = nullptr;
  HWND window = nullptr;
  bool failed = false;  // its callback refused it or its dialog could not be made
};

struct Sheet {
  DWORD flags = 0;
  HINSTANCE instance = nullptr;
  std::u16string caption;
  PFNPROPSHEETCALLBACK callback = nullptr;
  std::vector<SheetPage> pages;
  HWND window = nullptr;
  HWND tab = nullptr;
  int current = -1;
  int startPage = 0;
  bool applied = false;   // a PSN_APPLY went through: the result is positive
  bool ended = false;     // closed; a modeless sheet waits for its owner to destroy it
  INT_PTR restart = 0;    // ID_PSREBOOTSYSTEM / ID_PSRESTARTWINDOWS when a page asked
  bool okPressed = false; // the stylus went down on "ok"
  bool modal = true;      // the sheet lives on PropertySheetW's stack, beyond its window
  bool* made = nullptr;   // set while a modeless sheet is being created, once it has a window
};

// sheet_pages.cpp
// A string, or the number of a string resource of `instance`.
std::u16string stringOrResource(HINSTANCE instance, LPCWSTR text);
bool isLivePage(HPROPSHEETPAGE page);
// The page's window, made on first use (PSPCB_CREATE, WM_INITDIALOG); null when it cannot be.
HWND pageWindow(Sheet& sheet, int index);
void releasePages(Sheet& sheet);

// sheet_paint.cpp: the parts of the sheet's client area.
int captionHeight();
RECT okRect(HWND sheet);
RECT pageArea(HWND sheet, HWND tab);
void paintSheetCaption(HWND sheet, HDC hdc, const Sheet& state);

// sheet_proc.cpp
INT_PTR CALLBACK sheetProc(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace handheld::controls
