# The formatter behind wsprintfW, driven by any format string and buffer size.
handheld_add_fuzzer(wsprintf SOURCES ${CMAKE_CURRENT_LIST_DIR}/wsprintf.cpp LIBS handheld_internal)
handheld_warnings(fuzz_wsprintf)
