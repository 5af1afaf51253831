#include "notewindow/expiry_picker.h"

#include <aygshell.h>
#include <commctrl.h>

#include "app/app_references.h"
#include "app/commands.h"
#include "notes/note_record.h"
#include "notewindow/expiry_time.h"
#include "pinnotes/note_file_layout.h"

namespace {

constexpr WCHAR kPopupClass[] = u"DateTimePicker";
constexpr int kTimeFieldId = 1003;
constexpr int kCalendarId = 1005;
constexpr DWORD kPopupExStyle = WS_EX_CAPTIONOKBTN | WS_EX_TOOLWINDOW;
constexpr DWORD kPopupStyle = WS_POPUP | WS_VISIBLE | WS_BORDER;
constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP;
constexpr DWORD kTimeFieldStyle = kChildStyle | DTS_TIMEFORMAT;
// "None" in the calendar is how a note is made to never expire here.
constexpr DWORD kCalendarStyle =
    kChildStyle | MCS_SHOWNONE | MCS_NOTODAYCIRCLE | MCS_WEEKNUMBERS | MCS_DAYSTATE;
// The popup's right edge keeps this many pixels, unscaled, clear of the owner's.
constexpr int kRightMarginPixels = 21;

// The tap that closed the popup must not also land on the window under it. A null handle
// would filter nothing, so only live windows are swept.
void dropPendingTaps(HWND window) {
  if (!window || !IsWindow(window)) return;
  MSG message;
  while (PeekMessageW(&message, window, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
  }
}

}  // namespace

ExpiryPicker::ExpiryPicker() = default;

// The popup points at this object, so it must not outlive it.
ExpiryPicker::~ExpiryPicker() { close(); }

bool ExpiryPicker::open(HWND owner, HWND dateButton) {
  // Asked again while open, the date button was tapped without taking the activation from the
  // popup: that tap closes it as any tap elsewhere does.
  if (popup_) {
    dismiss();
    return false;
  }
  RECT client = {};
  GetClientRect(owner, &client);
  x_ = client.right - 163 * theScreen.scaleX - kRightMarginPixels;
  y_ = 26 * theScreen.scaleY;
  width_ = 163 * theScreen.scaleX;
  height_ = 189 * theScreen.scaleY;
  changed_ = false;
  owner_ = owner;
  dateButton_ = dateButton;

  const HINSTANCE instance = GetModuleHandleW(nullptr);
  // Registered at every opening; the second registration fails harmlessly.
  WNDCLASSW windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(instance, u"IDC_ARROW");
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = kPopupClass;
  RegisterClassW(&windowClass);

  // WM_CREATE records the popup's handle, so that nothing arriving during creation is lost.
  if (!CreateWindowExW(kPopupExStyle, kPopupClass, u"", kPopupStyle, x_, y_, width_, height_, owner,
                       nullptr, instance, this)) {
    forget();
    return false;
  }
  timeField_ = CreateWindowExW(0, DATETIMEPICK_CLASS, u"", kTimeFieldStyle, -theScreen.scaleX,
                               -theScreen.scaleY, width_, 20 * theScreen.scaleY, popup_,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kTimeFieldId)),
                               instance, nullptr);
  calendar_ = CreateWindowExW(0, MONTHCAL_CLASS, u"", kCalendarStyle, -theScreen.scaleX,
                              18 * theScreen.scaleY, width_, 170 * theScreen.scaleY, popup_,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kCalendarId)),
                              instance, nullptr);
  // Without both controls nothing could be read back.
  if (!timeField_ || !calendar_) {
    close();
    return false;
  }
  // A never-expiring value is refused by both; they keep the current date and time.
  SendMessageW(timeField_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value_));
  SendMessageW(calendar_, MCM_SETCURSEL, GDT_VALID, reinterpret_cast<LPARAM>(&value_));
  ShowWindow(popup_, SW_SHOWNORMAL);
  SetForegroundWindow(popup_);
  return true;
}

void ExpiryPicker::close() {
  if (popup_) DestroyWindow(popup_);
  forget();
}

void ExpiryPicker::forget() {
  popup_ = nullptr;
  timeField_ = nullptr;
  calendar_ = nullptr;
}

void ExpiryPicker::readBack() {
  SYSTEMTIME date = {};
  SYSTEMTIME time = {};
  if (!SendMessageW(calendar_, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&date)) ||
      SendMessageW(timeField_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID) {
    changed_ = false;
    return;
  }
  SYSTEMTIME candidate = value_;
  candidate.wYear = date.wYear;
  candidate.wMonth = date.wMonth;
  candidate.wDayOfWeek = date.wDayOfWeek;
  candidate.wDay = date.wDay;
  candidate.wHour = time.wHour;
  candidate.wMinute = time.wMinute;
  candidate.wSecond = time.wSecond;
  changed_ = !SameExpiry(candidate, value_);
  if (changed_) value_ = candidate;
}

void ExpiryPicker::dismiss() {
  dropPendingTaps(dateButton_);
  dropPendingTaps(owner_);
  SipShowIM(SIPF_OFF);
  readBack();
  postClosed();
  close();
}

// Posting to an owner that is already gone fails and does nothing else.
void ExpiryPicker::postClosed() { PostMessageW(owner_, PNM_NOTE_PICKER_CLOSED, 0, 0); }

LRESULT ExpiryPicker::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      // A popup is hidden first when it is destroyed, by close() or with its owner; losing the
      // activation then is no tap elsewhere and must not read back or close again.
      if (LOWORD(wParam) == WA_INACTIVE && IsWindowVisible(window)) {
        dismiss();
        return 0;
      }
      break;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (!header) return 0;
      if (header->hwndFrom == timeField_) {
        if (header->code == NM_SETFOCUS) SipShowIM(SIPF_ON);
        if (header->code == NM_KILLFOCUS) SipShowIM(SIPF_OFF);
      } else if (header->hwndFrom == calendar_ && header->code == MCN_SELECTNONE) {
        changed_ = true;
        value_.wHour = NoteFileLayout::kNeverExpiresHour;
        postClosed();
        close();
      }
      return 0;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        readBack();
        postClosed();
        // The owner closes and keeps the note; the popup goes with it.
        PostMessageW(owner_, WM_COMMAND, wParam, lParam);
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK ExpiryPicker::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    auto* picker = static_cast<ExpiryPicker*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(picker));
    if (picker) picker->popup_ = window;
  }
  auto* picker = reinterpret_cast<ExpiryPicker*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!picker) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // Destroyed with its owner or by close(): the object forgets it either way.
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (picker->popup_ == window) picker->forget();
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return picker->handle(window, message, wParam, lParam);
}
