#include "notelist/note_list_view.h"

#include <commctrl.h>

#include <algorithm>
#include <mutex>

#include "app/app_references.h"
#include "app/note_app.h"
#include "app/note_colours.h"
#include "notes/format_note_time.h"
#include "notes/note_record.h"
#include "pinnotes/settings_table.h"
#include "resources/resource.h"

namespace {

constexpr int kImageGrowth = 3;

void insertColumn(HWND list, int index, const WCHAR* text, int width) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.pszText = const_cast<WCHAR*>(text);
  column.cx = width;
  column.iSubItem = index;
  SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

int rowImage(const NoteEntry& note) {
  if (note.expired) return NoteListView::kExpiredImage;
  if (NeverExpires(note.expiryTime)) return NoteListView::kNeverExpiresImage;
  return NoteListView::kPendingImage;
}

}  // namespace

bool NoteListView::create(HWND parent, int x, int y, int width, int height) {
  destroy();
  control_ = CreateWindowExW(0, WC_LISTVIEWW, u"",
                             WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS, x, y,
                             width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlId)),
                             GetModuleHandleW(nullptr), nullptr);
  if (!control_) return false;
  parent_ = parent;
  x_ = x;
  y_ = y;
  width_ = width;
  height_ = height;
  updateFont();
  SendMessageW(control_, LVM_SETBKCOLOR, 0, kNoteYellow);
  SendMessageW(control_, LVM_SETTEXTBKCOLOR, 0, kNoteYellow);
  SendMessageW(control_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  SetWindowLongPtrW(control_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  previousProcedure_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclassProcedure)));
  const int columnWidth = (theScreen.width - 40 * theScreen.scaleX) / 2;
  insertColumn(control_, 0, u"Time", columnWidth);
  insertColumn(control_, 1, u"Title", columnWidth);
  loadImages();
  return true;
}

void NoteListView::loadImages() {
  const bool lowResolution = theScreen.scaleX < 2;
  images_ = ImageList_LoadImage(GetModuleHandleW(nullptr),
                                MAKEINTRESOURCEW(lowResolution ? IDB_NOTE_STATES : IDB_NOTE_STATES_HIRES),
                                lowResolution ? 16 : 32, kImageGrowth, kStripTransparent, IMAGE_BITMAP, 0);
  if (images_) SendMessageW(control_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_));
}

void NoteListView::destroy() {
  if (control_) {
    // The control's own procedure back first: while its parent is being destroyed the control
    // may outlive this call, and it must still free itself. Without LVS_SHAREIMAGELISTS it
    // destroys its image list with itself.
    if (previousProcedure_) SetWindowLongPtrW(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProcedure_));
    SetWindowLongPtrW(control_, GWLP_USERDATA, 0);
    DestroyWindow(control_);
  }
  if (font_) DeleteObject(font_);
  control_ = nullptr;
  parent_ = nullptr;
  font_ = nullptr;
  images_ = nullptr;
  previousProcedure_ = nullptr;
  x_ = y_ = width_ = height_ = 0;
  rowCount_ = 0;
  dragging_ = false;
  multiSelectionKept_ = false;
  lastIndex_ = -1;
}

