# The browser build's package: the static page folder as one archive, for any web host.
set(CPACK_GENERATOR TGZ;ZIP)
set(CPACK_PACKAGE_NAME glouto-web)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME glouto-web-${PROJECT_VERSION})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
