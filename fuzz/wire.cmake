# The device protocol's decoder, as the server and every client run it on what they receive.
handheld_add_fuzzer(wire SOURCES ${CMAKE_CURRENT_LIST_DIR}/wire.cpp LIBS handheld_internal)
handheld_warnings(fuzz_wire)
