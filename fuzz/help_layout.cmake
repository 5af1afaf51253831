# The help viewer's pages laid out by litehtml from any help file bytes.
handheld_add_fuzzer(help_layout SOURCES ${CMAKE_CURRENT_LIST_DIR}/help_layout.cpp LIBS peghelp_text litehtml)
handheld_warnings(fuzz_help_layout)
