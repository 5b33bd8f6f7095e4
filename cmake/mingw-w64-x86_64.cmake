# Cross-builds the Windows programs on Debian with mingw-w64; the test programs run under Wine.
#
#     cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELT_MINGW_PREFIX x86_64-w64-mingw32)
# The posix thread model: std::thread and std::mutex work as on Linux.
set(CMAKE_C_COMPILER ${VELT_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELT_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VELT_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime is linked in, so the .exe files need no DLL beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(VELT_WINE wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VELT_WINE})

# GCC 12 warns of overlapping copies inside std::string's operator+ at -O3 (a known false
# positive, GCC bug 105329), which -Werror would turn into a failed build.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
