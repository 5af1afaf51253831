# The device's WAV parser on any bytes a client could send as a sound.
handheld_add_fuzzer(wave SOURCES ${CMAKE_CURRENT_LIST_DIR}/wave.cpp LIBS handheld_device_core)
handheld_warnings(fuzz_wave)
