#include "notewindow/note_menu_bar.h"

#include <aygshell.h>
#include <commctrl.h>

#include "resources/resource.h"

namespace {

// The toolbar after the "Edit" button, in bar order.
constexpr NoteMenuBar::Button kButtons[] = {
    {3, IDC_NOTE_ZOOM_OUT, TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {4, IDC_NOTE_ZOOM_IN, TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {6, IDC_NOTE_UNDO, TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP},
    {5, IDC_NOTE_RECORD, TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {8, IDC_NOTE_PEN_MODE, TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {10, IDC_NOTE_GRID, TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {0, -1, 0, 0},
};

// Longest tooltip text read from the string table, terminator included.
constexpr int kTipCapacity = 128;

bool isImageButton(const NoteMenuBar::Button& button) { return !(button.style & TBSTYLE_SEP); }

}  // namespace

NoteMenuBar::~NoteMenuBar() { destroy(); }

bool NoteMenuBar::create(HWND parent, HINSTANCE instance) {
  destroy();
  instance_ = instance;
  parent_ = parent;
  SHMENUBARINFO info = {};
  info.cbSize = sizeof(info);
  info.hwndParent = parent;
  info.nToolBarId = IDR_NOTE_MENU_BAR;
  info.hInstRes = instance;
  info.nBmpId = GetSystemMetrics(SM_CXSMICON) != 16 ? IDB_NOTE_TOOLS_HIRES : IDB_NOTE_TOOLS;
  info.cBmpImages = NOTE_TOOL_IMAGES;
  if (!SHCreateMenuBar(&info)) return false;
  bar_ = info.hwndMB;

  std::vector<TBBUTTON> buttons;
  for (const Button* b = kButtons; b->command != -1; ++b) {
    TBBUTTON button = {};
    button.iBitmap = b->image;
    button.idCommand = b->command;
    button.fsState = b->state;
    button.fsStyle = b->style;
    button.iString = -1;
    buttons.push_back(button);
  }
  SendMessageW(bar_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  loadTooltips();
  return true;
}

void NoteMenuBar::loadTooltips() {
  tipTexts_.clear();
  tips_.clear();
  for (const Button* b = kButtons; b->command != -1; ++b) {
    if (!isImageButton(*b)) continue;
    WCHAR text[kTipCapacity] = {};
    const int length = LoadStringW(instance_, static_cast<UINT>(b->command), text, kTipCapacity);
    tipTexts_.emplace_back(text, length > 0 ? static_cast<size_t>(length) : 0);
  }
  // The texts are complete before pointers into them are taken: the vector no longer grows.
  for (const std::u16string& text : tipTexts_) tips_.push_back(text.empty() ? nullptr : text.c_str());
  SendMessageW(bar_, TB_SETTOOLTIPS, tips_.size(), reinterpret_cast<LPARAM>(tips_.data()));
}

void NoteMenuBar::destroy() {
  // The bar goes before the texts it points to.
  if (bar_ && IsWindow(bar_)) DestroyWindow(bar_);
  bar_ = nullptr;
  tips_.clear();
  tipTexts_.clear();
}

void NoteMenuBar::enable(int command, bool enabled) {
  if (bar_) SendMessageW(bar_, TB_ENABLEBUTTON, static_cast<WPARAM>(command), enabled ? TRUE : FALSE);
}

void NoteMenuBar::setPressed(int command, bool pressed) {
  if (bar_) SendMessageW(bar_, TB_SETSTATE, static_cast<WPARAM>(command), pressed ? kPressed : kEnabled);
}

int NoteMenuBar::state(int command) const {
  if (!bar_) return -1;
  return static_cast<int>(SendMessageW(bar_, TB_GETSTATE, static_cast<WPARAM>(command), 0));
}

LPCWSTR NoteMenuBar::tooltip(int command) const {
  size_t next = 0;
  for (const Button* b = kButtons; b->command != -1; ++b) {
    if (!isImageButton(*b)) continue;
    if (b->command == command) return next < tips_.size() ? tips_[next] : nullptr;
    ++next;
  }
  return nullptr;
}
