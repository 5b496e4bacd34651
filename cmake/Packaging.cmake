# Desktop integration (menu entry, icons, AppStream data, manual page) and the
# Debian package that CPack builds from the install tree: `cpack` in the build
# directory writes glouto_<version>_<arch>.deb.
if(EMSCRIPTEN)
    include(${CMAKE_CURRENT_LIST_DIR}/WebPackaging.cmake)
    return()
endif()
if(WIN32 OR APPLE)
    return()
endif()

include(GNUInstallDirs)

set(GLOUTO_APP_ID org.example.glouto)
set(GLOUTO_MAINTAINER "Glouto maintainers <glouto@example.org>")
set(_packaging ${PROJECT_SOURCE_DIR}/packaging)

# Directories created by the install get the usual modes whatever the umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# A packaged program finds its libraries where the system keeps them, not through a search path
# of its own.
set_property(TARGET glouto PROPERTY INSTALL_RPATH "")

install(FILES ${_packaging}/${GLOUTO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_packaging}/${GLOUTO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The icons are drawn at each size by the pictures program, never scaled.
foreach(_size IN LISTS GLOUTO_DESKTOP_ICON_SIZES)
    install(FILES ${PROJECT_SOURCE_DIR}/ui/pictures/icon_${_size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
            RENAME ${GLOUTO_APP_ID}.png)
endforeach()

# Manual page and changelog are shipped compressed, without the name and time
# that would make every build's bytes differ.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(_compressed)
foreach(_file glouto.6 changelog)
    set(_out ${CMAKE_CURRENT_BINARY_DIR}/packaging/${_file}.gz)
    add_custom_command(OUTPUT ${_out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packaging
        COMMAND ${GZIP_PROGRAM} -9nc ${_packaging}/${_file} > ${_out}
        DEPENDS ${_packaging}/${_file}
        VERBATIM)
    list(APPEND _compressed ${_out})
endforeach()
add_custom_target(glouto_packaging_docs ALL DEPENDS ${_compressed})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/glouto.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz ${_packaging}/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The changelog's newest entry names the version the package claims.
file(STRINGS ${_packaging}/changelog _newest LIMIT_COUNT 1)
if(NOT _newest MATCHES "^glouto \\(${PROJECT_VERSION}\\) ")
    message(WARNING "packaging/changelog starts with \"${_newest}\": add an entry for ${PROJECT_VERSION}")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glouto)
set(CPACK_PACKAGE_VENDOR "Glouto maintainers")
set(CPACK_PACKAGE_CONTACT "${GLOUTO_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "maze-chase arcade game: eat the pellets, flee the monster")
set(CPACK_PACKAGE_DESCRIPTION
"Steer a round, hungry character with the arrow keys through a maze and eat
its fifteen pellets, one point each, while a blue monster hunts you down.
When it catches you, the game is over. The game's texts are in French.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${GLOUTO_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://glouto.example.org)
# Library dependencies come from the binary itself, through dpkg-shlibdeps. SDL2 is loaded only
# when a game controller is plugged in, so the binary does not name it: game controllers need it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libsdl2-2.0-0")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Only the binary package: a source tarball would pick up build trees.
set(CPACK_SOURCE_GENERATOR "")
include(CPack)

if(GLOUTO_BUILD_TESTS)
    add_subdirectory(tests/packaging)
    add_subdirectory(tests/hidpi)
endif()
