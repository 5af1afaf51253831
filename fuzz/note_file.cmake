# The program's note file readers on damaged and hostile files, from memory.
handheld_add_fuzzer(note_file SOURCES ${CMAKE_CURRENT_LIST_DIR}/note_file.cpp LIBS pinnotes_notes)
handheld_warnings(fuzz_note_file)
