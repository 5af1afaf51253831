// What crosses between the program and the Today item at run time: the named objects, the
// windows each side finds, the messages and the program's command-line words.
#pragma once

#include <cstddef>

namespace CrossingNames {

// Set by the program after every change of note files or settings; manual reset.
inline constexpr char16_t kChangeEvent[] = u"VORLA Pinnotes Event";

// Paging-file mapping that carries the path of a tapped note during one sent request.
inline constexpr char16_t kNoteStateMap[] = u"PinnotesMap";
inline constexpr std::size_t kNoteStateMapBytes = 520;

inline constexpr char16_t kMainWindowClass[] = u"PINNOTES";
inline constexpr char16_t kWindowTitle[] = u"VORLA Pinnotes";  // both windows carry it
inline constexpr char16_t kTodayWindowClass[] = u"TodayClass";

// Message numbers (WM_USER-based) that cross the process boundary.
inline constexpr unsigned kOpenMappedNote = 0x400 + 101;  // Today item -> program, sent
inline constexpr unsigned kListChanged = 0x400 + 300;     // program -> Today item, sent
inline constexpr unsigned kShowAll = 0x400 + 302;         // Today item -> program, posted
inline constexpr unsigned kNoteDue = 0x400 + 303;         // Today item -> program, posted
inline constexpr unsigned kAddNew = 0x400 + 304;          // Today item -> program, posted

// Whole command lines with which the program is started; any other text is a note path.
inline constexpr char16_t kShowAllWord[] = u"showall";
inline constexpr char16_t kAddNewWord[] = u"addnew";
inline constexpr char16_t kRunAtTimeWord[] = u"AppRunAtTime";

}  // namespace CrossingNames
