# The resource compiler's script parser, fed from memory (includes and embedded files fail).
handheld_add_fuzzer(rc_script SOURCES ${CMAKE_CURRENT_LIST_DIR}/rc_script.cpp LIBS handheld_rc_compiler)
handheld_warnings(fuzz_rc_script)
