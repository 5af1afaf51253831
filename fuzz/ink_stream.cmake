# The ink control's content reader on damaged and hostile streams.
handheld_add_fuzzer(ink_stream SOURCES ${CMAKE_CURRENT_LIST_DIR}/ink_stream.cpp LIBS inkx_stream)
handheld_warnings(fuzz_ink_stream)
