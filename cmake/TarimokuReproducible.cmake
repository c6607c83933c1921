# The Windows build makes the same bytes from the same sources wherever it is
# built and whenever: no link time stamp in the executable's headers, and no
# source folder in anything the compiler writes (__FILE__ in assertions and
# the like). Nothing compiled is generated in the build folder, so the
# compile lines are the same in every build folder and a compiler cache
# serves a second build too.
if(TARIMOKU_KIND STREQUAL "windows")
  add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>")
  add_link_options(-Wl,--no-insert-timestamp)
endif()
