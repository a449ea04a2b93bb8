# cmake -DSOURCE=... -DTARGET=... -P copy_if_absent.cmake
# Copies SOURCE to TARGET only when TARGET does not exist, so a file the
# user keeps beside the program is never replaced by a build.
if(NOT EXISTS "${TARGET}")
  get_filename_component(folder "${TARGET}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  file(COPY_FILE "${SOURCE}" "${TARGET}")
endif()
