# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 compilers (the
# POSIX thread model, which std::thread and std::mutex need).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(DRIFTGLOW_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${DRIFTGLOW_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DRIFTGLOW_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${DRIFTGLOW_MINGW_PREFIX}-windres)
set(CMAKE_AR ${DRIFTGLOW_MINGW_PREFIX}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${DRIFTGLOW_MINGW_PREFIX}-gcc-ranlib-posix CACHE FILEPATH "")

# Libraries and headers come from the MinGW sysroot and the folder given in
# DRIFTGLOW_WINDOWS_DEPS (the cross-built third-party libraries); programs
# from the host.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES DRIFTGLOW_WINDOWS_DEPS)
set(CMAKE_FIND_ROOT_PATH /usr/${DRIFTGLOW_MINGW_PREFIX} ${DRIFTGLOW_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs run without MinGW's runtime DLLs beside them: everything is linked
# statically but the system's own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
