#include "notelist/all_notes_window.h"

AllNotesWindow::AllNotesWindow() { InitializeCriticalSection(&noteLock_); }

AllNotesWindow::~AllNotesWindow() { DeleteCriticalSection(&noteLock_); }

// The list window itself is still to come; until it does, the notes are kept but not shown.
void AllNotesWindow::showAll() {}

void AllNotesWindow::closeAll() {}

void AllNotesWindow::refill() {}

int AllNotesWindow::selectedCount() const { return 0; }

std::vector<int> AllNotesWindow::selectedIndices() const { return {}; }
