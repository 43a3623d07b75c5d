# Where the Qt SDK and the compiler's runtime libraries are, for a Windows
# build with mingw-w64: QT_SDK, and MINGW_RUNTIME_DLLS with their folders in
# MINGW_RUNTIME_DIRS.
get_filename_component(QT_SDK "${Qt6_DIR}/../../.." ABSOLUTE)
set(MINGW_RUNTIME_DLLS)
set(MINGW_RUNTIME_DIRS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
        message(FATAL_ERROR "${dll} not found by ${CMAKE_CXX_COMPILER}")
    endif()
    list(APPEND MINGW_RUNTIME_DLLS "${path}")
    get_filename_component(folder "${path}" DIRECTORY)
    list(APPEND MINGW_RUNTIME_DIRS "${folder}")
endforeach()
list(REMOVE_DUPLICATES MINGW_RUNTIME_DIRS)
