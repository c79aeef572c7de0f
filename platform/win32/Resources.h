/* Resource ids shared by avodevivu.rc and the code. Plain macros, so that windres reads it. */
#ifndef AVODEVIVU_WIN32_RESOURCES_H
#define AVODEVIVU_WIN32_RESOURCES_H

#define AVO_ICON_RESOURCE 1

#endif
