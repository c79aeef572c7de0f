# The program's version is written once, in app/Version.h. This reads it before project(),
# so that project(), CPack, the AppStream release and the Windows packages all take it from
# there. The header's "1.00" text is the version record's display text and is not parsed.
function(avo_read_version_number name out)
  file(STRINGS "${CMAKE_CURRENT_LIST_DIR}/../app/Version.h" line
       REGEX "^#define ${name} +[0-9]+$")
  if(NOT line)
    message(FATAL_ERROR "app/Version.h does not define ${name} as a number")
  endif()
  string(REGEX REPLACE ".* ([0-9]+)$" "\\1" value "${line}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

avo_read_version_number(AVO_VERSION_MAJOR AVO_VERSION_MAJOR)
avo_read_version_number(AVO_VERSION_MINOR AVO_VERSION_MINOR)
avo_read_version_number(AVO_VERSION_PATCH AVO_VERSION_PATCH)
avo_read_version_number(AVO_VERSION_BUILD AVO_VERSION_BUILD)

# Four numbers for project() and the Windows records; three for the packages (Debian,
# AppStream and Windows Installer all compare the first three).
set(AVO_VERSION "${AVO_VERSION_MAJOR}.${AVO_VERSION_MINOR}.${AVO_VERSION_PATCH}.${AVO_VERSION_BUILD}")
set(AVO_PACKAGE_VERSION "${AVO_VERSION_MAJOR}.${AVO_VERSION_MINOR}.${AVO_VERSION_PATCH}")
