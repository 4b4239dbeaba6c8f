# Helpers shared by every folder of the build.

# kestrane_library(<name> SOURCES ... DEPS ...): the static library of one src/ folder.
function(kestrane_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(kestrane_${name} STATIC ${ARG_SOURCES})
  target_include_directories(kestrane_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/include)
  target_link_libraries(kestrane_${name} PUBLIC ${ARG_DEPS})
endfunction()

# kestrane_test(<name> SOURCES ... DEPS ... [LABELS ...]): one QtTest executable registered
# with CTest. GUI tests run on the offscreen platform with the project's font mapping.
set(KESTRANE_TEST_ENV
  QT_QPA_PLATFORM=offscreen
  FONTCONFIG_FILE=${PROJECT_SOURCE_DIR}/config/fonts.conf
  KESTRANE_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data
  KESTRANE_BUILD_DIR=${PROJECT_BINARY_DIR})
function(kestrane_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;DEPS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} Qt6::Test)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${KESTRANE_TEST_ENV}"
    TIMEOUT ${ARG_TIMEOUT} LABELS "${ARG_LABELS}")
endfunction()

# Adds every immediate subfolder of the current folder that has a CMakeLists.txt and that
# KESTRANE_ONLY lets in (tests/, bench/ and fuzz/ mirror the source folders this way).
function(kestrane_add_subfolders)
  file(GLOB dirs LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(dir IN LISTS dirs)
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${dir} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      kestrane_wanted(${dir} wanted)
      if(wanted)
        add_subdirectory(${dir})
      endif()
    endif()
  endforeach()
endfunction()
