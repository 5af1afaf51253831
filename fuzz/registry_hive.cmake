# The hive parser: no text may crash it or grow the store past its limits, and what it
# accepts must write back to the same hive.
handheld_add_fuzzer(registry_hive SOURCES ${CMAKE_CURRENT_LIST_DIR}/registry_hive.cpp
  LIBS handheld_registry)
handheld_warnings(fuzz_registry_hive)
