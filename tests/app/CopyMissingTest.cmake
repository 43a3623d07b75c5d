# The shipped files are placed beside the program only where missing: a
# rebuild or reinstall must never overwrite what the user has saved.
set(work "${WORK_DIR}/copy-missing")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}/data" "${work}/installed")
file(WRITE "${work}/data/settings.builtin" "shipped")
file(WRITE "${work}/data/lastused.builtin" "shipped")
file(WRITE "${work}/installed/settings.builtin" "the user's own")

set(SOURCE_DIR "${work}/data")
set(DESTINATION_DIR "${work}/installed")
include("${SCRIPT}")

file(READ "${work}/installed/settings.builtin" kept)
file(READ "${work}/installed/lastused.builtin" added)
if(NOT kept STREQUAL "the user's own")
    message(FATAL_ERROR "an existing file was overwritten: ${kept}")
endif()
if(NOT added STREQUAL "shipped")
    message(FATAL_ERROR "a missing file was not placed: ${added}")
endif()
message(STATUS "1 passed, 0 failed")
