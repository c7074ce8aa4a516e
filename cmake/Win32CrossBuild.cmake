# The 32-bit Windows build of every unit, driven from the host build.
#
# With -DFMU_BUILD_WIN32=ON the host build also configures and builds the cross build in
# FMU_WIN32_DIR (toolchain cmake/mingw-w64-i686.cmake), packs each <Name>.dll into
# fmus/<Name>.fmu beside the host library, and includes the cross build's tests, run under
# wine, in its own CTest run. The host build also writes the model descriptions that the
# cross-built tests read (they have no XML library), so the cross build is always driven
# from it.
#
# Not every host can run 32-bit x86 programs (some kernels and sandboxes run 64-bit user
# code only), so no cross-built test runs at build time: each build runs the cross build's
# smallest program once (cmake/win32-probe) and keeps the verdict in win32-verdict.txt.
# CTest reads it again, probing anew if wine or the packages changed since: where the
# programs run it runs every cross-built case, where they cannot it reports one skipped
# test, "win32:suite", with the reason, and where the probe itself failed that test fails
# (the build goes on, so that the rest of the suite still runs).

option(FMU_BUILD_WIN32 "Also cross-build the units for win32 and package the DLLs" OFF)
set(FMU_WIN32_DIR ${CMAKE_BINARY_DIR}/win32 CACHE PATH "Binary folder of the win32 cross build")
set(FMU_UNIT_DESCRIPTIONS_DIR ${CMAKE_BINARY_DIR}/unit_descriptions CACHE PATH
  "Folder of the model descriptions written for the cross-built tests")
# The cross build's smallest program, the script that runs it, and where the host build
# keeps whether it runs here; the runner and wine prefix of the cross-built programs (the
# prefix is the one the toolchain file gives them).
set(FMU_WIN32_PROBE ${FMU_WIN32_DIR}/win32_probe.exe)
set(FMU_WIN32_PROBE_SCRIPT ${PROJECT_SOURCE_DIR}/cmake/win32-probe)
set(FMU_WIN32_VERDICT ${CMAKE_BINARY_DIR}/win32-verdict.txt)
set(FMU_WIN32_RUNNER ${PROJECT_SOURCE_DIR}/cmake/wine-run)
set(FMU_WIN32_PREFIX ${FMU_WIN32_DIR}/wine)
# FMU_WIN32_ACTIVE: this is a host build that drives the cross build.
set(FMU_WIN32_ACTIVE OFF)
if(FMU_BUILD_WIN32 AND NOT CMAKE_CROSSCOMPILING)
  set(FMU_WIN32_ACTIVE ON)
endif()

# The cross-built library of unit <name> as its package carries it (stripped), when there
# is one.
function(fmu_win32_library name out)
  if(FMU_WIN32_ACTIVE)
    set(${out} ${FMU_WIN32_DIR}/units/stripped/${name}.dll PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

# Called once every unit is registered. In the host build: adds the cross build for the
# same units. In the cross build: checks that it has the units the host build expects.
function(fmu_win32_cross_build)
  get_property(units GLOBAL PROPERTY FMU_UNITS)
  string(REPLACE ";" "," unit_list "${units}")

  if(CMAKE_CROSSCOMPILING)
    if(DEFINED FMU_EXPECTED_UNITS AND NOT FMU_EXPECTED_UNITS STREQUAL unit_list)
      message(FATAL_ERROR "cross build has units '${unit_list}', host build '${FMU_EXPECTED_UNITS}'")
    endif()
    return()
  endif()
  if(NOT FMU_WIN32_ACTIVE)
    return()
  endif()

  set(byproducts "")
  foreach(unit ${units})
    fmu_win32_library(${unit} dll)
    list(APPEND byproducts ${dll})
  endforeach()
  # Without the tests the host writes no descriptions for them, and the cross build needs none.
  set(descriptions_step "")
  if(BUILD_TESTING)
    set(descriptions_step DEPENDS unit_descriptions)
    list(APPEND byproducts ${FMU_WIN32_PROBE})
  endif()

  include(ExternalProject)
  # The unit list is passed so that a new unit reconfigures the cross build.
  ExternalProject_Add(fmu_win32_build
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${FMU_WIN32_DIR}
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-i686.cmake
      -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
      -DFMU_EXPECTED_UNITS=${unit_list}
      -DFMU_UNIT_DESCRIPTIONS_DIR=${FMU_UNIT_DESCRIPTIONS_DIR}
      -DBUILD_TESTING=${BUILD_TESTING}
    ${descriptions_step}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${byproducts})

  if(NOT BUILD_TESTING)
    return()
  endif()
  add_custom_target(fmu_win32_probe ALL
    COMMAND ${FMU_WIN32_PROBE_SCRIPT} ${FMU_WIN32_VERDICT} ${FMU_WIN32_PROBE} ${FMU_WIN32_PREFIX}
    VERBATIM)
  add_dependencies(fmu_win32_probe fmu_win32_build)

  # ctest in the host build also runs the cross build's tests (named "win32:...").
  configure_file(${PROJECT_SOURCE_DIR}/cmake/win32_tests.cmake.in
    ${CMAKE_BINARY_DIR}/win32_tests.cmake @ONLY)
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY TEST_INCLUDE_FILES
    ${CMAKE_BINARY_DIR}/win32_tests.cmake)
endfunction()
