# Writes the program's source to OUT as a .tar.gz with PREFIX as its top
# folder: a copy of the program comes with its source, as its licence asks.
#
# From a git clone: the clone as it is now, uncommitted changes to its files
# included. From any other tree (a release tarball, a distribution's source
# package): the tree's files, without build trees, what its .gitignore
# ignores, and editor files. Either way the archive is written alike and
# holds nothing of the machine or the hour it was made on (names sorted, one
# fixed time, owner root, modes from the executable bit alone, gzip without a
# time stamp): the same source gives the same bytes.
#
# In: SOURCE_DIR, OUT, PREFIX, SCRATCH (a folder this may empty and use),
# SKIP (;-list, optional: folders to leave out, such as the build tree and
# the install destination, where they are inside the source tree).
if(NOT SCRATCH OR NOT OUT OR NOT PREFIX)
    message(FATAL_ERROR "SourceArchive.cmake needs OUT, PREFIX and SCRATCH")
endif()
find_program(TAR NAMES gtar tar)
find_program(GZIP gzip)
if(TAR)
    execute_process(COMMAND "${TAR}" --version OUTPUT_VARIABLE tar_version ERROR_QUIET)
endif()
set(missing)
if(NOT tar_version MATCHES "GNU tar")
    list(APPEND missing "GNU tar")
endif()
if(NOT GZIP)
    list(APPEND missing gzip)
endif()
if(missing)
    list(JOIN missing ", " missing)
    message(FATAL_ERROR "the source archive needs GNU tar and gzip (not found: ${missing}): "
                        "install the Debian packages tar and gzip and run this again")
endif()

file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
get_filename_component(folder "${OUT}" DIRECTORY)
file(MAKE_DIRECTORY "${folder}")
file(REMOVE "${OUT}")

set(root)
find_program(GIT git)
if(EXISTS "${SOURCE_DIR}/.git")
    if(NOT GIT)
        message(WARNING "${SOURCE_DIR} is a git clone but git is not installed: its source "
                        "archive holds the folder's files, untracked ones too; install git "
                        "(Debian package git) for the clone's own")
    else()
        # A commit of the work tree as it is, without touching the branch or the
        # stash; the clone may belong to another user than the one packaging it.
        execute_process(COMMAND "${GIT}" -c safe.directory=* -C "${SOURCE_DIR}" stash create
                        OUTPUT_VARIABLE tree OUTPUT_STRIP_TRAILING_WHITESPACE
                        RESULT_VARIABLE failed)
        if(failed OR tree STREQUAL "")
            set(tree HEAD)
        endif()
        # Unpacked, to be packed below as any other tree is.
        file(MAKE_DIRECTORY "${SCRATCH}/tree")
        execute_process(COMMAND "${GIT}" -c safe.directory=* -C "${SOURCE_DIR}" archive
                                --format=tar -o "${SCRATCH}/git.tar" ${tree}
                        RESULT_VARIABLE failed)
        if(NOT failed)
            execute_process(COMMAND "${TAR}" -xf "${SCRATCH}/git.tar" -C "${SCRATCH}/tree"
                            RESULT_VARIABLE failed)
        endif()
        if(failed)
            message(WARNING "git could not archive ${SOURCE_DIR}: its source archive holds "
                            "the folder's files, untracked ones too")
        else()
            set(root "${SCRATCH}/tree")
        endif()
    endif()
endif()

set(excludes)
if(NOT root)
    set(root "${SOURCE_DIR}")
    set(anchored ./.git)
    # Editor and backup files.
    set(anywhere *~ .*.sw? "#*#" ".#*" *.kate-swp .DS_Store .vscode .idea .kdev4 .cache)
    if(EXISTS "${SOURCE_DIR}/.gitignore")
        file(STRINGS "${SOURCE_DIR}/.gitignore" ignored)
        foreach(pattern IN LISTS ignored)
            string(STRIP "${pattern}" pattern)
            string(REGEX REPLACE "/$" "" pattern "${pattern}")
            if(pattern STREQUAL "" OR pattern MATCHES "^[#!]")
                continue()
            elseif(pattern MATCHES "^/")
                list(APPEND anchored ".${pattern}")
            elseif(pattern MATCHES "/")
                list(APPEND anchored "./${pattern}")
            else()
                list(APPEND anywhere "${pattern}")
            endif()
        endforeach()
    endif()
    file(REAL_PATH "${SOURCE_DIR}" source_path)
    foreach(skipped IN LISTS SKIP ITEMS "${OUT}")
        if(skipped STREQUAL "")
            continue()
        endif()
        file(REAL_PATH "${skipped}" skipped)
        file(RELATIVE_PATH relative "${source_path}" "${skipped}")
        if(NOT relative STREQUAL "" AND NOT relative MATCHES "^\\.\\./")
            list(APPEND anchored "./${relative}")
        endif()
    endforeach()
    # Any CMake build tree, whatever its name (a distribution's obj-*), unless
    # the build is made in the source tree itself.
    if(NOT EXISTS "${SOURCE_DIR}/CMakeCache.txt")
        list(APPEND excludes --exclude-tag-all=CMakeCache.txt)
    endif()
    list(APPEND excludes --exclude-caches-all --no-wildcards-match-slash --anchored)
    foreach(pattern IN LISTS anchored)
        list(APPEND excludes "--exclude=${pattern}")
    endforeach()
    list(APPEND excludes --no-anchored)
    foreach(pattern IN LISTS anywhere)
        list(APPEND excludes "--exclude=${pattern}")
    endforeach()
endif()

# A fixed time, before any file a build makes and after 1980, below which zip
# cannot go; or the one a distribution sets for reproducible builds.
set(mtime 946684800)
if("$ENV{SOURCE_DATE_EPOCH}" MATCHES "^[0-9]+$")
    set(mtime $ENV{SOURCE_DATE_EPOCH})
endif()
execute_process(COMMAND "${TAR}" --create --format=gnu --sort=name --mtime=@${mtime}
                        --owner=root:0 --group=root:0 --mode=u=rwX,go=rX --hard-dereference
                        --no-acls --no-xattrs --no-selinux
                        "--transform=s,^\\.,${PREFIX},S" ${excludes} -C "${root}" .
                COMMAND "${GZIP}" -9n
                OUTPUT_FILE "${OUT}" RESULTS_VARIABLE results)
file(REMOVE_RECURSE "${SCRATCH}")
if(NOT results MATCHES "^0;0$")
    file(REMOVE "${OUT}")
    message(FATAL_ERROR "could not write the source archive ${OUT}")
endif()
