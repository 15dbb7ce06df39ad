# The installer SetupKelvorVBA.exe (a GUI program with a silent mode) and the small programs that
# its Wine verification drives (setup/tests/run.sh). Windows builds only.
include_guard(GLOBAL)
if(NOT WIN32 OR NOT TARGET armocalc_setup)
  return()
endif()

set(ARMOCALC_SETUP_DEFINITIONS UNICODE _UNICODE _WIN32_WINNT=0x0601 WINVER=0x0601)

# The manifest (administrator rights, common controls) and the version block. windres is run
# directly: the project's compile options are meant for the C++ compiler only.
if(CMAKE_RC_COMPILER)
  set(armocalc_windres ${CMAKE_RC_COMPILER})
else()
  find_program(armocalc_windres NAMES ${ARMOCALC_MINGW_TRIPLET}-windres windres REQUIRED)
endif()
set(setup_resource_dir ${CMAKE_SOURCE_DIR}/setup/windows)
set(setup_resource ${CMAKE_BINARY_DIR}/SetupKelvorVBA.res.o)
add_custom_command(
  OUTPUT ${setup_resource}
  COMMAND ${armocalc_windres} -I ${setup_resource_dir} -O coff
          -i ${setup_resource_dir}/SetupKelvorVBA.rc -o ${setup_resource}
  DEPENDS ${setup_resource_dir}/SetupKelvorVBA.rc ${setup_resource_dir}/SetupKelvorVBA.manifest
  COMMENT "Compiling the installer's resources")
set_source_files_properties(${setup_resource} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)

file(GLOB setup_windows_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/setup/windows/*.cpp)
add_executable(SetupKelvorVBA WIN32 ${setup_windows_sources} ${setup_resource})
target_compile_definitions(SetupKelvorVBA PRIVATE ${ARMOCALC_SETUP_DEFINITIONS})
target_link_libraries(SetupKelvorVBA PRIVATE armocalc_setup user32 gdi32 advapi32 shell32 comctl32)
target_link_options(SetupKelvorVBA PRIVATE -municode -static)

# Test programs: a window with a given title, a remote control for the dialog, and a client
# that creates the installed class from its identifier.
add_executable(setup_probe ${CMAKE_SOURCE_DIR}/setup/tests/probe.cpp)
target_compile_definitions(setup_probe PRIVATE ${ARMOCALC_SETUP_DEFINITIONS})
target_link_libraries(setup_probe PRIVATE user32 gdi32)
target_link_options(setup_probe PRIVATE -municode -static)

add_executable(setup_com_client ${CMAKE_SOURCE_DIR}/setup/tests/com_client.cpp)
target_include_directories(setup_com_client PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(setup_com_client PRIVATE ${ARMOCALC_SETUP_DEFINITIONS})
target_link_libraries(setup_com_client PRIVATE ole32 oleaut32 uuid)
target_link_options(setup_com_client PRIVATE -municode -static)
