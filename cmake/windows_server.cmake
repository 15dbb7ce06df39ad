# The in-process automation server Armocalc.dll (class ClassBrige), cross-compiled with MinGW-w64
# and linked statically so that it needs only DLLs of the system. The type library is generated
# from the method table when the server registers itself (DllRegisterServer writes Armocalc.tlb
# beside the DLL and registers it).

include_guard(GLOBAL)

file(GLOB ARMOCALC_SERVER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/interface/windows/*.cpp)

set(ARMOCALC_WINDOWS_STATIC_LINK -static -static-libgcc -static-libstdc++)

add_library(armocalc_server SHARED ${ARMOCALC_SERVER_SOURCES}
                                   ${CMAKE_SOURCE_DIR}/interface/windows/Armocalc.def)
set_target_properties(armocalc_server PROPERTIES OUTPUT_NAME Armocalc PREFIX "" SUFFIX ".dll")
target_compile_definitions(armocalc_server PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN
                                                   _WIN32_WINNT=0x0601)
target_link_libraries(armocalc_server PRIVATE armocalc_interface oleaut32 ole32 uuid advapi32)
target_link_options(armocalc_server PRIVATE ${ARMOCALC_WINDOWS_STATIC_LINK} -Wl,--kill-at
                    -Wl,--enable-stdcall-fixup $<$<CONFIG:Release,MinSizeRel>:-s>)

# The native test client of the server (type library, class factory and unloading, v-table
# calls); run under Wine by interface/windows/tests/run.sh.
if(ARMOCALC_TESTS)
  file(GLOB ARMOCALC_SERVER_TEST_SOURCES CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/interface/windows/tests/*.cpp)
  if(ARMOCALC_SERVER_TEST_SOURCES)
    # The Range adapter is also checked on its own, so its sources are part of the client too.
    add_executable(armocalc_server_client ${ARMOCALC_SERVER_TEST_SOURCES}
                   ${CMAKE_SOURCE_DIR}/interface/windows/excel_range.cpp
                   ${CMAKE_SOURCE_DIR}/interface/windows/late_binding.cpp
                   ${CMAKE_SOURCE_DIR}/interface/windows/com_text.cpp)
    target_compile_definitions(armocalc_server_client PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN
                                                              _WIN32_WINNT=0x0601)
    target_link_libraries(armocalc_server_client PRIVATE armocalc_interface oleaut32 ole32 uuid
                                                         advapi32)
    target_link_options(armocalc_server_client PRIVATE ${ARMOCALC_WINDOWS_STATIC_LINK} -municode)
    add_dependencies(armocalc_server_client armocalc_server)
  endif()
endif()
