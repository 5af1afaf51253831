#include "note_window_stand_in.h"

#include <mmsystem.h>

#include <functional>
#include <map>

#include "notewindow/note_window.h"
#include "pinnotes/crossing_names.h"

namespace handheld::testing {

StandInLog& standInLog() {
  static StandInLog log;
  return log;
}

const std::vector<BYTE>& standInRecording() {
  static const std::vector<BYTE> wave = PcmWave(400);
  return wave;
}

namespace {

std::map<HWND, std::function<void(LPCWSTR)>>& reopenHandlers() {
  static std::map<HWND, std::function<void(LPCWSTR)>> handlers;
  return handlers;
}
std::map<const NoteWindow*, HANDLE>& playbackThreads() {
  static std::map<const NoteWindow*, HANDLE> threads;
  return threads;
}

LRESULT CALLBACK standInProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == 1126 && lParam) {  // PNM_NOTE_REOPEN
    auto found = reopenHandlers().find(window);
    if (found != reopenHandlers().end()) {
      auto handler = found->second;
      handler(reinterpret_cast<LPCWSTR>(lParam));
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

DWORD WINAPI playAfter(LPVOID after) {
  if (after) WaitForSingleObject(after, INFINITE);
  PlaySoundW(reinterpret_cast<LPCWSTR>(standInRecording().data()), nullptr, SND_MEMORY | SND_SYNC);
  return 0;
}

}  // namespace
}  // namespace handheld::testing

using namespace handheld::testing;

NoteWindow::NoteWindow() = default;
NoteWindow::~NoteWindow() { destroy(); }

HWND NoteWindow::open(HWND owner, bool existing, bool alarmOpened) {
  standInLog().calls.push_back("open(" + std::to_string(existing) + ", " + std::to_string(alarmOpened) + ")");
  WNDCLASSW c = {};
  c.lpfnWndProc = standInProcedure;
  c.hInstance = GetModuleHandleW(nullptr);
  c.lpszClassName = u"PinnoteWndClass";
  RegisterClassW(&c);
  window_ = CreateWindowExW(0, u"PinnoteWndClass", CrossingNames::kWindowTitle, WS_POPUP, 0, 0, 10, 10,
                            owner, nullptr, c.hInstance, nullptr);
  if (window_) {
    reopenHandlers()[window_] = [this](LPCWSTR path) {
      if (lstrcmpW(path, filePath_) != 0) return;
      destroy();
      finishNote(false);
    };
  }
  return window_;
}

void NoteWindow::destroy() {
  if (!window_) return;
  reopenHandlers().erase(window_);
  DestroyWindow(window_);
  window_ = nullptr;
}

void NoteWindow::requestClose() {}

void NoteWindow::startPlayback(HANDLE after) {
  standInLog().calls.push_back("startPlayback");
  standInLog().playbackAfter = after;
  playbackThreads()[this] = CreateThread(nullptr, 0, playAfter, after, 0, nullptr);
}

void NoteWindow::stopPlayback() {
  standInLog().calls.push_back("stopPlayback");
  auto found = playbackThreads().find(this);
  if (found == playbackThreads().end()) return;
  PlaySoundW(nullptr, nullptr, 0);
  WaitForSingleObject(found->second, INFINITE);
  CloseHandle(found->second);
  playbackThreads().erase(found);
}

void NoteWindow::startPushToTalk() { standInLog().calls.push_back("startPushToTalk"); }
