# Helpers that keep each folder's CMakeLists short. Sources are globbed per folder, or
# with RECURSE through the folder's sub-folders; a ui/ subfolder is never pulled into a
# core library.

# tvr_use_pch(<target> <header in cmake/pch>...)
# Precompiles the given headers for the target. With a precompiled header, g++ 12 inlines
# std::string copies differently and then reports out-of-bounds copies, overflows and overreads
# inside <bits/char_traits.h> that it does not report for the same sources without one
# (its known false positives on std::string at -O2: the sources build clean without a
# precompiled header), so those three warnings are off for these targets only.
# The first target of each set of headers compiles them; the others reuse its result, as
# each one is a few hundred megabytes (-Winvalid-pch would tell if one did not fit).
function(tvr_use_pch target)
  if(NOT TVR_USE_PCH)
    return()
  endif()
  string(REPLACE ";" "+" _set "${ARGN}")
  get_property(_holder GLOBAL PROPERTY TVR_PCH_HOLDER_${_set})
  if(_holder)
    target_precompile_headers(${target} REUSE_FROM ${_holder})
  else()
    set_property(GLOBAL PROPERTY TVR_PCH_HOLDER_${_set} ${target})
    foreach(_header IN LISTS ARGN)
      target_precompile_headers(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/pch/${_header})
    endforeach()
  endif()
  target_compile_options(${target} PRIVATE -Wno-array-bounds -Wno-stringop-overflow -Wno-stringop-overread)
endfunction()

# tvr_core_library(<name> [RECURSE] [DEPS <targets>...])
# A library of the core: standard C++ only, never linked with Qt.
function(tvr_core_library name)
  cmake_parse_arguments(ARG "RECURSE" "" "DEPS" ${ARGN})
  if(ARG_RECURSE)
    file(GLOB_RECURSE _sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    list(FILTER _sources EXCLUDE REGEX "/ui/")
  else()
    file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  if(NOT _sources)
    # A folder that so far holds only headers.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${_sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# tvr_ui_library(<name> [DEPS <targets>...])
# A library of windows: Qt 6 Widgets on top of the core.
function(tvr_ui_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  # The program's main() is built into the program only, never into a library that
  # test programs link.
  list(FILTER _sources EXCLUDE REGEX "/main\\.cpp$")
  add_library(${name} STATIC ${_sources})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} Qt6::Widgets Qt6::PrintSupport Qt6::Network)
  tvr_use_pch(${name} qt_widgets.h)
endfunction()

# tvr_add_test(<name> SOURCES <files>... LIBS <targets>...)
# One GoogleTest program; its cases are listed to CTest at test time. Every test program
# gets the shared helpers of tests/support/ (temporary folders, environment guards, golden
# files, case tables).
function(tvr_add_test name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/temp_folder.cpp
                 ${PROJECT_SOURCE_DIR}/tests/support/golden_file.cpp
                 ${PROJECT_SOURCE_DIR}/tests/support/case_table.cpp
                 ${PROJECT_SOURCE_DIR}/tests/support/command_output.cpp
                 ${PROJECT_SOURCE_DIR}/tests/support/environment_guard.cpp)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    TVR_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    TVR_PROGRAM_DIR="${TVR_PROGRAM_DIR}"
    TVR_TEST_OUTPUT_DIR="${CMAKE_BINARY_DIR}/test-output")
  if(ARG_QT)
    # Window tests may run the real program (the end-to-end tests).
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/program_run.cpp)
    tvr_use_pch(${name} gtest.h qt_widgets.h)
  else()
    tvr_use_pch(${name} gtest.h)
  endif()
  set(_env "LC_ALL=C.UTF-8")
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    list(APPEND _env "QT_QPA_PLATFORM=offscreen")
  endif()
  # Labelled with their program, so that a run can pick the tests of some areas.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES
                       PROPERTIES ENVIRONMENT "${_env}" LABELS ${name})
endfunction()

# tvr_add_area_tests(<name> LIBS <targets>... [QT] [RECURSE])
# One test program of every *_test.cpp in the calling folder (with RECURSE, in its
# sub-folders too, ui/ apart).
function(tvr_add_area_tests name)
  cmake_parse_arguments(ARG "QT;RECURSE" "" "LIBS" ${ARGN})
  if(ARG_RECURSE)
    file(GLOB_RECURSE _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp
         ${CMAKE_CURRENT_SOURCE_DIR}/*_support.cpp)
    list(FILTER _tests EXCLUDE REGEX "/ui/")
  else()
    file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*_support.cpp)
  endif()
  if(NOT _tests)
    return()
  endif()
  if(ARG_QT)
    tvr_add_test(${name} QT SOURCES ${_tests} ${PROJECT_SOURCE_DIR}/tests/support/qt_application_support.cpp
                 ${PROJECT_SOURCE_DIR}/tests/support/language_walk.cpp LIBS ${ARG_LIBS})
  else()
    tvr_add_test(${name} SOURCES ${_tests} LIBS ${ARG_LIBS})
  endif()
endfunction()

# tvr_add_bench(<name> SOURCES <files>... LIBS <targets>...)
function(tvr_add_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()
