# The command armocalc.exe, cross-compiled with MinGW-w64 and linked statically, so that it needs
# nothing but the .exe and DLLs of the system. The JSON library is header-only: its headers are
# copied into a folder of their own, since /usr/include itself would shadow the Windows headers.
include_guard(GLOBAL)

find_path(ARMOCALC_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH)
if(NOT ARMOCALC_JSON_INCLUDE)
  message(WARNING "nlohmann/json.hpp not found (nlohmann-json3-dev): armocalc.exe is not built")
  return()
endif()
set(armocalc_json_only ${CMAKE_BINARY_DIR}/json-headers)
file(COPY ${ARMOCALC_JSON_INCLUDE}/nlohmann DESTINATION ${armocalc_json_only})

file(GLOB armocalc_cli_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cli/*.cpp)
add_executable(armocalc_cli ${armocalc_cli_sources})
set_target_properties(armocalc_cli PROPERTIES OUTPUT_NAME armocalc)
target_include_directories(armocalc_cli PRIVATE ${armocalc_json_only})
target_compile_definitions(armocalc_cli PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN
                                                _WIN32_WINNT=0x0601)
target_link_libraries(armocalc_cli PRIVATE armocalc_interface shell32)
target_link_options(armocalc_cli PRIVATE -static -static-libgcc -static-libstdc++
                    $<$<CONFIG:Release,MinSizeRel>:-s>)
