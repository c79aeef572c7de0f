# Installs the Linux program as a desktop citizen (executable, desktop entry, AppStream
# metadata, hicolor icons, manual page, Debian copyright and changelog) and packages it as a
# .deb with CPack. Honours CMAKE_INSTALL_PREFIX and DESTDIR.
include(GNUInstallDirs)

set(AVO_APP_ID "example.kavrelonix.avodevivu")
set(AVO_DESKTOP_DIR "${PROJECT_SOURCE_DIR}/app/desktop")

install(TARGETS avodevivu RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(FILES "${AVO_DESKTOP_DIR}/${AVO_APP_ID}.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${AVO_DESKTOP_DIR}/${AVO_APP_ID}.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
foreach(size IN ITEMS 16 24 32 48 64 128 256)
  install(FILES "${PROJECT_SOURCE_DIR}/app/icons/avodevivu-${size}.png"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
          RENAME "${AVO_APP_ID}.png")
endforeach()

# Debian wants the manual page and changelog compressed without timestamps.
set(AVO_PACKAGE_DOCS "${CMAKE_BINARY_DIR}/package-docs")
foreach(doc IN ITEMS avodevivu.1 changelog)
  add_custom_command(
    OUTPUT "${AVO_PACKAGE_DOCS}/${doc}.gz"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${AVO_PACKAGE_DOCS}"
    COMMAND gzip -9n -c "${AVO_DESKTOP_DIR}/${doc}" > "${AVO_PACKAGE_DOCS}/${doc}.gz"
    DEPENDS "${AVO_DESKTOP_DIR}/${doc}"
    VERBATIM)
endforeach()
add_custom_target(avo_package_docs ALL
  DEPENDS "${AVO_PACKAGE_DOCS}/avodevivu.1.gz" "${AVO_PACKAGE_DOCS}/changelog.gz")
install(FILES "${AVO_PACKAGE_DOCS}/avodevivu.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${AVO_PACKAGE_DOCS}/changelog.gz" "${AVO_DESKTOP_DIR}/copyright"
        DESTINATION "${CMAKE_INSTALL_DOCDIR}")

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "avodevivu")
set(CPACK_PACKAGE_VENDOR "Kavrelonix")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "quick reference of CAD command aliases")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Rivuvuv Avodevivu 2010 is a small Turkish-language reference of 49 CAD
commands and keys: pick a command and the window shows its keyboard alias
and a one-sentence description of what it does.")
set(CPACK_PACKAGE_CONTACT "Kavrelonix <destek@kavrelonix.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "education")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The fonts the windows' faces are drawn in (Liberation Sans, DejaVu Sans); shlibdeps adds
# the libraries.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.kavrelonix.example")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
