# Copies each file of SOURCE_DIR into DESTINATION_DIR unless one of that name
# is already there: the user's saved settings are never overwritten.
file(GLOB files "${SOURCE_DIR}/*")
foreach(source ${files})
    get_filename_component(name "${source}" NAME)
    if(NOT EXISTS "${DESTINATION_DIR}/${name}")
        file(COPY "${source}" DESTINATION "${DESTINATION_DIR}")
    endif()
endforeach()
