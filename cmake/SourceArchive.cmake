# Writes the program's source, as the clone holds it now (uncommitted changes
# to its files included), to OUT as a .tar.gz: a copy of the program comes
# with its source, as its licence asks.
#
# In: SOURCE_DIR, OUT, PREFIX (the archive's top folder).
find_program(GIT git)
if(NOT GIT OR NOT EXISTS "${SOURCE_DIR}/.git")
    message(FATAL_ERROR "the source archive needs git and a clone of the repository")
endif()
# A commit of the work tree as it is, without touching the branch or the stash;
# the clone may belong to another user than the one packaging it.
execute_process(COMMAND "${GIT}" -c safe.directory=* -C "${SOURCE_DIR}" stash create
                OUTPUT_VARIABLE tree OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
if(failed OR tree STREQUAL "")
    set(tree HEAD)
endif()
get_filename_component(folder "${OUT}" DIRECTORY)
file(MAKE_DIRECTORY "${folder}")
execute_process(COMMAND "${GIT}" -c safe.directory=* -C "${SOURCE_DIR}" archive --format=tar.gz
                        "--prefix=${PREFIX}/" -o "${OUT}" ${tree}
                RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "could not write the source archive ${OUT}")
endif()
