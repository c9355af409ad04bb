# The third-party libraries of the Windows build: static libraries made by
# scripts/windows-deps in DRIFTGLOW_WINDOWS_DEPS, given the same target names
# the Linux build gets from pkg-config, so the subsystem folders link them
# the same way on both systems.
if(NOT DRIFTGLOW_WINDOWS_DEPS OR NOT EXISTS ${DRIFTGLOW_WINDOWS_DEPS}/.complete)
  message(FATAL_ERROR "DRIFTGLOW_WINDOWS_DEPS must name the folder scripts/windows-deps prints")
endif()
set(deps ${DRIFTGLOW_WINDOWS_DEPS})

function(driftglow_windows_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "FILES;SYSTEM;DEPENDS")
  add_library(PkgConfig::${name} INTERFACE IMPORTED GLOBAL)
  set(files)
  foreach(file ${arg_FILES})
    list(APPEND files ${deps}/lib/${file})
  endforeach()
  set_target_properties(PkgConfig::${name} PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${deps}/include;${deps}/include/SDL2"
    INTERFACE_LINK_LIBRARIES "${files};${arg_DEPENDS};${arg_SYSTEM}")
endfunction()

driftglow_windows_library(SDL2 FILES libSDL2.a
  SYSTEM user32 gdi32 winmm imm32 ole32 oleaut32 version uuid advapi32 setupapi shell32 dinput8)
driftglow_windows_library(SDL2_IMAGE FILES libSDL2_image.a DEPENDS PkgConfig::SDL2)
driftglow_windows_library(SDL2_MIXER FILES libSDL2_mixer.a DEPENDS PkgConfig::SDL2)
if(EXISTS ${deps}/lib/libphysfs.a)
  driftglow_windows_library(PHYSFS FILES libphysfs.a SYSTEM advapi32 shell32)
endif()
# Windows has no X server; the code that needs one has a Windows counterpart.
add_library(PkgConfig::X11 INTERFACE IMPORTED GLOBAL)

set(ZLIB_ROOT ${deps})
set(GTest_DIR ${deps}/lib/cmake/GTest)
