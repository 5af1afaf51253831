# The BMP decoder behind LoadBitmapW, LoadImageW and SHLoadDIBitmap, driven by any bytes.
handheld_add_fuzzer(bmp SOURCES ${CMAKE_CURRENT_LIST_DIR}/bmp.cpp LIBS handheld_internal)
handheld_warnings(fuzz_bmp)
