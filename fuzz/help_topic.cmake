# The help viewer's command line, link, text and topic readers, driven by any bytes.
handheld_add_fuzzer(help_topic SOURCES ${CMAKE_CURRENT_LIST_DIR}/help_topic.cpp LIBS peghelp_text PkgConfig::GUMBO)
handheld_warnings(fuzz_help_topic)
