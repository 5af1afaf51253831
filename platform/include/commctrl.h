// Common controls. Each control family has its own section below.
#pragma once

#include "windef.h"
#include "wingdi.h"

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
