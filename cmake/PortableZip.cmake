# Lays out the portable Windows program and zips it: the program, the Qt
# libraries and plug-ins it needs, the stripped compiler runtime and the
# files it keeps beside itself. Unzipped into a folder the user owns, the
# program starts from there.
#
# It carries its licence, the README, its source and the notice of the Qt
# libraries' licence (LGPL-3), with the licence texts from Debian's
# common-licenses. Where makensis is found, a per-user installer of the same
# files is made too.
#
# In: EXE, VIEW (the 3D view's library), QT_SDK, RUNTIME_DLLS (;-list), DATA_DIR, STRIP, OUT_DIR, ZIP_NAME,
# SOURCE_DIR, BINARY_DIR, VERSION, QT_VERSION.
set(stage "${OUT_DIR}/Brushwright")
file(REMOVE_RECURSE "${stage}")
file(MAKE_DIRECTORY "${stage}/platforms" "${stage}/styles")

file(COPY "${EXE}" "${VIEW}" DESTINATION "${stage}")
# OpenGL and OpenGLWidgets: the 3D view's library loads them when it opens.
foreach(module Core Gui Widgets OpenGL OpenGLWidgets)
    file(COPY "${QT_SDK}/bin/Qt6${module}.dll" DESTINATION "${stage}")
endforeach()
file(COPY "${QT_SDK}/plugins/platforms/qwindows.dll" DESTINATION "${stage}/platforms")
file(COPY "${QT_SDK}/plugins/styles/qwindowsvistastyle.dll" DESTINATION "${stage}/styles")
foreach(dll ${RUNTIME_DLLS})
    file(COPY "${dll}" DESTINATION "${stage}")
endforeach()
file(GLOB data "${DATA_DIR}/*")
file(COPY ${data} DESTINATION "${stage}")

configure_file("${SOURCE_DIR}/LICENSE" "${stage}/LICENSE.txt" COPYONLY)
configure_file("${SOURCE_DIR}/README.md" "${stage}/README.md" COPYONLY)
# The manual and the pictures the README links.
file(COPY "${SOURCE_DIR}/docs" DESTINATION "${stage}")
string(REGEX MATCH "^[0-9]+\\.[0-9]+" QT_SERIES "${QT_VERSION}")
configure_file("${SOURCE_DIR}/packaging/windows/QT-NOTICE.txt" "${stage}/QT-NOTICE.txt" @ONLY)
foreach(licence LGPL-3 GPL-3)
    configure_file("/usr/share/common-licenses/${licence}" "${stage}/${licence}.txt" COPYONLY)
endforeach()
set(OUT "${stage}/brushwright-source.tar.gz")
set(PREFIX "brushwright-${VERSION}")
set(SCRATCH "${OUT_DIR}/source-archive")
set(SKIP "${BINARY_DIR}")
include("${SOURCE_DIR}/cmake/SourceArchive.cmake")

file(GLOB_RECURSE binaries "${stage}/*.exe" "${stage}/*.dll")
foreach(binary ${binaries})
    execute_process(COMMAND "${STRIP}" --strip-unneeded "${binary}" RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "could not strip ${binary}")
    endif()
endforeach()

file(REMOVE "${OUT_DIR}/${ZIP_NAME}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${ZIP_NAME}" --format=zip Brushwright
                WORKING_DIRECTORY "${OUT_DIR}" RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "could not write ${OUT_DIR}/${ZIP_NAME}")
endif()
message(STATUS "Portable program: ${OUT_DIR}/${ZIP_NAME}")

find_program(MAKENSIS makensis)
if(MAKENSIS)
    set(installer "${OUT_DIR}/Brushwright-win64-setup.exe")
    execute_process(COMMAND "${MAKENSIS}" -V2 -WX "-DSTAGE=${stage}" "-DOUT_FILE=${installer}"
                            "-DVERSION=${VERSION}" "${SOURCE_DIR}/packaging/windows/brushwright.nsi"
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "makensis could not make ${installer}")
    endif()
    message(STATUS "Per-user installer: ${installer}")
else()
    message(STATUS "No makensis (Debian package nsis): no installer")
endif()
