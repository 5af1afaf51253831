// A device program for the clipboard tests: its command line says what to do, its exit code
// tells how it went (0 done; the step that failed otherwise).
//   put TEXT FORMAT [READY DONE]  as owner of a window, empty the clipboard and put TEXT as
//                                 CF_UNICODETEXT and the bytes 1 2 3 0 5 as the registered
//                                 format FORMAT; close; then set READY and wait for DONE
//   hold READY DONE               open the clipboard, set READY, wait for DONE, end without
//                                 closing it
//   register NAME                 end with the number RegisterClipboardFormatW gives NAME
#include <windows.h>

#include <cstring>
#include <string>

#include "command_words.h"

namespace {

HLOCAL block(const void* data, size_t size) {
  HLOCAL memory = LocalAlloc(LMEM_FIXED, size);
  if (memory) std::memcpy(memory, data, size);
  return memory;
}

int signalAndWait(const std::u16string& ready, const std::u16string& done) {
  HANDLE readyEvent = CreateEventW(nullptr, TRUE, FALSE, ready.c_str());
  HANDLE doneEvent = CreateEventW(nullptr, TRUE, FALSE, done.c_str());
  if (!readyEvent || !doneEvent || !SetEvent(readyEvent)) return 20;
  return WaitForSingleObject(doneEvent, 20000) == WAIT_OBJECT_0 ? 0 : 21;
}

int put(const std::vector<std::u16string>& w) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = u"ClipProbe";
  RegisterClassW(&wc);
  HWND owner = CreateWindowExW(0, u"ClipProbe", u"ClipProbe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
  if (!owner) return 2;
  if (!OpenClipboard(owner)) return 3;
  if (!EmptyClipboard()) return 4;
  const std::u16string& text = w[1];
  if (!SetClipboardData(CF_UNICODETEXT, block(text.c_str(), (text.size() + 1) * sizeof(WCHAR)))) return 5;
  UINT format = RegisterClipboardFormatW(w[2].c_str());
  const unsigned char record[] = {1, 2, 3, 0, 5};
  if (format < 0xC000 || !SetClipboardData(format, block(record, sizeof record))) return 6;
  if (!CloseClipboard()) return 7;
  return w.size() == 5 ? signalAndWait(w[3], w[4]) : 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int) {
  auto w = words(commandLine);
  if (w.size() >= 3 && w[0] == u"put") return put(w);
  if (w.size() == 3 && w[0] == u"hold") {
    if (!OpenClipboard(nullptr)) return 2;
    return signalAndWait(w[1], w[2]);
  }
  if (w.size() == 2 && w[0] == u"register") return static_cast<int>(RegisterClipboardFormatW(w[1].c_str()));
  return 100;
}
