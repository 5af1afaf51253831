// Common controls. Each control family has its own section below.
#pragma once

#include "windef.h"
#include "wingdi.h"
#include "winuser.h"

// ==== initialisation and the notifications every common control shares ====
// Every process has the common controls from its start; these check their argument only.
typedef struct tagINITCOMMONCONTROLSEX {
  DWORD dwSize;
  DWORD dwICC;
} INITCOMMONCONTROLSEX, *LPINITCOMMONCONTROLSEX;

#define ICC_LISTVIEW_CLASSES 0x00000001u
#define ICC_TREEVIEW_CLASSES 0x00000002u
#define ICC_BAR_CLASSES 0x00000004u
#define ICC_TAB_CLASSES 0x00000008u
#define ICC_UPDOWN_CLASS 0x00000010u
#define ICC_PROGRESS_CLASS 0x00000020u
#define ICC_WIN95_CLASSES 0x000000FFu
#define ICC_DATE_CLASSES 0x00000100u
#define ICC_COOL_CLASSES 0x00000400u

HANDHELD_API void WINAPI InitCommonControls(void);
HANDHELD_API BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);

#define NM_FIRST 0u
#define NM_OUTOFMEMORY (NM_FIRST - 1u)
#define NM_CLICK (NM_FIRST - 2u)
#define NM_DBLCLK (NM_FIRST - 3u)
#define NM_RETURN (NM_FIRST - 4u)
#define NM_RCLICK (NM_FIRST - 5u)
#define NM_RDBLCLK (NM_FIRST - 6u)
#define NM_SETFOCUS (NM_FIRST - 7u)
#define NM_KILLFOCUS (NM_FIRST - 8u)
#define NM_CUSTOMDRAW (NM_FIRST - 12u)

#define CLR_NONE 0xFFFFFFFFu
#define CLR_DEFAULT 0xFF000000u

// ==== image lists ====
typedef struct _IMAGELIST* HIMAGELIST;

#define ILC_MASK 0x0001u
#define ILC_COLOR 0x0000u
#define ILC_COLORDDB 0x00FEu
#define ILC_COLOR4 0x0004u
#define ILC_COLOR8 0x0008u
#define ILC_COLOR16 0x0010u
#define ILC_COLOR24 0x0018u
#define ILC_COLOR32 0x0020u

#define ILD_NORMAL 0x0000u
#define ILD_TRANSPARENT 0x0001u
#define ILD_BLEND25 0x0002u
#define ILD_BLEND50 0x0004u
#define ILD_MASK 0x0010u
#define ILD_IMAGE 0x0020u
#define ILD_FOCUS ILD_BLEND25
#define ILD_SELECTED ILD_BLEND50
#define ILD_BLEND ILD_BLEND50

// Images are kept at 32 bits whatever ILC_COLOR* asks for.
HANDHELD_API HIMAGELIST WINAPI ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
HANDHELD_API BOOL WINAPI ImageList_Destroy(HIMAGELIST list);
// A bitmap wider than cx adds one image per cx columns; returns the first new index or -1.
// With ILC_MASK, white pixels of the monochrome mask are transparent.
HANDHELD_API int WINAPI ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// Pixels of the mask colour become transparent. The bitmap itself is left unchanged.
HANDHELD_API int WINAPI ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF mask);
HANDHELD_API BOOL WINAPI ImageList_Draw(HIMAGELIST list, int index, HDC hdc, int x, int y,
                                        UINT style);
HANDHELD_API int WINAPI ImageList_GetImageCount(HIMAGELIST list);
HANDHELD_API BOOL WINAPI ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// index -1 removes every image.
HANDHELD_API BOOL WINAPI ImageList_Remove(HIMAGELIST list, int index);
HANDHELD_API COLORREF WINAPI ImageList_SetBkColor(HIMAGELIST list, COLORREF color);
HANDHELD_API COLORREF WINAPI ImageList_GetBkColor(HIMAGELIST list);
// IMAGE_BITMAP only; mask CLR_DEFAULT takes the colour of the top-left pixel, CLR_NONE none.
HANDHELD_API HIMAGELIST WINAPI ImageList_LoadImage(HINSTANCE instance, LPCWSTR name, int cx,
                                                   int grow, COLORREF mask, UINT type,
                                                   UINT flags);
#define ImageList_LoadBitmap(instance, name, cx, grow, mask) \
  ImageList_LoadImage(instance, name, cx, grow, mask, IMAGE_BITMAP, 0)
#define ImageList_RemoveAll(list) ImageList_Remove(list, -1)
// ==== end of image lists ====
