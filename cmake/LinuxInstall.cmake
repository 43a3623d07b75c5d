# The program installed as any Linux desktop program (cmake --install, the
# Debian package): the program in bin/, its 3D view's library in
# lib/brushwright/view/, the files it ships with in
# share/brushwright/ (copied to the user's own folder on the first start),
# a desktop entry, an icon, AppStream data, a manual page, and the README
# with the documents it links (docs/), the licence, the changelog and the
# source in share/doc/brushwright/.
include(GNUInstallDirs)
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/brushwright)

install(TARGETS brushwright RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The 3D view's library, which the program loads from there.
install(TARGETS brushwright_view LIBRARY DESTINATION ${VIEW_INSTALL_DIR})
file(GLOB shipped ${PROJECT_SOURCE_DIR}/data/*.builtin)
install(FILES ${shipped} DESTINATION ${CMAKE_INSTALL_DATADIR}/brushwright)
install(FILES ${packaging}/brushwright.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/brushwright.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${packaging}/invalid.brushwright.brushwright.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${packaging}/copyright DESTINATION ${docdir})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs DESTINATION ${docdir})

# Debian wants the manual page and the changelog compressed, without a time
# stamp in the header.
set(compressed)
foreach(file brushwright.1 changelog)
    add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${file}.gz
        COMMAND gzip -9nc ${packaging}/${file} > ${CMAKE_CURRENT_BINARY_DIR}/${file}.gz
        DEPENDS ${packaging}/${file})
    list(APPEND compressed ${CMAKE_CURRENT_BINARY_DIR}/${file}.gz)
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${compressed})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/brushwright.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${docdir})

install(CODE "
    set(SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")
    set(OUT \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${docdir}/brushwright-source.tar.gz\")
    set(PREFIX brushwright-${PROJECT_VERSION})
    set(SCRATCH \"${CMAKE_CURRENT_BINARY_DIR}/source-archive\")
    set(SKIP \"${CMAKE_BINARY_DIR}\" \"\$ENV{DESTDIR}\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
    include(\"${PROJECT_SOURCE_DIR}/cmake/SourceArchive.cmake\")
")
