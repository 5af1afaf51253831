// What the control's source files share.
#pragma once

#include "ink_control.h"

namespace handheld::inkx {

InkControl* controlOf(HWND window);
View viewOf(const InkControl& ink);
// The text laid out for the current page style.
TextLayout layoutOf(const InkControl& ink);

// Draws everything again on the next paint, with the scroll bars brought up to date.
void refresh(InkControl& ink);
void scrollTo(InkControl& ink, int x, int y);
void ensureCaretVisible(InkControl& ink);
void setZoom(InkControl& ink, int zoom);

// WM_COMMAND to the parent; the control may be gone afterwards, so callers end with it.
void notifyChange(HWND control, Change change);
void notifyFocus(HWND control, WORD code);

// The messages both windows answer; false for the others.
bool handleInkMessage(InkControl& ink, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

LRESULT CALLBACK innerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace handheld::inkx
