// Image lists: strips, masks, drawing styles, removal, bad handles.
#include <commctrl.h>
#include <gtest/gtest.h>

#include "gdi_test_support.h"
#include "resource.h"

using gdi_test::MemoryDc;

namespace {

const COLORREF kKey = RGB(255, 0, 255);

// A strip of three 2x2 images: red, green, blue, each with its top-left pixel in the key.
HBITMAP makeStrip() {
  MemoryDc strip(6, 2);
  const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
  for (int i = 0; i < 3; ++i) {
    RECT r{2 * i, 0, 2 * i + 2, 2};
    HBRUSH brush = CreateSolidBrush(colours[i]);
    FillRect(strip.dc(), &r, brush);
    DeleteObject(brush);
    SetPixel(strip.dc(), 2 * i, 0, kKey);
  }
  HBITMAP copy = CreateBitmap(6, 2, 1, 32, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, copy);
  BitBlt(dc, 0, 0, 6, 2, strip.dc(), 0, 0, SRCCOPY);
  SelectObject(dc, old);
  DeleteDC(dc);
  return copy;
}

}  // namespace

TEST(ImageList, MaskedStripAddsOneImagePerWidth) {
  HIMAGELIST list = ImageList_Create(2, 2, ILC_COLOR32 | ILC_MASK, 4, 4);
  ASSERT_NE(list, nullptr);
  HBITMAP strip = makeStrip();
  EXPECT_EQ(ImageList_AddMasked(list, strip, kKey), 0);
  EXPECT_EQ(ImageList_AddMasked(list, strip, kKey), 3);
  EXPECT_EQ(ImageList_GetImageCount(list), 6);
  int cx = 0;
  int cy = 0;
  EXPECT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
  EXPECT_EQ(cx, 2);
  EXPECT_EQ(cy, 2);
  // The bitmap keeps its key pixels.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, strip);
  EXPECT_EQ(GetPixel(dc, 0, 0), kKey);
  SelectObject(dc, old);
  DeleteDC(dc);

  MemoryDc canvas(4, 2, RGB(1, 1, 1));
  EXPECT_TRUE(ImageList_Draw(list, 1, canvas.dc(), 1, 0, ILD_TRANSPARENT));
  EXPECT_EQ(canvas.pixel(1, 0), RGB(1, 1, 1));  // the key pixel let the background through
  EXPECT_EQ(canvas.pixel(2, 0), RGB(0, 255, 0));
  EXPECT_EQ(canvas.pixel(1, 1), RGB(0, 255, 0));
  EXPECT_EQ(canvas.pixel(0, 0), RGB(1, 1, 1));

  ImageList_SetBkColor(list, RGB(9, 9, 9));
  ImageList_Draw(list, 2, canvas.dc(), 0, 0, ILD_NORMAL);  // the background colour shows
  EXPECT_EQ(canvas.pixel(0, 0), RGB(9, 9, 9));
  ImageList_Draw(list, 2, canvas.dc(), 0, 0, ILD_SELECTED);
  COLORREF selected = canvas.pixel(1, 1);
  EXPECT_NE(selected, RGB(0, 0, 255));
  EXPECT_EQ(GetRValue(selected), 0);
  EXPECT_NEAR(GetBValue(selected), 191, 1);  // half blue, half the navy highlight
  ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_MASK);
  EXPECT_EQ(canvas.pixel(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(canvas.pixel(1, 0), RGB(0, 0, 0));

  EXPECT_FALSE(ImageList_Draw(list, 6, canvas.dc(), 0, 0, ILD_NORMAL));
  EXPECT_TRUE(ImageList_Remove(list, 0));
  EXPECT_EQ(ImageList_GetImageCount(list), 5);
  EXPECT_TRUE(ImageList_RemoveAll(list));
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
  EXPECT_TRUE(ImageList_Destroy(list));
  EXPECT_FALSE(ImageList_Destroy(list));
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
  EXPECT_EQ(ImageList_Add(list, strip, nullptr), -1);
  DeleteObject(strip);
}

TEST(ImageList, MonochromeMaskBitmapMarksTransparentPixels) {
  HIMAGELIST list = ImageList_Create(2, 1, ILC_COLOR32 | ILC_MASK, 1, 1);
  HBITMAP image = CreateBitmap(2, 1, 1, 32, nullptr);  // black
  const uint8_t maskBits[2] = {0x40, 0x00};            // second pixel white: transparent
  HBITMAP mask = CreateBitmap(2, 1, 1, 1, maskBits);
  EXPECT_EQ(ImageList_Add(list, image, mask), 0);
  MemoryDc canvas(2, 1);
  ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(canvas.pixel(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(canvas.pixel(1, 0), RGB(255, 255, 255));
  // Without ILC_MASK every pixel is drawn.
  HIMAGELIST opaque = ImageList_Create(2, 1, ILC_COLOR32, 1, 1);
  ImageList_Add(opaque, image, mask);
  ImageList_Draw(opaque, 0, canvas.dc(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(canvas.pixel(1, 0), RGB(0, 0, 0));
  ImageList_Destroy(list);
  ImageList_Destroy(opaque);
  DeleteObject(image);
  DeleteObject(mask);
  EXPECT_EQ(ImageList_Create(0, 16, ILC_COLOR32, 1, 1), nullptr);
}

TEST(ImageList, LoadsAStripFromTheModulesBitmapResource) {
  HIMAGELIST list = ImageList_LoadBitmap(nullptr, MAKEINTRESOURCEW(IDB_STRIP), 2, 1, CLR_DEFAULT);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(list), 3);
  MemoryDc canvas(2, 2, RGB(7, 7, 7));
  ImageList_Draw(list, 2, canvas.dc(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(canvas.pixel(0, 0), RGB(7, 7, 7));  // the top-left colour was the key
  EXPECT_EQ(canvas.pixel(1, 1), RGB(0, 0, 255));
  ImageList_Destroy(list);
  EXPECT_EQ(ImageList_LoadBitmap(nullptr, MAKEINTRESOURCEW(999), 2, 1, CLR_NONE), nullptr);
}

TEST(ImageList, BitmapResourcesLoadAsDeviceBitmapsOrStretchedSections) {
  HBITMAP strip = LoadBitmapW(nullptr, MAKEINTRESOURCEW(IDB_STRIP));
  ASSERT_NE(strip, nullptr);
  BITMAP info{};
  GetObjectW(strip, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 6);
  EXPECT_EQ(info.bmHeight, 2);
  DeleteObject(strip);
  HBITMAP doubled = static_cast<HBITMAP>(
      LoadImageW(nullptr, MAKEINTRESOURCEW(IDB_STRIP), IMAGE_BITMAP, 12, 4, LR_CREATEDIBSECTION));
  ASSERT_NE(doubled, nullptr);
  DIBSECTION section{};
  ASSERT_EQ(GetObjectW(doubled, sizeof section, &section), static_cast<int>(sizeof section));
  EXPECT_EQ(section.dsBm.bmWidth, 12);
  EXPECT_EQ(section.dsBmih.biBitCount, 32);
  DeleteObject(doubled);
  EXPECT_EQ(LoadBitmapW(nullptr, MAKEINTRESOURCEW(999)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}
