// Drawing: device contexts, pens, brushes, fonts, bitmaps, text, system colours and the
// rectangle helpers.
#pragma once

#include "windef.h"

// ---- structures ----
typedef struct tagRGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
} RGBQUAD, *LPRGBQUAD;

typedef struct tagBITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
} BITMAPINFOHEADER, *PBITMAPINFOHEADER, *LPBITMAPINFOHEADER;

typedef struct tagBITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
} BITMAPINFO, *PBITMAPINFO, *LPBITMAPINFO;

#pragma pack(push, 2)
typedef struct tagBITMAPFILEHEADER {
  WORD bfType;
  DWORD bfSize;
  WORD bfReserved1;
  WORD bfReserved2;
  DWORD bfOffBits;
} BITMAPFILEHEADER, *PBITMAPFILEHEADER, *LPBITMAPFILEHEADER;
#pragma pack(pop)

typedef struct tagBITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
} BITMAP, *PBITMAP, *LPBITMAP;

typedef struct tagDIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;
  DWORD dsBitfields[3];
  HANDLE dshSection;
  DWORD dsOffset;
} DIBSECTION, *PDIBSECTION, *LPDIBSECTION;

typedef struct tagLOGPEN {
  UINT lopnStyle;
  POINT lopnWidth;
  COLORREF lopnColor;
} LOGPEN, *PLOGPEN, *LPLOGPEN;

typedef struct tagLOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  ULONG_PTR lbHatch;
} LOGBRUSH, *PLOGBRUSH, *LPLOGBRUSH;

#define LF_FACESIZE 32
typedef struct tagLOGFONTW {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  WCHAR lfFaceName[LF_FACESIZE];
} LOGFONTW, *PLOGFONTW, *LPLOGFONTW;
typedef LOGFONTW LOGFONT;

typedef struct tagTEXTMETRICW {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  WCHAR tmFirstChar;
  WCHAR tmLastChar;
  WCHAR tmDefaultChar;
  WCHAR tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
} TEXTMETRICW, *PTEXTMETRICW, *LPTEXTMETRICW;
typedef TEXTMETRICW TEXTMETRIC;

// ---- constants ----
#define CLR_INVALID 0xFFFFFFFFu
#define GDI_ERROR 0xFFFFFFFFu

// Ternary raster operations.
#define SRCCOPY 0x00CC0020u
#define SRCPAINT 0x00EE0086u
#define SRCAND 0x008800C6u
#define SRCINVERT 0x00660046u
#define SRCERASE 0x00440328u
#define NOTSRCCOPY 0x00330008u
#define NOTSRCERASE 0x001100A6u
#define MERGECOPY 0x00C000CAu
#define MERGEPAINT 0x00BB0226u
#define PATCOPY 0x00F00021u
#define PATPAINT 0x00FB0A09u
#define PATINVERT 0x005A0049u
#define DSTINVERT 0x00550009u
#define BLACKNESS 0x00000042u
#define WHITENESS 0x00FF0062u

// Binary raster operations (pens).
#define R2_BLACK 1
#define R2_NOTMERGEPEN 2
#define R2_MASKNOTPEN 3
#define R2_NOTCOPYPEN 4
#define R2_MASKPENNOT 5
#define R2_NOT 6
#define R2_XORPEN 7
#define R2_NOTMASKPEN 8
#define R2_MASKPEN 9
#define R2_NOTXORPEN 10
#define R2_NOP 11
#define R2_MERGENOTPEN 12
#define R2_COPYPEN 13
#define R2_MERGEPENNOT 14
#define R2_MERGEPEN 15
#define R2_WHITE 16

#define TRANSPARENT 1
#define OPAQUE 2

#define PS_SOLID 0
#define PS_DASH 1
#define PS_NULL 5

#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL
#define BS_PATTERN 3

// Stock objects.
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define SYSTEM_FONT 13
#define DEFAULT_GUI_FONT 17

// Object types (GetObjectType, GetCurrentObject).
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_MEMDC 10

// Bitmaps.
#define BI_RGB 0u
#define BI_RLE8 1u
#define BI_RLE4 2u
#define BI_BITFIELDS 3u
#define DIB_RGB_COLORS 0u
#define DIB_PAL_COLORS 1u