void NoteListView::updateFont() {
  if (!control_) return;
  const int size = theNoteApp ? theNoteApp->fontSize() : *SettingsTable::kFontSize.whenMissing;
  LOGFONTW description{};
  description.lfHeight = -(size * theScreen.scaleX);
  lstrcpyW(description.lfFaceName, u"Tahoma");
  HFONT font = CreateFontIndirectW(&description);
  if (!font) return;
  // Sent rather than posted, so that the old font is out of use before it is deleted.
  SendMessageW(control_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (font_) DeleteObject(font_);
  font_ = font;
}

void NoteListView::insertRow(const NoteEntry& note) {
  std::lock_guard lock(noteLock_);
  if (!control_) return;
  WCHAR time[kNoteTimeTextSize] = u"Never expire";
  if (!NeverExpires(note.expiryTime)) FormatNoteTime(note.expiryTime, time, true);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  item.iItem = rowCount_;
  item.pszText = time;
  item.iImage = rowImage(note);
  item.lParam = 1;
  const auto row = SendMessageW(control_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  if (row < 0) return;
  LVITEMW title{};
  title.iSubItem = 1;
  title.pszText = const_cast<WCHAR*>(note.title.c_str());
  SendMessageW(control_, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&title));
  ++rowCount_;
}

void NoteListView::deleteAllRows() {
  std::lock_guard lock(noteLock_);
  if (!control_) return;
  SendMessageW(control_, LVM_DELETEALLITEMS, 0, 0);
  rowCount_ = 0;
}

// Redraw is off while WS_VISIBLE is clear, as WM_SETREDRAW turns it off: no row and no
// scroll bar is painted per insert, and the focus stays where it is.
void NoteListView::beginBatch() {
  if (!control_) return;
  SetWindowLongW(control_, GWL_STYLE, GetWindowLongW(control_, GWL_STYLE) & ~WS_VISIBLE);
}

void NoteListView::endBatch() {
  if (!control_) return;
  SetWindowLongW(control_, GWL_STYLE, GetWindowLongW(control_, GWL_STYLE) | WS_VISIBLE);
  InvalidateRect(control_, nullptr, TRUE);
}

int NoteListView::count() const {
  return control_ ? static_cast<int>(SendMessageW(control_, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

int NoteListView::selectedCount() const {
  return control_ ? static_cast<int>(SendMessageW(control_, LVM_GETSELECTEDCOUNT, 0, 0)) : 0;
}

std::vector<int> NoteListView::selectedIndices() const {
  std::vector<int> rows;
  if (!control_) return rows;
  int row = -1;
  while ((row = static_cast<int>(SendMessageW(control_, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                              LVNI_SELECTED))) >= 0) {
    rows.push_back(row);
  }
  return rows;
}

int NoteListView::selectionMark() const {
  return control_ ? static_cast<int>(SendMessageW(control_, LVM_GETSELECTIONMARK, 0, 0)) : -1;
}

int NoteListView::firstFocused() const {
  return static_cast<int>(SendMessageW(control_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void NoteListView::setMark(int row) { SendMessageW(control_, LVM_SETSELECTIONMARK, 0, row); }

void NoteListView::setFocus(int row) {
  if (row < 0) return;
  LVITEMW item{};
  item.state = LVIS_FOCUSED;
  item.stateMask = LVIS_FOCUSED;
  SendMessageW(control_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// A row index of -1 would change every row, so only real rows are passed on.
void NoteListView::setSelected(int row, bool selected) {
  if (row < 0) return;
  LVITEMW item{};
  item.state = selected ? LVIS_SELECTED : 0;
  item.stateMask = LVIS_SELECTED;
  SendMessageW(control_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

bool NoteListView::isSelected(int row) const {
  return row >= 0 &&
         (SendMessageW(control_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void NoteListView::toggle(int row) { setSelected(row, !isSelected(row)); }

void NoteListView::deselectAllBut(int keep) {
  for (int row : selectedIndices()) {
    if (row != keep) setSelected(row, false);
  }
}

void NoteListView::selectRange(int a, int b, bool deselectOthers) {
  const int first = std::max(0, std::min(a, b));
  const int last = std::min(count() - 1, std::max(a, b));
  if (deselectOthers) {
    for (int row : selectedIndices()) {
      if (row < first || row > last) setSelected(row, false);
    }
  }
  for (int row = first; row <= last; ++row) setSelected(row, true);
}

void NoteListView::toggleRange(int a, int b) {
  const int first = std::max(0, std::min(a, b));
  const int last = std::min(count() - 1, std::max(a, b));
  for (int row = first; row <= last; ++row) toggle(row);
}

void NoteListView::normaliseSelectionToMark() {
  const int mark = selectionMark();
  if (mark < 0) return;
  if (selectedCount() > 1 && isSelected(mark)) return;
  setMark(mark);
  setFocus(mark);
  setSelected(mark, true);
  deselectAllBut(mark);
}

void NoteListView::selectAll() {
  if (!control_) return;
  setMark(0);
  setFocus(0);
  const int rows = count();
  for (int row = 0; row < rows; ++row) setSelected(row, true);
}
