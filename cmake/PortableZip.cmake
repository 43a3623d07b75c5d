# Lays out the portable Windows program and zips it: the program, the Qt
# libraries and plug-ins it needs, the stripped compiler runtime and the
# files it keeps beside itself. Unzipped into a folder the user owns, the
# program starts from there.
#
# In: EXE, QT_SDK, RUNTIME_DLLS (;-list), DATA_DIR, STRIP, OUT_DIR, ZIP_NAME.
set(stage "${OUT_DIR}/Brushwright")
file(REMOVE_RECURSE "${stage}")
file(MAKE_DIRECTORY "${stage}/platforms" "${stage}/styles")

file(COPY "${EXE}" DESTINATION "${stage}")
foreach(module Core Gui Widgets)
    file(COPY "${QT_SDK}/bin/Qt6${module}.dll" DESTINATION "${stage}")
endforeach()
file(COPY "${QT_SDK}/plugins/platforms/qwindows.dll" DESTINATION "${stage}/platforms")
file(COPY "${QT_SDK}/plugins/styles/qwindowsvistastyle.dll" DESTINATION "${stage}/styles")
foreach(dll ${RUNTIME_DLLS})
    file(COPY "${dll}" DESTINATION "${stage}")
endforeach()
file(GLOB data "${DATA_DIR}/*")
file(COPY ${data} DESTINATION "${stage}")

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
