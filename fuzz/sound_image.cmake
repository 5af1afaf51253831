# Finding the voice recording in a note's content bytes, from memory.
handheld_add_fuzzer(sound_image SOURCES ${CMAKE_CURRENT_LIST_DIR}/sound_image.cpp LIBS pinnotes_notewindow)
handheld_warnings(fuzz_sound_image)
