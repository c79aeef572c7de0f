# Byte-identical builds of one commit, wherever and whenever they run: no build paths in the
# objects, no link time in Windows executables, and one timestamp for everything packaged,
# taken from SOURCE_DATE_EPOCH or else from the last commit.
add_compile_options("-ffile-prefix-map=${PROJECT_SOURCE_DIR}=."
                    "-ffile-prefix-map=${PROJECT_BINARY_DIR}=build")
if(WIN32)
  add_link_options(-Wl,--no-insert-timestamp)
endif()

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(AVO_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND "${GIT_EXECUTABLE}" log -1 --format=%ct
                    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
                    OUTPUT_VARIABLE AVO_SOURCE_DATE_EPOCH
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
endif()
if(NOT AVO_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  # Neither given nor in a git checkout: 1 June 2010, the first release.
  set(AVO_SOURCE_DATE_EPOCH 1275393600)
endif()
