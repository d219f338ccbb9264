# Installed layout, desktop integration and the Debian package.
#   bin/vintrel, bin/vintrel-pack
#   share/vintrel/Skins/Default/...   found from the executable's folder at run time
#   share/vintrel/example/...         the example app, the desktop entry's working directory
#   share/applications, share/icons/hicolor, share/metainfo, share/man/man1, share/doc/vintrel
include(GNUInstallDirs)

set(VINTREL_APP_ID "io.github.vintrel.Vintrel")
# The window's WM_CLASS: the toolkit takes it from the executable's name.
set(VINTREL_WM_CLASS "vintrel")
set(VINTREL_ICON_SIZES 16 24 32 48 64 128 256)
set(VINTREL_MAINTAINER "Vintrel maintainers <maintainers@vintrel.example>")
set(VINTREL_DEB_RELEASE 1)
set(VINTREL_DEB_VERSION "${PROJECT_VERSION}-${VINTREL_DEB_RELEASE}")

set(VINTREL_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/vintrel")
file(RELATIVE_PATH vintrel_data_from_bin "${CMAKE_INSTALL_FULL_BINDIR}"
     "${CMAKE_INSTALL_FULL_DATADIR}/vintrel")
target_compile_definitions(vintrel_skin PRIVATE
                           VINTREL_DATA_DIR_FROM_BIN="${vintrel_data_from_bin}")

install(TARGETS vintrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The packer of apps, beside the shell in the build tree and installed with it; it knows the
# shell's version, which the packages it makes depend on.
configure_file(${PROJECT_SOURCE_DIR}/tools/pack/vintrel-pack.in ${CMAKE_BINARY_DIR}/vintrel-pack
               @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
               GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(PROGRAMS ${CMAKE_BINARY_DIR}/vintrel-pack DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/res/Skins/Default
        DESTINATION ${CMAKE_INSTALL_DATADIR}/vintrel/Skins)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/example/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/vintrel/example
        PATTERN cache EXCLUDE
        PATTERN debug EXCLUDE)

set(vintrel_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(vintrel_generated ${CMAKE_BINARY_DIR}/packaging)
install(CODE "
  set(VINTREL_DESKTOP_ENTRY_IN \"${vintrel_packaging}/vintrel.desktop.in\")
  set(VINTREL_DESKTOP_ENTRY_OUT \"${vintrel_generated}/${VINTREL_APP_ID}.desktop\")
  set(VINTREL_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
  set(VINTREL_APP_ID \"${VINTREL_APP_ID}\")
  set(VINTREL_WM_CLASS \"${VINTREL_WM_CLASS}\")
  include(\"${PROJECT_SOURCE_DIR}/cmake/install_desktop_entry.cmake\")")
configure_file(${vintrel_packaging}/vintrel.metainfo.xml.in
               ${vintrel_generated}/${VINTREL_APP_ID}.metainfo.xml @ONLY)
configure_file(${vintrel_packaging}/vintrel.1 ${vintrel_generated}/vintrel.1 @ONLY)
configure_file(${vintrel_packaging}/vintrel-pack.1 ${vintrel_generated}/vintrel-pack.1 @ONLY)
configure_file(${vintrel_packaging}/changelog.Debian ${vintrel_generated}/changelog.Debian @ONLY)
install(FILES ${vintrel_generated}/${VINTREL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size IN LISTS VINTREL_ICON_SIZES)
  install(FILES ${PROJECT_SOURCE_DIR}/res/icon/vintrel-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${VINTREL_APP_ID}.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/res/icon/vintrel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${VINTREL_APP_ID}.svg)

# Debian wants these compressed, and reproducibly (no name or time stamp).
find_program(GZIP gzip REQUIRED)
set(vintrel_compressed)
foreach(name vintrel.1 vintrel-pack.1 changelog.Debian)
  add_custom_command(OUTPUT ${vintrel_generated}/${name}.gz
                     COMMAND ${GZIP} -9nkf ${vintrel_generated}/${name}
                     DEPENDS ${vintrel_generated}/${name}
                     COMMENT "Compressing ${name}" VERBATIM)
  list(APPEND vintrel_compressed ${vintrel_generated}/${name}.gz)
endforeach()
add_custom_target(vintrel_packaging_files ALL DEPENDS ${vintrel_compressed})
install(FILES ${vintrel_generated}/vintrel.1.gz ${vintrel_generated}/vintrel-pack.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${vintrel_generated}/changelog.Debian.gz ${vintrel_packaging}/copyright
        DESTINATION ${VINTREL_DOC_DIR})
install(FILES ${vintrel_packaging}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME vintrel)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vintrel)
set(CPACK_PACKAGE_VENDOR "The Vintrel authors")
set(CPACK_PACKAGE_CONTACT "${VINTREL_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop shell for a web application installed beside it")
set(CPACK_PACKAGE_DESCRIPTION
    "Vintrel shows the pages of a web application in one native window whose\n"
    "whole client area is an embedded Chromium browser (Qt WebEngine), with a\n"
    "caption and border drawn from skin images. The package holds the shell, its\n"
    "default skin and a small example application, started from the desktop's\n"
    "application menu, and vintrel-pack, which makes Debian and RPM packages of\n"
    "an app of one's own.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VINTREL_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VINTREL_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.vintrel.example/")
# Depends from the shared libraries the executable links, by dpkg-shlibdeps, and the
# interpreter of vintrel-pack, and the image plugin that draws an app's SVG icon (loaded at run
# time, so no library names it); the tools it makes packages with only for those who pack.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "python3, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "imagemagick, librsvg2-bin, rpm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
