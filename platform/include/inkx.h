// The ink control: the window class "InkX" from \Windows\InkX.dll, a note page that takes
// stylus strokes (writing mode) and typed text (typing mode), zoomed from 25 to 300 percent,
// with voice recordings kept inside its content. A program loads the library, calls InitInkX
// once, and creates "InkX" windows; the control makes an inner writing window of its own
// (INKM_GET_INNER) that takes the stylus, the keys and some of the messages below.
#pragma once

#include "windef.h"
#include "winuser.h"

#define INKX_CLASS u"InkX"

// InitInkX registers the class for the whole process; TRUE when it exists afterwards.
typedef BOOL(WINAPI* INITINKXPROC)(void);

// ---- messages (sent unless noted) ----
#define INKM_UNDO 1258         // inner: undoes the last change
#define INKM_SET_PAGE 1311     // control (may be posted): wParam page flags below
#define INKM_GET_ZOOM 1313     // inner: returns the zoom in percent
#define INKM_SET_ZOOM 1314     // inner: lParam zoom in percent, clamped to 25..300
#define INKM_SET_MODE 1353     // inner: wParam one of the INKMODE_ values
#define INKM_SET_PEN 1356      // inner: lParam points to an INKPEN
#define INKM_HAS_CONTENT 1538  // control: non-zero when it holds any stroke, text or recording
#define INKM_RECORD_MODE 1554  // control: wParam 1 shows the recording bar, 0 hides it
#define INKM_STOP 1561         // control: stops recording and playback
#define INKM_RECORD 1565       // control: starts recording at once
#define INKM_GET_INNER 1556    // control: returns the inner writing window

// The content as one byte stream through EDITSTREAM (the control and EM_STREAMIN/OUT).
#define INK_STREAM_FORMAT 0x10802

#ifndef EM_STREAMIN
#define EM_STREAMIN 1097
#define EM_STREAMOUT 1098
// Returns 0 to go on; anything else ends the transfer and lands in dwError.
typedef DWORD(CALLBACK* EDITSTREAMCALLBACK)(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done);
typedef struct _editstream {
  DWORD_PTR dwCookie;
  DWORD dwError;
  EDITSTREAMCALLBACK pfnCallback;
} EDITSTREAM;
#endif

// dwError after EM_STREAMIN when the bytes were damaged: what was sound was loaded.
#define INK_STREAM_DAMAGED 0x10
// dwError after EM_STREAMIN when the content is of a later version than this control reads.
#define INK_STREAM_UNKNOWN_VERSION 0x11

// ---- input modes (INKM_SET_MODE) ----
#define INKMODE_WRITING 0
#define INKMODE_TYPING 1
#define INKMODE_SELECTING 2  // a dragged rectangle selects the strokes inside it
#define INKMODE_ERASING 3    // strokes the stylus touches go

// ---- page flags (INKM_SET_PAGE) ----
#define INKPAGE_LEFT_MARGIN 0
#define INKPAGE_TOP_MARGIN 1
#define INKPAGE_RULED 2
#define INKPAGE_GRID 4
#define INKPAGE_LEFT_TOP_MARGIN 8
#define INKPAGE_BLANK 16
#define INKPAGE_DOTTED 32

// ---- the pen (INKM_SET_PEN): six 32-bit words ----
#define INKPEN_WIDTH 0x1u         // dwWidth is valid
#define INKPEN_ERASER 0x2u        // dwEraserTenths is valid
#define INKPEN_TEXT_HEIGHT 0x4u   // dwTextHeight is valid
#define INKPEN_COLOR 0x8u         // crColor is valid
typedef struct tagINKPEN {
  DWORD dwMask;          // which of the fields below count
  DWORD dwWidth;         // stroke width in pixels at 100 %
  DWORD dwEraserTenths;  // eraser reach in tenths of a pixel at 100 %
  DWORD dwTextHeight;    // typed text height in pixels at 100 %
  COLORREF crColor;      // strokes and text
  DWORD dwReserved;
} INKPEN;

// ---- notifications: WM_COMMAND to the parent ----
// With the control's id in the low word and the code in the high word, the control in lParam:
#define INKN_SETFOCUS 256
#define INKN_KILLFOCUS 512
// With the identifier in the low word (high word 0) and the control in lParam:
#define INKN_INK_CHANGED 10003      // strokes were added or erased
#define INKN_CONTENT_CHANGED 10006  // text, recordings or several kinds changed (undo, paste, cut)
