# Cross build for 32-bit Windows with Debian's MinGW-w64 i686 compilers, driven by the host
# build (cmake -B build -DFMU_BUILD_WIN32=ON; see Win32CrossBuild.cmake).
# Prefers the posix thread model and falls back to the win32 one; either way every
# runtime is linked statically (see the root CMakeLists).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(FMU_MINGW_TRIPLE i686-w64-mingw32)
foreach(flavour posix win32)
  find_program(FMU_MINGW_CXX ${FMU_MINGW_TRIPLE}-g++-${flavour})
  find_program(FMU_MINGW_CC ${FMU_MINGW_TRIPLE}-gcc-${flavour})
endforeach()
if(NOT FMU_MINGW_CXX OR NOT FMU_MINGW_CC)
  message(FATAL_ERROR "no ${FMU_MINGW_TRIPLE} compiler found: install g++-mingw-w64-i686-posix")
endif()
set(CMAKE_C_COMPILER ${FMU_MINGW_CC})
set(CMAKE_CXX_COMPILER ${FMU_MINGW_CXX})
find_program(CMAKE_RC_COMPILER ${FMU_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${FMU_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test executables run under wine, in a prefix of the build tree's own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run ${CMAKE_BINARY_DIR}/wine)
