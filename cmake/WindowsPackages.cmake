# The Windows release artefacts, made from the executable of this build tree:
#   avo_zip  avodevivu-<version>-win32.zip: the executable and a Turkish/English read-me
#   avo_msi  avodevivu-<version>-win32.msi: a per-machine Windows Installer package (wixl)
# The win64 tree makes the same two with "win64", the twin whose installer runs under wine64.
# Neither is part of "all": tools/release.sh builds them.
find_program(AVO_PYTHON3 python3 PATHS /usr/bin REQUIRED)
find_program(AVO_WIXL wixl)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(AVO_WINDOWS_FLAVOUR win64)
  set(AVO_MSI_DEFINES -a x64 -D ProgramFilesFolder=ProgramFiles64Folder -D Win64=yes)
else()
  set(AVO_WINDOWS_FLAVOUR win32)
  set(AVO_MSI_DEFINES -a x86 -D ProgramFilesFolder=ProgramFilesFolder -D Win64=no)
endif()
set(AVO_PACKAGE_STEM "avodevivu-${AVO_PACKAGE_VERSION}-${AVO_WINDOWS_FLAVOUR}")
set(AVO_PACKAGING_DIR "${PROJECT_SOURCE_DIR}/packaging")
set(AVO_STAGE "${CMAKE_BINARY_DIR}/package-stage")

# Every version has its own product code, always the same for that version, so that a newer
# package upgrades an older one. The package code depends on the executable's bytes too; it
# is worked out when the package is made.
set(AVO_UPGRADE_CODE "6F0B4C1E-2A57-4E8D-9C3B-5D7A1E2F4B60")
string(UUID AVO_PRODUCT_CODE NAMESPACE "${AVO_UPGRADE_CODE}"
       NAME "product ${AVO_PACKAGE_VERSION} ${AVO_WINDOWS_FLAVOUR}" TYPE SHA1 UPPER)

configure_file("${AVO_PACKAGING_DIR}/OKUBENI.txt.in" "${AVO_STAGE}/OKUBENI.txt"
               @ONLY NEWLINE_STYLE CRLF)

add_custom_command(
  OUTPUT "${CMAKE_BINARY_DIR}/${AVO_PACKAGE_STEM}.zip"
  COMMAND "${AVO_PYTHON3}" "${PROJECT_SOURCE_DIR}/tools/make_zip.py"
          "${CMAKE_BINARY_DIR}/${AVO_PACKAGE_STEM}.zip" "${AVO_SOURCE_DATE_EPOCH}"
          "$<TARGET_FILE:avodevivu>" "${AVO_STAGE}/OKUBENI.txt"
  DEPENDS avodevivu "${AVO_STAGE}/OKUBENI.txt" "${PROJECT_SOURCE_DIR}/tools/make_zip.py"
  VERBATIM)
add_custom_target(avo_zip DEPENDS "${CMAKE_BINARY_DIR}/${AVO_PACKAGE_STEM}.zip")

if(NOT AVO_WIXL)
  message(STATUS "wixl not found (package wixl): no avo_msi target")
  return()
endif()
set(AVO_MSI "${CMAKE_BINARY_DIR}/${AVO_PACKAGE_STEM}.msi")
add_custom_command(
  OUTPUT "${AVO_MSI}"
  COMMAND "${CMAKE_COMMAND}" "-DWIXL=${AVO_WIXL}" "-DPYTHON3=${AVO_PYTHON3}"
          "-DSOURCE_DIR=${PROJECT_SOURCE_DIR}" "-DSTAGE=${AVO_STAGE}/msi"
          "-DEXECUTABLE=$<TARGET_FILE:avodevivu>" "-DOUTPUT=${AVO_MSI}"
          "-DVERSION=${AVO_PACKAGE_VERSION}" "-DPRODUCT_CODE=${AVO_PRODUCT_CODE}"
          "-DUPGRADE_CODE=${AVO_UPGRADE_CODE}" "-DEPOCH=${AVO_SOURCE_DATE_EPOCH}"
          "-DWIXL_OPTIONS=${AVO_MSI_DEFINES}"
          -P "${PROJECT_SOURCE_DIR}/cmake/MakeMsi.cmake"
  DEPENDS avodevivu "${PROJECT_SOURCE_DIR}/app/avodevivu.ico"
          "${AVO_PACKAGING_DIR}/avodevivu.wxs" "${PROJECT_SOURCE_DIR}/tools/msi_summary.py"
          "${PROJECT_SOURCE_DIR}/cmake/MakeMsi.cmake"
  VERBATIM)
add_custom_target(avo_msi DEPENDS "${AVO_MSI}")