// Fonts.
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_HEAVY 900
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
// Font quality: NONANTIALIASED_QUALITY draws glyphs without anti-aliasing; every other
// value draws them anti-aliased in grey (the screen has no sub-pixel order for ClearType).
#define DEFAULT_QUALITY 0
#define DRAFT_QUALITY 1
#define PROOF_QUALITY 2
#define NONANTIALIASED_QUALITY 3
#define ANTIALIASED_QUALITY 4
#define CLEARTYPE_QUALITY 5
#define CLEARTYPE_COMPAT_QUALITY 6
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30
// tmPitchAndFamily bits; as on the platform, TMPF_FIXED_PITCH set means variable pitch.
#define TMPF_FIXED_PITCH 0x01
#define TMPF_VECTOR 0x02
#define TMPF_TRUETYPE 0x04

// Text output.
#define ETO_OPAQUE 0x0002u
#define ETO_CLIPPED 0x0004u
#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24

#define DT_TOP 0x00000000u
#define DT_LEFT 0x00000000u
#define DT_CENTER 0x00000001u
#define DT_RIGHT 0x00000002u
#define DT_VCENTER 0x00000004u
#define DT_BOTTOM 0x00000008u
#define DT_WORDBREAK 0x00000010u
#define DT_SINGLELINE 0x00000020u
#define DT_EXPANDTABS 0x00000040u
#define DT_NOCLIP 0x00000100u
#define DT_EXTERNALLEADING 0x00000200u
#define DT_CALCRECT 0x00000400u
#define DT_NOPREFIX 0x00000800u
#define DT_END_ELLIPSIS 0x00008000u
#define DT_HIDEPREFIX 0x00100000u

// Device capabilities.
#define TECHNOLOGY 2
#define HORZSIZE 4
#define VERTSIZE 6
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMCOLORS 24
#define RASTERCAPS 38
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define DT_RASDISPLAY 1
#define RC_BITBLT 0x0001
#define RC_DI_BITMAP 0x0080
#define RC_STRETCHBLT 0x0800

// Edges.
#define BDR_RAISEDOUTER 0x0001u
#define BDR_SUNKENOUTER 0x0002u
#define BDR_RAISEDINNER 0x0004u
#define BDR_SUNKENINNER 0x0008u
#define BDR_OUTER (BDR_RAISEDOUTER | BDR_SUNKENOUTER)
#define BDR_INNER (BDR_RAISEDINNER | BDR_SUNKENINNER)
#define EDGE_RAISED (BDR_RAISEDOUTER | BDR_RAISEDINNER)
#define EDGE_SUNKEN (BDR_SUNKENOUTER | BDR_SUNKENINNER)
#define EDGE_ETCHED (BDR_SUNKENOUTER | BDR_RAISEDINNER)
#define EDGE_BUMP (BDR_RAISEDOUTER | BDR_SUNKENINNER)
#define BF_LEFT 0x0001u
#define BF_TOP 0x0002u
#define BF_RIGHT 0x0004u
#define BF_BOTTOM 0x0008u
#define BF_TOPLEFT (BF_TOP | BF_LEFT)
#define BF_TOPRIGHT (BF_TOP | BF_RIGHT)
#define BF_BOTTOMLEFT (BF_BOTTOM | BF_LEFT)
#define BF_BOTTOMRIGHT (BF_BOTTOM | BF_RIGHT)
#define BF_RECT (BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM)
#define BF_MIDDLE 0x0800u
#define BF_SOFT 0x1000u
#define BF_ADJUST 0x2000u
#define BF_FLAT 0x4000u
#define BF_MONO 0x8000u

