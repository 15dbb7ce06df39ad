# Cross-compiling the Windows deliverables for i686 (32-bit Office) with MinGW-w64 on Linux:
#   cmake -S . -B build/mingw-i686 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
# The POSIX thread model of the compilers provides the full C++ thread library (std::mutex,
# std::call_once); with -static its runtime is linked into the binaries.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ARMOCALC_MINGW_TRIPLET i686-w64-mingw32)

find_program(ARMOCALC_MINGW_CXX NAMES i686-w64-mingw32-g++-posix i686-w64-mingw32-g++ REQUIRED)
find_program(ARMOCALC_MINGW_CC NAMES i686-w64-mingw32-gcc-posix i686-w64-mingw32-gcc REQUIRED)
set(CMAKE_CXX_COMPILER ${ARMOCALC_MINGW_CXX})
set(CMAKE_C_COMPILER ${ARMOCALC_MINGW_CC})
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

# SSE2 arithmetic instead of the x87 unit: doubles are rounded to 64 bits after every operation,
# so the results agree bit for bit with the 64-bit and the Linux builds.
# No hot/cold splitting of functions: GCC emits an empty cold part of a function as an unwind
# entry of length 0 at the address where the next cold part starts, and the unwinder of this
# target (DWARF tables, sorted by start address) may then miss the real entry, so that an
# exception passing that function ends the program in std::terminate.
set(ARMOCALC_MINGW_FLAGS "-msse2 -mfpmath=sse -fno-reorder-blocks-and-partition")

set(CMAKE_CXX_FLAGS_INIT "${ARMOCALC_MINGW_FLAGS}")
set(CMAKE_C_FLAGS_INIT "${ARMOCALC_MINGW_FLAGS}")

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
