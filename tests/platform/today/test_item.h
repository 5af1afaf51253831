// What the Today screen tests share with their item libraries: the private messages an item
// window answers and the registry values the items read.
#pragma once

#include <windows.h>

// Sent to a good item's window (they cross processes: integers only).
#define TEST_ITEM_SET_HEIGHT (WM_APP + 1)   // wParam: the height it answers from now on
#define TEST_ITEM_CLEARS (WM_APP + 2)       // result: WM_TODAYCUSTOM_CLEARCACHE messages received
#define TEST_ITEM_PAINTS (WM_APP + 3)       // result: WM_PAINT messages handled
#define TEST_ITEM_TEXT_COLOR (WM_APP + 4)   // result: the text colour the Today screen gave
#define TEST_ITEM_WATERMARKS (WM_APP + 5)   // result: TODAYM_DRAWWATERMARK answered TRUE
#define TEST_ITEM_QUERIES (WM_APP + 6)      // result: WM_TODAYCUSTOM_QUERYREFRESHCACHE received

// HKLM\SOFTWARE\Tests\GoodItem "Tall" (DWORD): the good item starts 60 pixels high instead of
// 30; its options dialog (dialog 500, check box 1001, OK) edits it.
#define TEST_ITEM_KEY u"SOFTWARE\\Tests\\GoodItem"
#define TEST_ITEM_SHORT 30
#define TEST_ITEM_TALL 60
#define TEST_ITEM_TALL_CHECK 1001

// The bad item does what its "Flags" value says.
#define BAD_ITEM_FAULT_IN_INITIALIZE 0
#define BAD_ITEM_FAULT_IN_CREATE 1
#define BAD_ITEM_FAULT_IN_PAINT 2
#define BAD_ITEM_NEGATIVE_HEIGHT 3
#define BAD_ITEM_HUGE_HEIGHT 4
#define BAD_ITEM_TOP_LEVEL_WINDOW 5
#define BAD_ITEM_NO_WINDOW 6
#define BAD_ITEM_THROW_IN_INITIALIZE 7
#define BAD_ITEM_OVERFLOW_IN_INITIALIZE 9  // recurses until its stack runs out
#define BAD_ITEM_RETURNS_ITS_PARENT 10
#define BAD_ITEM_RETURNS_A_SIBLING 11  // the screen's first child, another item's window
#define BAD_ITEM_PUMP_IN_QUERY 8  // dispatches its thread's messages inside each height query
#define BAD_ITEM_HUGE_HEIGHT_VALUE 100000
