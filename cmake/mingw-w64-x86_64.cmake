# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers.
#
# The posix-thread variant gives std::thread and std::mutex. Everything is
# linked statically (libstdc++, libgcc, winpthread), so each .exe needs only
# the system DLLs and runs alone, on Windows and under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest (and GoogleTest's test discovery) start the Windows programs through
# Wine, in the project's own prefix and a zh_CN (code page 936) locale.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    cmake_path(SET CMAKE_CROSSCOMPILING_EMULATOR NORMALIZE "${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run")
endif()
