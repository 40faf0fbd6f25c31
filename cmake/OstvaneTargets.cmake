# Helpers shared by the layer folders. Sources are collected per folder, so a
# new file needs no edit here; CONFIGURE_DEPENDS re-runs the glob on build.

# ostvane_layer(NAME DIR [WHOLE_ARCHIVE] [DEPS targets...])
# A static library of every .cpp directly in DIR, public include root at the
# repository top, so includes read "gfx/Bitmap.h". WHOLE_ARCHIVE links every
# object of the library into whatever uses it, for layers that register
# their classes from static initializers (NAME is then an interface target
# over the archive NAME_archive).
function(ostvane_layer name dir)
  cmake_parse_arguments(ARG "WHOLE_ARCHIVE" "" "DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    # An empty layer still exists so that the targets above it can link.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  set(archive ${name})
  if(ARG_WHOLE_ARCHIVE)
    set(archive ${name}_archive)
  endif()
  add_library(${archive} STATIC ${sources})
  target_include_directories(${archive} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${archive} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  if(ARG_WHOLE_ARCHIVE)
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${archive}>")
  endif()
endfunction()

# ostvane_tests(NAME DIR LABELS labels... DEPS targets...)
# One GoogleTest executable of every .cpp in DIR, each test registered with
# CTest under the given labels.
function(ostvane_tests name dir)
  cmake_parse_arguments(ARG "" "" "LABELS;DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(WIN32)
    # Tests that fork, limit resources or mount file systems exercise POSIX
    # process behaviour that Windows does not have; they run on Linux only.
    foreach(source ${sources})
      file(STRINGS ${source} posix_only REGEX "#include <sys/(wait|resource|mount)\\.h>")
      if(posix_only)
        list(REMOVE_ITEM sources ${source})
        file(RELATIVE_PATH file ${PROJECT_SOURCE_DIR} ${source})
        message(STATUS "Linux-only tests left out: ${file}")
      endif()
    endforeach()
  endif()
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    OSTVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    OSTVANE_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
    # A test that waits for input that never comes must fail, not stall CI.
    PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT 180
    DISCOVERY_TIMEOUT 60)
endfunction()
