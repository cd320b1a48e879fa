set(CMAKE_C_COMPILER ${LAUNCHER_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LAUNCHER_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${LAUNCHER_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${LAUNCHER_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# A template must run on a bare Windows: no libstdc++, libgcc or winpthread DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Every Windows executable of the build (unit tests included) runs under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