// System colours. As on the device, the indices carry SYS_COLOR_INDEX_FLAG;
// GetSysColor and GetSysColorBrush accept them with or without it.
#define SYS_COLOR_INDEX_FLAG 0x40000000
#define COLOR_SCROLLBAR (0 | SYS_COLOR_INDEX_FLAG)
#define COLOR_BACKGROUND (1 | SYS_COLOR_INDEX_FLAG)
#define COLOR_ACTIVECAPTION (2 | SYS_COLOR_INDEX_FLAG)
#define COLOR_INACTIVECAPTION (3 | SYS_COLOR_INDEX_FLAG)
#define COLOR_MENU (4 | SYS_COLOR_INDEX_FLAG)
#define COLOR_WINDOW (5 | SYS_COLOR_INDEX_FLAG)
#define COLOR_WINDOWFRAME (6 | SYS_COLOR_INDEX_FLAG)
#define COLOR_MENUTEXT (7 | SYS_COLOR_INDEX_FLAG)
#define COLOR_WINDOWTEXT (8 | SYS_COLOR_INDEX_FLAG)
#define COLOR_CAPTIONTEXT (9 | SYS_COLOR_INDEX_FLAG)
#define COLOR_ACTIVEBORDER (10 | SYS_COLOR_INDEX_FLAG)
#define COLOR_INACTIVEBORDER (11 | SYS_COLOR_INDEX_FLAG)
#define COLOR_APPWORKSPACE (12 | SYS_COLOR_INDEX_FLAG)
#define COLOR_HIGHLIGHT (13 | SYS_COLOR_INDEX_FLAG)
#define COLOR_HIGHLIGHTTEXT (14 | SYS_COLOR_INDEX_FLAG)
#define COLOR_BTNFACE (15 | SYS_COLOR_INDEX_FLAG)
#define COLOR_BTNSHADOW (16 | SYS_COLOR_INDEX_FLAG)
#define COLOR_GRAYTEXT (17 | SYS_COLOR_INDEX_FLAG)
#define COLOR_BTNTEXT (18 | SYS_COLOR_INDEX_FLAG)
#define COLOR_INACTIVECAPTIONTEXT (19 | SYS_COLOR_INDEX_FLAG)
#define COLOR_BTNHIGHLIGHT (20 | SYS_COLOR_INDEX_FLAG)
#define COLOR_3DDKSHADOW (21 | SYS_COLOR_INDEX_FLAG)
#define COLOR_3DLIGHT (22 | SYS_COLOR_INDEX_FLAG)
#define COLOR_INFOTEXT (23 | SYS_COLOR_INDEX_FLAG)
#define COLOR_INFOBK (24 | SYS_COLOR_INDEX_FLAG)
#define COLOR_STATIC (25 | SYS_COLOR_INDEX_FLAG)
#define COLOR_STATICTEXT (26 | SYS_COLOR_INDEX_FLAG)
#define C_SYS_COLOR_TYPES 27
#define COLOR_DESKTOP COLOR_BACKGROUND
#define COLOR_3DFACE COLOR_BTNFACE
#define COLOR_3DSHADOW COLOR_BTNSHADOW
#define COLOR_3DHIGHLIGHT COLOR_BTNHIGHLIGHT
#define COLOR_3DHILIGHT COLOR_BTNHIGHLIGHT
#define COLOR_BTNHILIGHT COLOR_BTNHIGHLIGHT

// What kind of area a region call describes.
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3

// ---- device contexts ----
HANDHELD_API HDC WINAPI CreateCompatibleDC(HDC hdc);
HANDHELD_API BOOL WINAPI DeleteDC(HDC hdc);
HANDHELD_API int WINAPI SaveDC(HDC hdc);
HANDHELD_API BOOL WINAPI RestoreDC(HDC hdc, int savedDc);
HANDHELD_API int WINAPI GetDeviceCaps(HDC hdc, int index);
HANDHELD_API BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT previous);
HANDHELD_API BOOL WINAPI GetViewportOrgEx(HDC hdc, LPPOINT origin);

// ---- objects ----
HANDHELD_API HGDIOBJ WINAPI GetStockObject(int object);
HANDHELD_API HBRUSH WINAPI CreateSolidBrush(COLORREF color);
HANDHELD_API HBRUSH WINAPI CreatePatternBrush(HBITMAP bitmap);
HANDHELD_API HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* logBrush);
HANDHELD_API HPEN WINAPI CreatePen(int style, int width, COLORREF color);
HANDHELD_API HPEN WINAPI CreatePenIndirect(const LOGPEN* logPen);
HANDHELD_API HFONT WINAPI CreateFontIndirectW(const LOGFONTW* logFont);
HANDHELD_API HBITMAP WINAPI CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel,
                                         const void* bits);
HANDHELD_API HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int width, int height);
HANDHELD_API HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage,
                                             void** bits, HANDLE section, DWORD offset);
HANDHELD_API HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ object);
HANDHELD_API BOOL WINAPI DeleteObject(HGDIOBJ object);
HANDHELD_API int WINAPI GetObjectW(HGDIOBJ object, int size, LPVOID buffer);
HANDHELD_API DWORD WINAPI GetObjectType(HGDIOBJ object);
HANDHELD_API HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type);

// ---- system colours ----
HANDHELD_API DWORD WINAPI GetSysColor(int index);
HANDHELD_API HBRUSH WINAPI GetSysColorBrush(int index);

