// What the main window understands: the private messages that reach it from a second start,
// the Today item and the program's own windows, and the commands of WM_COMMAND.
#pragma once

#include <windows.h>

#include "pinnotes/crossing_names.h"

constexpr UINT PNM_CLOSE_ALL_NOTES = WM_USER - 1;
constexpr UINT PNM_NOTE_SAVED = WM_USER + 1;  // wParam 1: a new file; lParam: its path
constexpr UINT PNM_NOTE_CLOSED = WM_USER + 2;
constexpr UINT PNM_NOTE_OPENING = WM_USER + 3;
constexpr UINT PNM_OPEN_MAPPED_NOTE = CrossingNames::kOpenMappedNote;
constexpr UINT PNM_OPEN_NOTE_PATH = WM_USER + 103;  // wParam: a path in this process
constexpr UINT PNM_SHOW_ALL = CrossingNames::kShowAll;
constexpr UINT PNM_NOTE_DUE = CrossingNames::kNoteDue;
constexpr UINT PNM_ADD_NEW = CrossingNames::kAddNew;
constexpr UINT PNM_SETTINGS_CHANGED = WM_USER + 400;

// Sent to the Today item's window after the note list changed.
constexpr UINT PNM_LIST_CHANGED = CrossingNames::kListChanged;

constexpr WORD IDM_NEWNOTE = 1224;
constexpr WORD IDM_SHOWALL = 1225;
constexpr WORD IDM_ABOUT = 1227;
constexpr WORD IDM_OPTIONS = 1228;
constexpr WORD IDM_EXIT = 1229;
constexpr WORD IDM_NOTE_FIRST = 1230;  // + n: the note at list index n

static_assert(PNM_OPEN_MAPPED_NOTE == WM_USER + 101 && PNM_SHOW_ALL == WM_USER + 302 &&
              PNM_NOTE_DUE == WM_USER + 303 && PNM_ADD_NEW == WM_USER + 304 &&
              PNM_LIST_CHANGED == WM_USER + 300);
