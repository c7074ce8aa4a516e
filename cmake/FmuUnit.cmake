# Building and packaging one co-simulation unit.

# Code that ends up inside a unit: position independent, nothing visible but the fmi2*
# entry points, no exceptions or run-time type information to drag in.
function(fmu_unit_code_settings target)
  set_target_properties(${target} PROPERTIES
    POSITION_INDEPENDENT_CODE ON
    C_VISIBILITY_PRESET hidden
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  target_compile_definitions(${target} PRIVATE FMI2_BUILDING_UNIT)
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti -Wall -Wextra)
endfunction()

if(WIN32)
  set(FMU_PLATFORM win32)
elseif(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(FMU_PLATFORM linux64)
else()
  set(FMU_PLATFORM linux32)
endif()
set(FMU_PACKAGE_DIR ${CMAKE_BINARY_DIR}/fmus)

# add_fmu_unit(<Name> SOURCES <model sources> [OBJECTS <object libraries>])
#   <model>_model: a static library of the model and its binding, for tests and benchmarks
#   that call the model directly;
#   <Name>: the shared library, named after the model identifier;
#   <Name>_fmu: build/fmus/<Name>.fmu with modelDescription.xml at its root and the
#   library stripped (units/stripped/<Name>), installed under <prefix>/fmus.
function(add_fmu_unit name)
  cmake_parse_arguments(ARG "" "MODEL" "SOURCES;OBJECTS" ${ARGN})
  set(model ${ARG_MODEL})

  add_library(${model}_model STATIC ${ARG_SOURCES})
  fmu_unit_code_settings(${model}_model)
  target_include_directories(${model}_model PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${model}_model PUBLIC fmi2_adapter ${ARG_OBJECTS})

  set(objects $<TARGET_OBJECTS:fmi2_adapter>)
  foreach(lib ${ARG_OBJECTS})
    list(APPEND objects $<TARGET_OBJECTS:${lib}>)
  endforeach()
  add_library(${name} SHARED ${ARG_SOURCES} ${objects})
  fmu_unit_code_settings(${name})
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}
    $<TARGET_PROPERTY:fmi2_adapter,INTERFACE_INCLUDE_DIRECTORIES>)
  foreach(lib ${ARG_OBJECTS})
    target_include_directories(${name} PRIVATE $<TARGET_PROPERTY:${lib},INTERFACE_INCLUDE_DIRECTORIES>)
  endforeach()
  set_target_properties(${name} PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY
    ${CMAKE_BINARY_DIR}/units RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/units)
  if(NOT WIN32)
    target_link_libraries(${name} PRIVATE m)
    target_link_options(${name} PRIVATE
      -Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/exports.map)
    # Sanitized units leave the sanitizer runtime to the executable that loads them.
    if(NOT FMU_SANITIZE)
      target_link_options(${name} PRIVATE -Wl,--no-undefined)
    endif()
  endif()

  # The package carries the library stripped of its symbol table and debug information
  # (and with them the build machine's paths); the build folder keeps the full one.
  set(stripped ${CMAKE_BINARY_DIR}/units/stripped/${name}${CMAKE_SHARED_LIBRARY_SUFFIX})
  add_custom_command(
    OUTPUT ${stripped}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/units/stripped
    COMMAND ${CMAKE_STRIP} --strip-all -o ${stripped} $<TARGET_FILE:${name}>
    DEPENDS ${name}
    COMMENT "Stripping ${name}"
    VERBATIM)

  set(description ${CMAKE_CURRENT_SOURCE_DIR}/modelDescription.xml)
  set(stage ${CMAKE_BINARY_DIR}/fmu_stage/${name})
  set(package ${FMU_PACKAGE_DIR}/${name}.fmu)
  # With the cross build on, the package also carries binaries/win32/<Name>.dll.
  fmu_win32_library(${name} dll)
  set(win32_copy "")
  if(dll)
    set(win32_copy
      COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/binaries/win32
      COMMAND ${CMAKE_COMMAND} -E copy ${dll} ${stage}/binaries/win32/)
  endif()
  add_custom_command(
    OUTPUT ${package}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/binaries/${FMU_PLATFORM} ${FMU_PACKAGE_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${description} ${stage}/modelDescription.xml
    COMMAND ${CMAKE_COMMAND} -E copy ${stripped} ${stage}/binaries/${FMU_PLATFORM}/
    ${win32_copy}
    COMMAND ${CMAKE_COMMAND} -E chdir ${stage} ${CMAKE_COMMAND} -E tar cf ${package}
            --format=zip modelDescription.xml binaries
    DEPENDS ${stripped} ${description} ${dll}
    COMMENT "Packaging ${name}.fmu"
    VERBATIM)
  add_custom_target(${name}_fmu ALL DEPENDS ${package})
  if(dll)
    add_dependencies(${name}_fmu fmu_win32_build)
  endif()
  install(FILES ${package} DESTINATION fmus)

  set_property(GLOBAL APPEND PROPERTY FMU_UNITS ${name})
  set_property(GLOBAL PROPERTY FMU_UNIT_${name}_MODEL ${model})
  set_property(GLOBAL PROPERTY FMU_UNIT_${name}_DESCRIPTION ${description})
  set_property(GLOBAL PROPERTY FMU_UNIT_${name}_PACKAGED_LIBRARY ${stripped})
endfunction()
