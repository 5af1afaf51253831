// SHLoadDIBitmap: a device .bmp file as a DIB section.
#include <aygshell.h>
#include <windows.h>

HANDHELD_API HBITMAP WINAPI SHLoadDIBitmap(LPCWSTR fileName) {
  return static_cast<HBITMAP>(
      LoadImageW(nullptr, fileName, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}
