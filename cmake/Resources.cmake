# Resources and exports of device programs and libraries, compiled by handheld-rc.
#
#   handheld_add_resources(<target> <script.rc>)
#     Compiles the script (with the target's include folders and platform/include, so that
#     `#include <windows.h>` works) into the module's resource table and adds it to the
#     target. The depfile keeps the table current with the script, its headers and the files
#     it embeds. An executable exports the table's symbol so that libhandheld finds it.
#
#   handheld_add_exports(<target> <file.def>)
#     Generates the table GetProcAddressW consults for MAKEINTRESOURCE(ordinal) from the
#     EXPORTS section; the link fails when an exported name is not defined.

function(_handheld_generated_table_source target source)
  target_sources(${target} PRIVATE ${source})
  # The generated file includes the table layout from libhandheld's internal headers.
  set_source_files_properties(${source} PROPERTIES
    INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR}/platform/core)
endfunction()

function(handheld_add_resources target script)
  get_filename_component(script_path "${script}" ABSOLUTE)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  set(depfile ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.d)
  set(includes "$<TARGET_PROPERTY:${target},INCLUDE_DIRECTORIES>")
  add_custom_command(
    OUTPUT ${output}
    COMMAND handheld-rc
            -I ${CMAKE_SOURCE_DIR}/platform/include
            "$<$<BOOL:${includes}>:-I$<JOIN:${includes},;-I>>"
            --depfile ${depfile} -o ${output} ${script_path}
    MAIN_DEPENDENCY ${script_path}
    DEPENDS handheld-rc
    DEPFILE ${depfile}
    COMMENT "Compiling resources ${script}"
    COMMAND_EXPAND_LISTS
    VERBATIM)
  _handheld_generated_table_source(${target} ${output})
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_link_options(${target} PRIVATE "LINKER:--export-dynamic-symbol=handheld_module_resources")
  endif()
endfunction()

function(handheld_add_exports target def_file)
  get_filename_component(def_path "${def_file}" ABSOLUTE)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_exports.cpp)
  set(link_options ${CMAKE_CURRENT_BINARY_DIR}/${target}_exports.rsp)
  add_custom_command(
    OUTPUT ${output} ${link_options}
    COMMAND handheld-rc --exports ${def_path} -o ${output} --link-options ${link_options}
    MAIN_DEPENDENCY ${def_path}
    DEPENDS handheld-rc
    COMMENT "Generating exports of ${target} from ${def_file}"
    VERBATIM)
  _handheld_generated_table_source(${target} ${output})
  target_link_options(${target} PRIVATE "@${link_options}")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${link_options})
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_link_options(${target} PRIVATE "LINKER:--export-dynamic-symbol=handheld_module_exports")
  endif()
endfunction()
