# Cross build for 64-bit Windows with Debian's mingw-w64 (the posix thread
# model, so std::thread and std::mutex work). A 32-bit build is this file with
# i686-w64-mingw32 in place of x86_64-w64-mingw32.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(LIRABOX_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${LIRABOX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LIRABOX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${LIRABOX_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LIRABOX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The test programs run under Wine (ctest starts them through this launcher).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/with-wine.sh)

# Everything links the C and C++ runtimes statically: only our own DLLs ship
# beside the programs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
