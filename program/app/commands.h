// The program's private messages and the commands sent to its main window. Every window of the
// program includes this one header; a number may mean different things to different window
// classes, so each block names the class that understands it.
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

// The note window ("PinnoteWndClass").
constexpr UINT PNM_NOTE_CLOSE = WM_USER + 100;           // the close decision
constexpr UINT PNM_NOTE_DISCARD = WM_USER + 101;         // ends the window without keeping
constexpr UINT PNM_NOTE_REOPEN = WM_USER + 102;          // lParam: a note file being opened
constexpr UINT PNM_NOTE_STOP_RECORDING = WM_USER + 103;
constexpr UINT PNM_NOTE_EXPIRY_MENU = WM_USER + 104;     // posted by the expiry-choices button
constexpr UINT PNM_NOTE_OPEN_PICKER = WM_USER + 110;     // posted by the date button
constexpr UINT PNM_NOTE_PICKER_CLOSED = WM_USER + 500;
constexpr UINT PNM_NOTE_ZOOM_IN = WM_USER + 1131;
constexpr UINT PNM_NOTE_ZOOM_OUT = WM_USER + 1132;
constexpr UINT PNM_NOTE_TOGGLE_RECORD = WM_USER + 1133;
constexpr UINT PNM_NOTE_UNDO = WM_USER + 1134;

// The all-notes window ("AllPinnotesWnd"); it also takes PNM_SETTINGS_CHANGED.
constexpr UINT PNM_LIST_CONTEXT_MENU = WM_USER + 100;  // wParam, lParam: the hold point
constexpr UINT PNM_LIST_OPEN_MARKED = WM_USER + 102;

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
