// The mail composer, started as \Windows\TMail.exe or \Windows\PMail.exe: a message addressed
// to the -to argument with subject and body fields. The device has no network, so "Send" keeps
// the message in the Outbox (outbox.h) and closes; "Cancel" closes without keeping anything.
#include <windows.h>

#include <string>

#include "mail_command.h"
#include "outbox.h"
#include "program_window.h"

namespace {

constexpr WCHAR kWindowClass[] = u"MailComposer";
constexpr int kToId = 201;
constexpr int kSubjectId = 202;
constexpr int kBodyId = 203;
constexpr int kToLabelId = 211;
constexpr int kSubjectLabelId = 212;

std::u16string g_recipient;

std::u16string fieldText(HWND window, int id) {
  HWND field = GetDlgItem(window, id);
  const int length = GetWindowTextLengthW(field);
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(field, text.data(), length + 1)));
  return text;
}

void layOut(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  const int unit = GetSystemMetrics(SM_CXBORDER) > 1 ? 2 : 1;
  const int margin = 4 * unit, line = 20 * unit, label = 50 * unit, button = 60 * unit;
  const int fieldLeft = 2 * margin + label, fieldWidth = client.right - fieldLeft - margin;
  MoveWindow(GetDlgItem(window, kToLabelId), margin, margin, label, line, TRUE);
  MoveWindow(GetDlgItem(window, kToId), fieldLeft, margin, fieldWidth, line, TRUE);
  MoveWindow(GetDlgItem(window, kSubjectLabelId), margin, 2 * margin + line, label, line, TRUE);
  MoveWindow(GetDlgItem(window, kSubjectId), fieldLeft, 2 * margin + line, fieldWidth, line, TRUE);
  const int bodyTop = 3 * margin + 2 * line, buttonTop = client.bottom - margin - line;
  MoveWindow(GetDlgItem(window, kBodyId), margin, bodyTop, client.right - 2 * margin, buttonTop - margin - bodyTop,
             TRUE);
  MoveWindow(GetDlgItem(window, IDOK), client.right - 2 * (margin + button), buttonTop, button, line, TRUE);
  MoveWindow(GetDlgItem(window, IDCANCEL), client.right - margin - button, buttonTop, button, line, TRUE);
}

void create(HWND window) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  const auto child = [&](LPCWSTR cls, LPCWSTR text, DWORD style, int id) {
    CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  };
  child(u"STATIC", u"To:", SS_LEFT, kToLabelId);
  child(u"EDIT", g_recipient.c_str(), WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kToId);
  child(u"STATIC", u"Subject:", SS_LEFT, kSubjectLabelId);
  child(u"EDIT", u"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kSubjectId);
  child(u"EDIT", u"", WS_BORDER | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN, kBodyId);
  child(u"BUTTON", u"Send", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);
  child(u"BUTTON", u"Cancel", WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL);
  layOut(window);
  // With the address given, the subject is what comes next.
  SetFocus(GetDlgItem(window, g_recipient.empty() ? kToId : kSubjectId));
}

void send(HWND window) {
  handheld::mail::Message message{fieldText(window, kToId), fieldText(window, kSubjectId), fieldText(window, kBodyId)};
  if (message.to.find_first_not_of(u' ') == std::u16string::npos) {
    MessageBoxW(window, u"Enter an address to send the message to.", u"New Message", MB_OK | MB_ICONEXCLAMATION);
    SetFocus(GetDlgItem(window, kToId));
    return;
  }
  const std::u16string kept = handheld::mail::keepInOutbox(message);
  if (kept.empty()) {
    MessageBoxW(window, u"The message could not be kept in the Outbox.", u"New Message", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  OutputDebugStringW((u"message kept as " + kept).c_str());
  DestroyWindow(window);
}

LRESULT CALLBACK composerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      create(window);
      return 0;
    case WM_SIZE:
      layOut(window);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) send(window);
      else if (LOWORD(wParam) == IDCANCEL) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int show) {
  WCHAR module[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  OutputDebugStringW((std::u16string(module) + u" command line: " + (commandLine ? commandLine : u"")).c_str());
  g_recipient = handheld::mail::recipientFrom(commandLine ? commandLine : u"");
  return RunProgramWindow(instance, kWindowClass, composerProc, u"New Message", show);
}
