# The icon and cursor decoder behind LoadIconW, LoadCursorW and LoadImageW, driven by any bytes.
handheld_add_fuzzer(icon SOURCES ${CMAKE_CURRENT_LIST_DIR}/icon.cpp LIBS handheld_internal)
handheld_warnings(fuzz_icon)
