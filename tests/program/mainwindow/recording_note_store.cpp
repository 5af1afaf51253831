#include "recording_note_store.h"

#include <algorithm>

#include "notes/note_store.h"

namespace handheld::testing {

StoreRecording& StoreRecording::instance() {
  static StoreRecording recording;
  return recording;
}

void StoreRecording::add(std::string call) {
  std::lock_guard<std::mutex> guard(lock_);
  calls_.push_back(std::move(call));
  changed_.notify_all();
}

std::vector<std::string> StoreRecording::calls() const {
  std::lock_guard<std::mutex> guard(lock_);
  return calls_;
}

void StoreRecording::clear() {
  std::lock_guard<std::mutex> guard(lock_);
  calls_.clear();
}

bool StoreRecording::waitFor(const std::string& call, std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> guard(lock_);
  return changed_.wait_for(guard, timeout,
                           [&] { return std::find(calls_.begin(), calls_.end(), call) != calls_.end(); });
}

std::string narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

}  // namespace handheld::testing

using handheld::testing::StoreRecording;

namespace {

void record(std::string call) { StoreRecording::instance().add(std::move(call)); }

}  // namespace

AllNotesWindow::AllNotesWindow() = default;
AllNotesWindow::~AllNotesWindow() = default;
void AllNotesWindow::showAll() { record("showAll"); }
void AllNotesWindow::closeAll() { record("closeAll"); }

NoteStore::NoteStore(NoteApp& app) : app_(app) {}
NoteStore::~NoteStore() = default;

HWND NoteStore::newNote(BOOL startRecording) {
  record("newNote(" + std::to_string(startRecording) + ")");
  return StoreRecording::instance().newNoteWindow;
}
void NoteStore::deleteSelectedNotes() { record("deleteSelectedNotes"); }
void NoteStore::openNoteAt(int index) { record("openNoteAt(" + std::to_string(index) + ")"); }
void NoteStore::setSelectedNotesExpired() { record("setSelectedNotesExpired"); }
void NoteStore::sortNotes(int column) { record("sortNotes(" + std::to_string(column) + ")"); }
void NoteStore::applyOptions() { record("applyOptions"); }
void NoteStore::openOptions(HWND owner) {
  record(owner == mainWindow_ ? "openOptions(main window)" : "openOptions(other)");
}
void NoteStore::about() { record("about"); }
void NoteStore::closeAndExit() { record("closeAndExit"); }
void NoteStore::activated() { record("activated"); }

void NoteStore::listChanged() const {
  StoreRecording::instance().mainWindow = mainWindow_;
  StoreRecording::instance().todayWindow = todayWindow_;
  record("listChanged");
}
void NoteStore::openNoteByPath(LPCWSTR path) {
  record("openNoteByPath(" + handheld::testing::narrow(path) + ")");
}
void NoteStore::noteSaved(bool newFile, LPCWSTR path) {
  record("noteSaved(" + std::to_string(newFile) + ", " + handheld::testing::narrow(path) + ")");
}
void NoteStore::noteWindowClosed() { record("noteWindowClosed"); }
bool NoteStore::closeNoteWindow() {
  record("closeNoteWindow");
  return !StoreRecording::instance().noteStaysOpen;
}
// The double never opens a note window.
void NoteStore::NoteWindowDeleter::operator()(NoteFileWindow*) const {}
bool NoteStore::ExpiryCheck(bool fallback) {
  record("ExpiryCheck(" + std::to_string(fallback) + ")");
  return StoreRecording::instance().expiryCheckAlarms;
}
