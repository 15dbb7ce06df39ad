# Windows deliverables, built with the MinGW-w64 cross compilers (see cmake/mingw-*.cmake).
include(${CMAKE_SOURCE_DIR}/cmake/windows_server.cmake OPTIONAL)
include(${CMAKE_SOURCE_DIR}/cmake/windows_setup.cmake OPTIONAL)
include(${CMAKE_SOURCE_DIR}/cmake/windows_cli.cmake OPTIONAL)
