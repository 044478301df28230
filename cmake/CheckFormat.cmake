# Fails when a C++ file under src/, tests/, bench/ or tools/ differs from what
# clang-format (.clang-format at the root) makes of it. The check is skipped (it says
# "format check skipped") until the tree has been formatted once and
# .clang-format-enforced exists at the root, and where clang-format is not installed.
# Usage: cmake -DSOURCE_DIR=<root> -P CheckFormat.cmake
if(NOT EXISTS ${SOURCE_DIR}/.clang-format-enforced)
  message("format check skipped: not enforced yet (scripts/format.sh formats the tree and enables it)")
  return()
endif()
find_program(CLANG_FORMAT NAMES clang-format clang-format-14)
if(NOT CLANG_FORMAT)
  message("format check skipped: clang-format is not installed")
  return()
endif()
set(files)
foreach(folder src tests bench tools)
  file(GLOB_RECURSE found ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
  list(APPEND files ${found})
endforeach()
list(LENGTH files count)
set(unformatted 0)
# In slices, so that no command line grows too long.
set(start 0)
while(start LESS count)
  list(SUBLIST files ${start} 50 slice)
  execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${slice}
                  WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    set(unformatted 1)
  endif()
  math(EXPR start "${start} + 50")
endwhile()
if(unformatted)
  message(FATAL_ERROR "files above are not formatted: run scripts/format.sh")
endif()
message("${count} files formatted")
