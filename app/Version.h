/* The program's one version source: the Windows version record and the Qt application
   version are both fed from here, and cmake/Version.cmake reads the four numbers for
   project(), the packages and the installer. Plain macros only, so that windres and CMake
   can read it too. AVO_VERSION_QUAD must spell the four numbers and AVO_VERSION_TEXT is the
   record's display text, major and two-digit minor; tests/resources/check_versions.py
   holds every copy to them. */
#ifndef AVODEVIVU_VERSION_H
#define AVODEVIVU_VERSION_H

#define AVO_VERSION_MAJOR 1
#define AVO_VERSION_MINOR 0
#define AVO_VERSION_PATCH 0
#define AVO_VERSION_BUILD 0
#define AVO_VERSION_QUAD "1.0.0.0"
#define AVO_VERSION_TEXT "1.00"

#define AVO_PRODUCT_NAME "Rivuvuv Avodevivu 2010"
#define AVO_COMPANY_NAME "Kavrelonix"
#define AVO_EXECUTABLE_NAME "avodevivu"
#define AVO_LEGAL_COPYRIGHT "Copyright (C) 2010 Kavrelonix"
#define AVO_LEGAL_TRADEMARKS "Rivuvuv Avodevivu is a trademark of Kavrelonix"
#define AVO_ORGANIZATION_DOMAIN "kavrelonix.example"

#endif
