# The Debian package, made by CPack from the install rules
# (scripts/package.sh): brushwright_<version>_amd64.deb, its library
# dependencies found by dpkg-shlibdeps.
# Packaging builds only what is installed, not the tests.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brushwright)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compile Quake II maps with the compiler options you choose")
# The long description; CPack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Brushwright is a small front end for Quake II level designers. Pick an
uncompiled map, set the options of the map compilers qbsp3, qvis3 and
qrad3 with check boxes, number fields and sliders, and press compile:
Brushwright writes a Windows batch file that runs the compilers, and the
game on the new map if you like, and starts it in a console window under
Wine.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER
    "Brushwright maintainers <maintainers@users.noreply.c-seed-9421335f.example>")
# A tool for making maps, not a game: lintian holds the games section to
# packages with a game in them.
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The batch files run under Wine, but the program starts and saves its
# settings without it.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS wine)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
