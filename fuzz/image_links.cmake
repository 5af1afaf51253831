# The record of the device image's own links: a damaged record must never yield a link with
# an empty path or target, nor one whose path holds a separator of the record.
handheld_add_fuzzer(image_links SOURCES ${CMAKE_CURRENT_LIST_DIR}/image_links.cpp
  LIBS handheld_internal)
handheld_warnings(fuzz_image_links)
