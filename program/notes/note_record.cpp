#include "notes/note_record.h"

void NoteRecord::clearContent() {
  // Give the memory back, not just the length: a note's content can be large.
  std::vector<BYTE>().swap(content);
}
