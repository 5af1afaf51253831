// The note window's threads: push-to-talk's key watch and the alarm's playback. Each is joined
// by the window's object before the object goes.
#include <string_view>

#include "app/commands.h"
#include "app/note_app.h"
#include "app/app_references.h"
#include "notewindow/note_window.h"

namespace {

constexpr DWORD kKeyPollMs = 100;
constexpr DWORD kStopRetryMs = 100;
constexpr SHORT kKeyDown = static_cast<SHORT>(0x8000);

// Waits for `thread` to end; `whileWaiting` (may be null) runs every kStopRetryMs meanwhile.
// The threads never wait for this one, so a plain wait cannot hang.
void join(HANDLE thread, void (*whileWaiting)()) {
  while (WaitForSingleObject(thread, whileWaiting ? kStopRetryMs : INFINITE) == WAIT_TIMEOUT) whileWaiting();
}

// Asks nothing of the windows' threads: another thread's note window of this process would
// answer a text request only from its thread, which may be waiting for the caller.
bool isNoteWindow(HWND window) {
  WCHAR text[64];
  const int classLength = GetClassNameW(window, text, static_cast<int>(std::size(text)));
  if (std::u16string_view(text, static_cast<size_t>(std::max(classLength, 0))) != NoteWindow::kClassName)
    return false;
  // This process makes every window of the class with the note title.
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId()) return true;
  const int titleLength = GetWindowTextW(window, text, static_cast<int>(std::size(text)));
  return std::u16string_view(text, static_cast<size_t>(std::max(titleLength, 0))) == NoteWindow::kTitle;
}

BOOL CALLBACK stopRecordingIn(HWND window, LPARAM) {
  // Not waiting for the answer: a window's thread may be waiting for the caller.
  if (isNoteWindow(window)) SendNotifyMessageW(window, PNM_NOTE_STOP_RECORDING, 0, 0);
  return TRUE;
}

}  // namespace

void NoteWindow::stopRecordingEverywhere() { EnumWindows(stopRecordingIn, 0); }

void NoteWindow::startPushToTalk() {
  if (!window_) return;
  stopRecordingEverywhere();
  SendMessageW(window_, PNM_NOTE_TOGGLE_RECORD, 0, 0);
  canvas_.stop();
  canvas_.recordNow();
  stopWatch();
  // Looked up here: the settings belong to this thread.
  watchKey_ = theNoteApp->RecordButtonKey();
  watchStop_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!watchStop_.isOpen()) return;
  watchThread_.reset(CreateThread(nullptr, 0, watchKey, this, 0, nullptr));
}

DWORD WINAPI NoteWindow::watchKey(LPVOID parameter) {
  const auto* self = static_cast<const NoteWindow*>(parameter);
  const DWORD key = self->watchKey_;
  if (key == 0) return 0;
  for (;;) {
    if (WaitForSingleObject(self->watchStop_.get(), kKeyPollMs) != WAIT_TIMEOUT) break;
    if (!(GetAsyncKeyState(static_cast<int>(key)) & kKeyDown)) break;
  }
  stopRecordingEverywhere();
  return 0;
}

void NoteWindow::stopWatch() {
  if (!watchThread_.isOpen()) {
    watchStop_.reset();
    return;
  }
  SetEvent(watchStop_.get());
  join(watchThread_.get(), nullptr);
  watchThread_.reset();
  watchStop_.reset();
}

void NoteWindow::startPlayback(HANDLE after) {
  stopPlayback();
  // The content is copied here, on the window's thread; the playback thread only plays it.
  std::vector<BYTE> content;
  if (!canvas_.streamOut(content)) content = record_.content;
  playbackContent_ = std::move(content);
  playbackAfter_ = after;
  playbackCount_ = theNoteApp->soundCount();
  playbackStop_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!playbackStop_.isOpen()) return;
  playing_ = true;
  playbackThread_.reset(CreateThread(nullptr, 0, playAlarm, this, 0, nullptr));
  if (!playbackThread_.isOpen()) playing_ = false;
}

DWORD WINAPI NoteWindow::playAlarm(LPVOID parameter) {
  auto* self = static_cast<NoteWindow*>(parameter);
  const HANDLE stop = self->playbackStop_.get();
  if (self->playbackAfter_) {
    const HANDLE waits[] = {stop, self->playbackAfter_};
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0) return 0;
  }
  for (int i = 0; i < self->playbackCount_ && self->playing_; ++i) InkCanvas::playRecording(self->playbackContent_);
  return 0;
}

void NoteWindow::stopPlayback() {
  if (!playbackThread_.isOpen()) {
    playbackStop_.reset();
    return;
  }
  playing_ = false;
  SetEvent(playbackStop_.get());
  InkCanvas::stopSound();
  // A playing that began just after the stop is stopped again until the thread ends.
  join(playbackThread_.get(), InkCanvas::stopSound);
  playbackThread_.reset();
  playbackStop_.reset();
  playbackContent_.clear();
  playbackAfter_ = nullptr;
}
