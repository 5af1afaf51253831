# Every device program or library says where it lives on the device; the device server
# lays out its image from the manifest written here (one line per entry).
#   handheld_device_link(<target> "\\Windows\\shell.exe")    the build output, linked
#   handheld_device_file(<source file> "\\Windows\\Pinnotes.htm")  a data file, copied
set_property(GLOBAL PROPERTY HANDHELD_IMAGE_LINES "")

function(handheld_device_link target device_path)
  set_property(GLOBAL APPEND PROPERTY HANDHELD_IMAGE_LINES "link\t${device_path}\t$<TARGET_FILE:${target}>")
endfunction()

function(handheld_device_file source device_path)
  get_filename_component(abs "${source}" ABSOLUTE)
  set_property(GLOBAL APPEND PROPERTY HANDHELD_IMAGE_LINES "copy\t${device_path}\t${abs}")
endfunction()

function(handheld_write_image_manifest)
  get_property(lines GLOBAL PROPERTY HANDHELD_IMAGE_LINES)
  list(JOIN lines "\n" body)
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/share/handheld/image.manifest CONTENT "${body}\n")
endfunction()

function(_handheld_device_file_name device_path out)
  string(REGEX REPLACE ".*[\\\\]" "" name "${device_path}")
  string(REGEX REPLACE "\\.[^.]*$" "" stem "${name}")
  string(REGEX MATCH "\\.[^.]*$" suffix "${name}")
  set(${out}_STEM "${stem}" PARENT_SCOPE)
  set(${out}_SUFFIX "${suffix}" PARENT_SCOPE)
endfunction()

# A device program: an executable linked with the platform, placed in the device image.
#   handheld_add_program(<target> "\\Windows\\shell.exe" sources...)
function(handheld_add_program target device_path)
  add_executable(${target} ${ARGN})
  target_link_libraries(${target} PRIVATE handheld_winmain handheld)
  _handheld_device_file_name("${device_path}" file)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME "${file_STEM}" SUFFIX "${file_SUFFIX}")
  handheld_device_link(${target} "${device_path}")
endfunction()

# A device library loaded with LoadLibraryW, placed in the device image.
#   handheld_add_device_library(<target> "\\Windows\\InkX.dll" sources...)
function(handheld_add_device_library target device_path)
  add_library(${target} MODULE ${ARGN})
  target_link_libraries(${target} PRIVATE handheld)
  _handheld_device_file_name("${device_path}" file)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME "${file_STEM}" PREFIX "" SUFFIX "${file_SUFFIX}")
  handheld_device_link(${target} "${device_path}")
endfunction()