// ---- attributes ----
HANDHELD_API COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color);
HANDHELD_API COLORREF WINAPI GetTextColor(HDC hdc);
HANDHELD_API COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color);
HANDHELD_API COLORREF WINAPI GetBkColor(HDC hdc);
HANDHELD_API int WINAPI SetBkMode(HDC hdc, int mode);
HANDHELD_API int WINAPI GetBkMode(HDC hdc);
HANDHELD_API int WINAPI SetROP2(HDC hdc, int mode);
HANDHELD_API int WINAPI GetROP2(HDC hdc);
HANDHELD_API UINT WINAPI SetTextAlign(HDC hdc, UINT align);
HANDHELD_API UINT WINAPI GetTextAlign(HDC hdc);

// ---- shapes and pixels ----
HANDHELD_API int WINAPI FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
HANDHELD_API BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom);
HANDHELD_API BOOL WINAPI RoundRect(HDC hdc, int left, int top, int right, int bottom,
                                   int ellipseWidth, int ellipseHeight);
HANDHELD_API BOOL WINAPI Ellipse(HDC hdc, int left, int top, int right, int bottom);
HANDHELD_API BOOL WINAPI Polygon(HDC hdc, const POINT* points, int count);
HANDHELD_API BOOL WINAPI Polyline(HDC hdc, const POINT* points, int count);
HANDHELD_API BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT previous);
HANDHELD_API BOOL WINAPI LineTo(HDC hdc, int x, int y);
HANDHELD_API COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color);
HANDHELD_API COLORREF WINAPI GetPixel(HDC hdc, int x, int y);
// A one-pixel border inside rect, drawn with the brush.
HANDHELD_API int WINAPI FrameRect(HDC hdc, const RECT* rect, HBRUSH brush);
HANDHELD_API BOOL WINAPI DrawFocusRect(HDC hdc, const RECT* rect);
HANDHELD_API BOOL WINAPI InvertRect(HDC hdc, const RECT* rect);
HANDHELD_API BOOL WINAPI DrawEdge(HDC hdc, LPRECT rect, UINT edge, UINT flags);

// ---- blits ----
HANDHELD_API BOOL WINAPI PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop);
HANDHELD_API BOOL WINAPI BitBlt(HDC destination, int x, int y, int width, int height, HDC source,
                                int sourceX, int sourceY, DWORD rop);
HANDHELD_API BOOL WINAPI StretchBlt(HDC destination, int x, int y, int width, int height,
                                    HDC source, int sourceX, int sourceY, int sourceWidth,
                                    int sourceHeight, DWORD rop);
// The source is a DC or a bitmap; source pixels equal to the transparent colour are skipped.
HANDHELD_API BOOL WINAPI TransparentImage(HDC destination, int x, int y, int width, int height,
                                          HANDLE source, int sourceX, int sourceY,
                                          int sourceWidth, int sourceHeight,
                                          COLORREF transparent);
#define TransparentBlt TransparentImage

// ---- text ----
HANDHELD_API BOOL WINAPI ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect,
                                     LPCWSTR text, UINT count, const int* advances);
HANDHELD_API int WINAPI DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format);
HANDHELD_API BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size);
HANDHELD_API BOOL WINAPI GetTextExtentExPointW(HDC hdc, LPCWSTR text, int count, int maxExtent,
                                               LPINT fitCount, LPINT partialExtents,
                                               LPSIZE size);
HANDHELD_API BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW metrics);

// ---- rectangles ----
HANDHELD_API BOOL WINAPI SetRect(LPRECT rect, int left, int top, int right, int bottom);
HANDHELD_API BOOL WINAPI SetRectEmpty(LPRECT rect);
HANDHELD_API BOOL WINAPI CopyRect(LPRECT destination, const RECT* source);
HANDHELD_API BOOL WINAPI InflateRect(LPRECT rect, int dx, int dy);
HANDHELD_API BOOL WINAPI OffsetRect(LPRECT rect, int dx, int dy);
HANDHELD_API BOOL WINAPI IntersectRect(LPRECT destination, const RECT* first, const RECT* second);
HANDHELD_API BOOL WINAPI UnionRect(LPRECT destination, const RECT* first, const RECT* second);
HANDHELD_API BOOL WINAPI EqualRect(const RECT* first, const RECT* second);
HANDHELD_API BOOL WINAPI IsRectEmpty(const RECT* rect);
HANDHELD_API BOOL WINAPI PtInRect(const RECT* rect, POINT point);

#define GetObject GetObjectW
#define CreateFontIndirect CreateFontIndirectW
#define ExtTextOut ExtTextOutW
#define DrawText DrawTextW
#define GetTextExtentPoint32 GetTextExtentPoint32W
#define GetTextExtentExPoint GetTextExtentExPointW
#define GetTextMetrics GetTextMetricsW
