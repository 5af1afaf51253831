// A device program that saves the note at the path on its command line over and over, two
// notes of different sizes by turns, until it is killed.
#include <windows.h>

#include "notes/note_file.h"

namespace {

NoteRecord note(WCHAR mark, BYTE fill, std::size_t size) {
  NoteRecord record;
  record.title[0] = mark;
  record.expiryTime.wHour = 25;
  record.content.assign(size, fill);
  return record;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int) {
  const NoteRecord notes[] = {note(u'A', 0x11, 200000), note(u'B', 0x22, 300000)};
  HANDLE started = CreateEventW(nullptr, TRUE, FALSE, u"note save loop started");
  for (unsigned turn = 0;; ++turn) {
    if (!WriteNoteFile(commandLine, notes[turn % 2])) return 1;
    if (turn == 0 && started) SetEvent(started);
  }
}
