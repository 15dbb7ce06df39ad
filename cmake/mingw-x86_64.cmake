# Cross-compiling the Windows deliverables for x86_64 (64-bit Office) with MinGW-w64 on Linux:
#   cmake -S . -B build/mingw-x86_64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
# The POSIX thread model of the compilers provides the full C++ thread library (std::mutex,
# std::call_once); with -static its runtime is linked into the binaries.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ARMOCALC_MINGW_TRIPLET x86_64-w64-mingw32)

find_program(ARMOCALC_MINGW_CXX NAMES x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++ REQUIRED)
find_program(ARMOCALC_MINGW_CC NAMES x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-gcc REQUIRED)
set(CMAKE_CXX_COMPILER ${ARMOCALC_MINGW_CXX})
set(CMAKE_C_COMPILER ${ARMOCALC_MINGW_CC})
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(ARMOCALC_MINGW_FLAGS "")

set(CMAKE_CXX_FLAGS_INIT "${ARMOCALC_MINGW_FLAGS}")
set(CMAKE_C_FLAGS_INIT "${ARMOCALC_MINGW_FLAGS}")

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
