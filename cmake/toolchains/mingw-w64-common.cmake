# SPDX-License-Identifier: MIT
# What both mingw-w64 toolchains share. The posix thread model comes first: GoogleTest needs
# its std::mutex, which GCC 12 has only there. The program itself uses no std::thread.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${MASKORA_MINGW_TRIPLET})

foreach(model posix win32)
  find_program(MASKORA_MINGW_CXX NAMES ${MASKORA_MINGW_TRIPLET}-g++-${model})
  find_program(MASKORA_MINGW_CC NAMES ${MASKORA_MINGW_TRIPLET}-gcc-${model})
endforeach()
find_program(MASKORA_MINGW_CXX NAMES ${MASKORA_MINGW_TRIPLET}-g++ REQUIRED)
find_program(MASKORA_MINGW_CC NAMES ${MASKORA_MINGW_TRIPLET}-gcc REQUIRED)
set(CMAKE_CXX_COMPILER ${MASKORA_MINGW_CXX})
set(CMAKE_C_COMPILER ${MASKORA_MINGW_CC})
set(CMAKE_RC_COMPILER ${MASKORA_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MASKORA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One file to hand over: no libstdc++ or libgcc DLLs beside the executable.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--gc-sections")
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_C_FLAGS_INIT "-ffunction-sections -fdata-sections")
# MinSizeRel is the build to ship (-Os); optimised builds leave out the symbols.
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL_INIT "-s")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

# Test programs run under Wine when it is there.
find_program(MASKORA_WINE NAMES wine wine64)
if(MASKORA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MASKORA_WINE})
endif()
