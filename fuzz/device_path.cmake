# The device path resolver: no input may crash it or lead outside the device root.
handheld_add_fuzzer(device_path SOURCES ${CMAKE_CURRENT_LIST_DIR}/device_path.cpp
  LIBS handheld_internal)
handheld_warnings(fuzz_device_path)
