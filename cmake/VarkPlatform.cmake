# One source tree, two platforms. Platform-specific implementation files live
# in a sub-folder named after their platform inside the facility's folder
# (platform/os/linux/, platform/os/windows/, platform/graphics/text/linux/, ...);
# platform/backend/sdl is the Linux backend and platform/backend/windows the
# Windows one. Everything else is shared. Tests follow the same rule
# (tests/platform/os/linux/, tests/platform/os/windows/).
#
# A facility exists on a platform once its implementation folder holds a
# source file. Test binaries and programs name the facilities they need and
# are built only where all of them exist, so a platform gains them as its
# facilities land.
if(WIN32)
  set(VARK_PLATFORM windows)
  set(vark_foreign_folders linux sdl)
  set(vark_backend_folder windows)
  # The Windows 10 API, and no min/max macros from the system headers.
  add_compile_definitions(_WIN32_WINNT=0x0A00 WINVER=0x0A00 NTDDI_VERSION=0x0A000000 NOMINMAX
                          WIN32_LEAN_AND_MEAN)
  if(CMAKE_CROSSCOMPILING)
    # CTest runs the Windows programs under Wine, in a prefix of this tree's own.
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh
        ${CMAKE_BINARY_DIR}/wine)
  endif()
else()
  set(VARK_PLATFORM linux)
  set(vark_foreign_folders windows)
  set(vark_backend_folder sdl)
endif()

# facility = the folder (below the source root) that holds its platform part.
set(vark_facility_folders
  os=platform/os/${VARK_PLATFORM}
  text=platform/graphics/text/${VARK_PLATFORM}
  pictures=platform/graphics/${VARK_PLATFORM}
  windowing=platform/backend/${vark_backend_folder})

# Sets out to TRUE when every named facility exists on this platform.
function(vark_facilities_exist out)
  set(result TRUE)
  foreach(wanted IN LISTS ARGN)
    set(known FALSE)
    foreach(pair IN LISTS vark_facility_folders)
      string(REPLACE "=" ";" parts ${pair})
      list(GET parts 0 name)
      list(GET parts 1 folder)
      if(name STREQUAL wanted)
        set(known TRUE)
        file(GLOB present CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
        if(NOT present)
          set(result FALSE)
        endif()
      endif()
    endforeach()
    if(NOT known)
      message(FATAL_ERROR "No facility named ${wanted}")
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# Every facility: the program and the tools need them all.
set(VARK_ALL_FACILITIES os text pictures windowing)

# Drops the files of the other platform from a list of absolute paths. Only
# the part below the source root is looked at, wherever the tree lies.
function(vark_platform_filter var)
  set(kept)
  foreach(file IN LISTS ${var})
    file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR} ${file})
    set(foreign FALSE)
    foreach(folder IN LISTS vark_foreign_folders)
      if(relative MATCHES "(^|/)${folder}/")
        set(foreign TRUE)
      endif()
    endforeach()
    if(NOT foreign)
      list(APPEND kept ${file})
    endif()
  endforeach()
  set(${var} ${kept} PARENT_SCOPE)
endfunction()
