# The sample program directory beside the executable: the files of library/
# and the binary files our generator writes (placeholder support files for
# the simulated unit, pictures, logo files).
#
# The program writes History_1.ini, SelIcHst.ini, temp.ini, quenlet.ini and
# logo_p.ini itself: none is shipped, and a build never touches them. A
# library file is copied when its source is newer than the copy, so a copy
# edited by hand stays until the source changes; Project.ini, where users
# keep their own projects, is copied only when there is none yet.
set(QUENLET_PROGRAM_DIR ${PROJECT_BINARY_DIR})
set_target_properties(quenlet PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QUENLET_PROGRAM_DIR})
set(library_source ${PROJECT_SOURCE_DIR}/library)

set(program_written history_1.ini selichst.ini temp.ini quenlet.ini logo_p.ini)
file(GLOB_RECURSE library_files RELATIVE ${library_source} CONFIGURE_DEPENDS ${library_source}/*)
set(library_outputs)
foreach(file IN LISTS library_files)
  get_filename_component(name "${file}" NAME)
  string(TOLOWER "${name}" lower)
  if(lower IN_LIST program_written)
    message(FATAL_ERROR "library/${file}: the program writes this file; it must not be shipped")
  endif()
  set(output ${QUENLET_PROGRAM_DIR}/${file})
  if(lower STREQUAL "project.ini")
    # Runs whenever the copy is missing (or older than the source: then it
    # finds the copy there and leaves it alone).
    add_custom_command(OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -DSOURCE=${library_source}/${file} -DTARGET=${output}
              -P ${PROJECT_SOURCE_DIR}/cmake/copy_if_absent.cmake
      DEPENDS ${library_source}/${file} ${PROJECT_SOURCE_DIR}/cmake/copy_if_absent.cmake
      VERBATIM)
  else()
    add_custom_command(OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -E copy ${library_source}/${file} ${output}
      DEPENDS ${library_source}/${file}
      VERBATIM)
  endif()
  list(APPEND library_outputs ${output})
endforeach()

# The generator is a build tool: it is never instrumented, so a sanitizer
# build can run it too.
add_executable(quenlet_library_files ${PROJECT_SOURCE_DIR}/tools/library_files.cpp)
target_link_libraries(quenlet_library_files PRIVATE Qt6::Gui)
set_property(TARGET quenlet_library_files PROPERTY COMPILE_OPTIONS -Wall -Wextra)
set_property(TARGET quenlet_library_files PROPERTY LINK_OPTIONS "")

# Every device file's support files (FPGA\ + its value); the drivers also
# by the name alone, where the driver upload opens them.
set(generated_files
  FPGA/QDMEM.BIT FPGA/QDPIC.BIT FPGA/QDGAL.BIT FPGA/SCAN.BIT FPGA/SCAN.DRV
  FPGA/QDMEM.DRV FPGA/QDPIC.DRV FPGA/QDGAL.DRV QDMEM.DRV QDPIC.DRV QDGAL.DRV
  39F0x0.drv Temp0.cue Temp1.cue Bmpdata/NULL.bmp "Bmpdata/Quenlet Demo.bmp")
list(TRANSFORM generated_files PREPEND ${QUENLET_PROGRAM_DIR}/ OUTPUT_VARIABLE generated_outputs)
add_custom_command(OUTPUT ${generated_outputs}
  COMMAND quenlet_library_files ${QUENLET_PROGRAM_DIR} ${generated_files}
  DEPENDS quenlet_library_files
  VERBATIM)

add_custom_target(quenlet_library ALL DEPENDS ${library_outputs} ${generated_outputs})
add_dependencies(quenlet quenlet_library)
