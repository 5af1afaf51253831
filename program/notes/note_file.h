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

// Creates or truncates the file and writes the whole note; false when the file cannot be
// created or not every byte was written.
bool WriteNoteFile(LPCWSTR path, const NoteRecord& record);

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
