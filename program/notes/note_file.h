// Reading and writing note files, and choosing the name of a new one.
//
// A damaged file (shorter than its fixed part, or shorter than the fixed part plus the
// content length it claims) is never read past its end:
//   - ReadNoteHeader fails when the file is shorter than the header, so the note is not
//     listed;
//   - ReadNoteFile fails when the fixed part is incomplete, leaving the record with its
//     content cleared and its other members as they were; when only the content is short it
//     takes the fixed part and leaves the content empty, so the note opens with its title and
//     time and a blank page.
// The Parse functions are the same readers on a file's bytes in memory; the file readers
// use them, so both accept and refuse the same files.
#pragma once

#include <windows.h>

#include <array>
#include <span>

#include "notes/note_record.h"

// Writes the whole note so that `path` holds either its old bytes or the new ones, never a
// mix: the bytes go to the side file "<path>.new", are flushed, and the side file then
// replaces the note in one step. False, with GetLastError telling why, when the side file
// cannot be made or written or cannot replace the note; the note is then as it was.
bool WriteNoteFile(LPCWSTR path, const NoteRecord& record);

// Side files beside the notes, named so that no reader of "*<extension>" lists them:
// "<note>.new" while a save is under way, "<note>.alarm" while the note is raised as an alarm.
inline constexpr WCHAR kUnsavedNoteSuffix[] = u".new";
inline constexpr WCHAR kAlarmedNoteSuffix[] = u".alarm";

// Deletes a file; true when it is gone, also when it was not there. Any other failure keeps
// the file and returns false.
bool RemoveNoteFile(LPCWSTR path);

// The steps of WriteNoteFile, for tests that cut a save short as if the program ended there.
enum class SaveStep { SideFileCreated, FixedPartWritten, ContentWritten, Flushed, Replaced };
// Called after each step; returning false abandons the save on the spot, leaving what is on
// disk as it is. Null (the default) lets every save run to its end.
using SaveStepHook = bool (*)(SaveStep step);
void SetSaveStepHook(SaveStepHook hook);

// Clears the record's content, then reads the file into it. False when the file cannot be
// opened or is damaged (see above).
bool ReadNoteFile(LPCWSTR path, NoteRecord& record);

// Reads the expiry time, title and expired flag only.
bool ReadNoteHeader(LPCWSTR path, NoteHeader& header);

// ReadNoteFile on `bytes`, the whole content of a file.
bool ParseNoteFile(std::span<const BYTE> bytes, NoteRecord& record);
// ReadNoteHeader on `bytes`, the start of a file.
bool ParseNoteHeader(std::span<const BYTE> bytes, NoteHeader& header);

// The first kFixedPartSize bytes of the record's file; its content follows them.
using NoteFixedPart = std::array<BYTE, NoteFileLayout::kFixedPartSize>;
NoteFixedPart EncodeNoteFixedPart(const NoteRecord& record);

// The first of "<folder>\Pinnote0<extension>" ... "Pinnote999" that does not exist. False,
// with `path` untouched, when every name is taken or the name would not fit in MAX_PATH:
// an existing note is never chosen, so it can never be overwritten by a new one.
bool FindFreeNoteFileName(LPCWSTR folder, LPCWSTR extension, WCHAR (&path)[MAX_PATH]);
