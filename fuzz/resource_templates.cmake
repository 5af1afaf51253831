# The template decoders libhandheld applies to module resources.
handheld_add_fuzzer(resource_templates SOURCES ${CMAKE_CURRENT_LIST_DIR}/resource_templates.cpp
  LIBS handheld_internal)
handheld_warnings(fuzz_resource_templates)
